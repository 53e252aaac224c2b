#include "watchercrowd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace bench {

namespace {

constexpr int kMaxEvents = 256;
// Watchers come from many addresses, as browsers do: 40 from each of
// 127.0.0.1, 127.0.0.2, ... (all of 127/8 is this machine), within what the
// web front allows one address.
constexpr std::size_t kWatchersPerAddress = 40;

}  // namespace

long raiseFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return -1;
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
    return long(limit.rlim_cur);
}

bool waitUntilServed(quint16 port, const QByteArray& target, int timeoutMs) {
    const QByteArray request =
        "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        char head[16] = {};
        const bool served =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
            ::send(fd, request.constData(), std::size_t(request.size()), MSG_NOSIGNAL) ==
                request.size() &&
            ::recv(fd, head, sizeof head - 1, MSG_WAITALL) > 12 &&
            QByteArrayView(head).startsWith("HTTP/1.1 200 ");
        ::close(fd);
        if (served) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

WatcherCrowd::~WatcherCrowd() {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    for (Watcher& w : watchers_)
        drop(w);
    if (epoll_ >= 0) ::close(epoll_);
}

QString WatcherCrowd::connect(quint16 port, const QByteArray& target, int count, int timeoutMs) {
    epoll_ = epoll_create1(EPOLL_CLOEXEC);
    if (epoll_ < 0) return QStringLiteral("epoll_create1 failed");
    watchers_.resize(std::size_t(count));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const QByteArray request =
        "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: text/event-stream\r\n\r\n";
    for (std::size_t i = 0; i < watchers_.size(); ++i) {
        Watcher& w = watchers_[i];
        // Blocking connects and writes, one watcher after the other, so that
        // the server's listen queue never overflows; reading is non-blocking.
        w.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (w.fd < 0) return QStringLiteral("watcher %1: no socket (errno %2)").arg(i).arg(errno);
        sockaddr_in source{};
        source.sin_family = AF_INET;
        source.sin_addr.s_addr = htonl(INADDR_LOOPBACK + std::uint32_t(i / kWatchersPerAddress));
        if (::bind(w.fd, reinterpret_cast<const sockaddr*>(&source), sizeof source) != 0)
            return QStringLiteral("watcher %1: cannot bind (errno %2)").arg(i).arg(errno);
        if (::connect(w.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
            return QStringLiteral("watcher %1: cannot connect (errno %2)").arg(i).arg(errno);
        if (::send(w.fd, request.constData(), std::size_t(request.size()), MSG_NOSIGNAL) !=
            request.size())
            return QStringLiteral("watcher %1: cannot send its request").arg(i);
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.u64 = i;
        epoll_ctl(epoll_, EPOLL_CTL_ADD, w.fd, &event);
        // Keep the accepted ones read as they come.
        if (i % 64 == 63) pump(0);
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int heads = 0;
        for (const Watcher& w : watchers_) {
            if (!w.headSeen) continue;
            if (!w.accepted)
                return QStringLiteral("a watcher's stream was refused: ") + w.statusLine;
            ++heads;
        }
        if (heads == count) return {};
        if (Clock::now() > deadline)
            return QStringLiteral("%1 of %2 watchers got their stream").arg(heads).arg(count);
        pump(100);
    }
}

bool WatcherCrowd::waitForMove(int move, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        bool all = true;
        for (const Watcher& w : watchers_)
            if (w.fd >= 0 &&
                (int(w.seen.size()) <= move || w.seen[std::size_t(move)] == Clock::time_point{}))
                all = false;
        if (all) return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pump(int(left.count()));
    }
}

std::vector<WatcherCrowd::Clock::time_point> WatcherCrowd::arrivals(int move) const {
    std::vector<Clock::time_point> times;
    for (const Watcher& w : watchers_)
        if (int(w.seen.size()) > move && w.seen[std::size_t(move)] != Clock::time_point{})
            times.push_back(w.seen[std::size_t(move)]);
    return times;
}

void WatcherCrowd::readInBackground() {
    open_ = connected();
    reader_ = std::thread([this] {
        while (!stop_)
            pump(100);
    });
}

void WatcherCrowd::stopReading() {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    stop_ = false;
}

int WatcherCrowd::sawEveryMove(int moves) const {
    int n = 0;
    for (const Watcher& w : watchers_) {
        if (w.fd < 0 || int(w.seen.size()) <= moves) continue;
        const auto first = w.seen.begin() + 1;
        if (std::find(first, first + moves, Clock::time_point{}) == first + moves) ++n;
    }
    return n;
}

int WatcherCrowd::connected() const {
    if (reader_.joinable()) return open_;
    int n = 0;
    for (const Watcher& w : watchers_)
        if (w.fd >= 0) ++n;
    return n;
}

bool WatcherCrowd::pump(int timeoutMs) {
    epoll_event events[kMaxEvents];
    const int n = epoll_wait(epoll_, events, kMaxEvents, timeoutMs);
    for (int i = 0; i < n; ++i) {
        const std::size_t k = events[i].data.u64;
        if (k < watchers_.size()) readFrom(watchers_[k]);
    }
    return n > 0;
}

void WatcherCrowd::readFrom(Watcher& w) {
    if (w.fd < 0) return;
    char buffer[4096];
    const ssize_t got = ::recv(w.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got <= 0) {
        if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) drop(w);
        return;
    }
    const auto now = Clock::now();
    w.pending.append(buffer, got);
    if (!w.headSeen) {
        const qsizetype end = w.pending.indexOf("\r\n\r\n");
        if (end < 0) return;
        w.headSeen = true;
        w.statusLine = QString::fromLatin1(w.pending.left(w.pending.indexOf('\r')));
        w.accepted = w.pending.startsWith("HTTP/1.1 200 ");
        w.pending.remove(0, end + 4);
    }
    // Each event's "id: N" line is all that is looked at; the rest of the
    // event (the position) is let go.
    for (;;) {
        const qsizetype at = w.pending.indexOf("id: ");
        if (at < 0) {
            // Keep only what may be the start of an id line.
            if (w.pending.size() > 8) w.pending.remove(0, w.pending.size() - 8);
            return;
        }
        const qsizetype end = w.pending.indexOf('\n', at);
        if (end < 0) {
            w.pending.remove(0, at);
            return;
        }
        bool ok = false;
        const int move = w.pending.mid(at + 4, end - at - 4).toInt(&ok);
        w.pending.remove(0, end + 1);
        if (!ok || move < 0 || move > 100000) continue;
        if (int(w.seen.size()) <= move) w.seen.resize(std::size_t(move) + 1);
        w.seen[std::size_t(move)] = now;
    }
}

void WatcherCrowd::drop(Watcher& w) {
    if (w.fd < 0) return;
    --open_;
    if (epoll_ >= 0) epoll_ctl(epoll_, EPOLL_CTL_DEL, w.fd, nullptr);
    ::close(w.fd);
    w.fd = -1;
}

}  // namespace bench
