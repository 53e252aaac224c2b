// Measures the web server's event streams with many watchers of one key:
// the memory each watcher costs the server and how long an event takes to
// reach every watcher. The watchers are raw sockets in a child process (each
// process may hold only so many descriptors), read with epoll.
//
//   web_sse_fanout [watchers=10000] [events=20] [interval ms=200] [data bytes=600]

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "httpserver.h"

namespace {

qint64 monotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

qint64 threadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

qint64 residentBytes() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return qint64(resident) * sysconf(_SC_PAGESIZE);
}

struct Watcher {
    int fd = -1;
    bool headed = false;
    bool ended = false;
    int events = 0;
    std::string partial;
};

// The child: connects the watchers, tells the parent once all are streaming,
// then reads every event and prints the delays.
int runWatchers(int count, int expectedEvents, int portPipe, int readyPipe) {
    quint16 port = 0;
    if (read(portPipe, &port, sizeof port) != ssize_t(sizeof port)) return 2;
    std::vector<Watcher> watchers(static_cast<size_t>(count));
    const int epoll = epoll_create1(EPOLL_CLOEXEC);
    const char request[] = "GET /stream HTTP/1.1\r\nHost: x\r\nAccept: text/event-stream\r\n\r\n";
    for (int i = 0; i < count; ++i) {
        Watcher& w = watchers[size_t(i)];
        w.fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (w.fd < 0 || connect(w.fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            std::fprintf(stderr, "watcher %d: connect: %s\n", i, std::strerror(errno));
            return 2;
        }
        if (send(w.fd, request, sizeof request - 1, MSG_NOSIGNAL) != ssize_t(sizeof request - 1))
            return 2;
        epoll_event e{};
        e.events = EPOLLIN;
        e.data.u32 = uint32_t(i);
        epoll_ctl(epoll, EPOLL_CTL_ADD, w.fd, &e);
    }
    std::vector<double> delaysMs;
    delaysMs.reserve(size_t(count) * size_t(expectedEvents));
    int headed = 0, ended = 0, dropped = 0;
    bool told = false;
    std::vector<epoll_event> ready(1024);
    char buffer[65536];
    const qint64 giveUp = monotonicNs() + 600LL * 1'000'000'000;
    while (ended + dropped < count && monotonicNs() < giveUp) {
        const int n = epoll_wait(epoll, ready.data(), int(ready.size()), 1000);
        for (int k = 0; k < n; ++k) {
            Watcher& w = watchers[ready[size_t(k)].data.u32];
            const ssize_t got = recv(w.fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (got <= 0) {
                if (got < 0 && errno == EAGAIN) continue;
                if (!w.ended) ++dropped;
                epoll_ctl(epoll, EPOLL_CTL_DEL, w.fd, nullptr);
                close(w.fd);
                continue;
            }
            const qint64 now = monotonicNs();
            w.partial.append(buffer, size_t(got));
            if (!w.headed) {
                const size_t end = w.partial.find("\r\n\r\n");
                if (end == std::string::npos) continue;
                w.headed = true;
                w.partial.erase(0, end + 4);
                ++headed;
            }
            size_t at = 0;
            for (size_t stop; (stop = w.partial.find("\n\n", at)) != std::string::npos;
                 at = stop + 2) {
                const std::string event = w.partial.substr(at, stop - at);
                const size_t t = event.find("\"t\":");
                if (event.find("event: end") != std::string::npos) {
                    w.ended = true;
                    ++ended;
                } else if (t != std::string::npos) {
                    ++w.events;
                    delaysMs.push_back(double(now - std::atoll(event.c_str() + t + 4)) / 1e6);
                }
            }
            w.partial.erase(0, at);
        }
        if (!told && headed == count) {
            const char r = 'R';
            if (write(readyPipe, &r, 1) != 1) return 2;
            told = true;
        }
    }
    std::sort(delaysMs.begin(), delaysMs.end());
    const auto pct = [&](double p) {
        return delaysMs.empty()
                   ? 0.0
                   : delaysMs[std::min(delaysMs.size() - 1, size_t(p * double(delaysMs.size())))];
    };
    long missing = 0;
    for (const Watcher& w : watchers)
        missing += std::max(0, expectedEvents - w.events);
    std::printf("watchers %d, ended cleanly %d, dropped %d, events missing %ld\n", count, ended,
                dropped, missing);
    std::printf(
        "delay to each watcher (ms): p50 %.1f  p90 %.1f  p99 %.1f  max %.1f  (%zu deliveries)\n",
        pct(0.5), pct(0.9), pct(0.99), delaysMs.empty() ? 0.0 : delaysMs.back(), delaysMs.size());
    return 0;
}

class OneStream : public web::HttpHandler {
public:
    web::HttpResponse answer(const web::HttpRequest&) override { return web::streamResponse("g"); }
};

}  // namespace

int main(int argc, char** argv) {
    const int watchers = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int events = argc > 2 ? std::atoi(argv[2]) : 20;
    const int intervalMs = argc > 3 ? std::atoi(argv[3]) : 200;
    const int dataBytes = argc > 4 ? std::atoi(argv[4]) : 600;
    std::printf("open file limit %lld\n", static_cast<long long>(web::raiseOpenFileLimit()));
    std::fflush(stdout);  // not twice, once in each process
    int portPipe[2], readyPipe[2];
    if (pipe(portPipe) != 0 || pipe(readyPipe) != 0) return 2;
    const pid_t child = fork();
    if (child == 0) return runWatchers(watchers, events, portPipe[0], readyPipe[1]);

    QCoreApplication app(argc, argv);
    OneStream handler;
    web::HttpLimits limits;
    limits.maxConnections = watchers + 100;
    limits.maxConnectionsPerAddress = watchers + 100;
    limits.requestBurst = watchers + 100;
    web::HttpServer server(handler, limits);
    if (!server.listen(QHostAddress::LocalHost, 0)) return 2;
    const qint64 before = residentBytes();
    const quint16 port = server.port();
    if (write(portPipe[1], &port, sizeof port) != ssize_t(sizeof port)) return 2;

    int sent = 0;
    qint64 longestSendUs = 0;
    qint64 cpuSendNs = 0;
    QTimer ticker;
    ticker.setInterval(intervalMs);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        QElapsedTimer spent;
        spent.start();
        if (sent == events) {
            server.events().send("g", web::sseEvent("end", "{}"));
            server.events().close("g");
            ticker.stop();
            QTimer::singleShot(2000, &app, &QCoreApplication::quit);
            return;
        }
        const QByteArray data = "{\"t\":" + QByteArray::number(monotonicNs()) + ",\"pad\":\"" +
                                QByteArray(std::max(0, dataBytes - 40), 'x') + "\"}";
        const qint64 cpuBefore = threadCpuNs();
        server.events().send("g", web::sseEvent("move", data, ++sent));
        cpuSendNs += threadCpuNs() - cpuBefore;
        longestSendUs = std::max(longestSendUs, spent.nsecsElapsed() / 1000);
    });
    QSocketNotifier readyNote(readyPipe[0], QSocketNotifier::Read);
    QObject::connect(&readyNote, &QSocketNotifier::activated, [&] {
        readyNote.setEnabled(false);
        const qint64 after = residentBytes();
        std::printf("streams %lld; server memory %.1f MiB more, %.0f bytes per watcher\n",
                    static_cast<long long>(server.events().streams()),
                    double(after - before) / 1048576.0,
                    double(after - before) / double(std::max(watchers, 1)));
        std::fflush(stdout);
        ticker.start();
    });
    app.exec();
    std::printf("send to all watchers in the server: longest %.1f ms, CPU %.1f ms per event\n",
                double(longestSendUs) / 1000.0, double(cpuSendNs) / 1e6 / std::max(sent, 1));
    std::fflush(stdout);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
