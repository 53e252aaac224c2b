#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QList>
#include <QTest>
#include <functional>
#include <memory>

#include "httpserver.h"
#include "staticfiles.h"

namespace web::test {

constexpr int kWaitMs = 5000;

// One answer as a client reads it.
struct Answer {
    int status = 0;
    QByteArray head;  // status line and header lines
    QByteArray body;

    bool hasHeader(QByteArrayView line) const { return head.contains(line.toByteArray() + "\r\n"); }
};

// A raw client on 127.0.0.1: writes what it is given, reads only when asked,
// while the server in this process runs on the event loop.
class Client {
public:
    explicit Client(quint16 port, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ =
            ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() {
        if (fd_ >= 0) ::close(fd_);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool connected() const { return connected_; }

    bool send(QByteArrayView bytes) {
        return ::send(fd_, bytes.data(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    bool get(QByteArrayView path, QByteArrayView method = "GET", QByteArrayView extra = "") {
        QByteArray request = method.toByteArray();
        request.append(' ').append(path).append(" HTTP/1.1\r\nHost: t\r\n").append(extra);
        return send(request.append("\r\n"));
    }

    // Reads what is waiting; true once the server has closed the connection.
    bool pump() {
        char buffer[8192];
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN)) return closed_ = true;
            if (n < 0) return closed_;
            received.append(buffer, n);
        }
    }

    // Runs the loop until `done` holds over what came in.
    bool waitFor(const std::function<bool()>& done, int ms = kWaitMs) {
        const QDeadlineTimer deadline(ms);
        for (;;) {
            pump();
            if (done()) return true;
            if (deadline.hasExpired()) return false;
            QTest::qWait(2);
        }
    }
    bool waitClosed(int ms = kWaitMs) {
        return waitFor([this] { return closed_; }, ms);
    }

    // The next whole answer (with a Content-Length, or up to the close),
    // taken off what came in; status 0 when none came in time.
    Answer answer(bool head = false) {
        Answer a;
        const auto whole = [&] {
            const qsizetype end = received.indexOf("\r\n\r\n");
            if (end < 0) return false;
            a.head = received.first(end + 2);
            const qsizetype at = a.head.toLower().indexOf("content-length: ");
            qsizetype size = 0;
            if (head || a.head.startsWith("HTTP/1.1 304"))
                size = 0;
            else if (at >= 0)
                size = a.head.sliced(at + 16).split('\r').first().toLongLong();
            else if (closed_)
                size = received.size() - end - 4;
            else
                return false;
            if (received.size() < end + 4 + size) return false;
            a.body = received.sliced(end + 4, size);
            received.remove(0, end + 4 + size);
            return true;
        };
        if (!waitFor(whole)) return {};
        a.status = a.head.mid(9, 3).toInt();
        return a;
    }

    bool closed() const { return closed_; }
    QByteArray received;

private:
    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
};

// The routes the tests ask for: /hello, /big (answers of a size), the site
// under /web/, /stream/KEY (an event stream; ?backlog=TEXT is sent first,
// &ends=1 ends it there), the rest 404.
class TestRoutes : public HttpHandler {
public:
    explicit TestRoutes(QString siteRoot = {}) : files_(std::move(siteRoot)) {}

    HttpResponse answer(const HttpRequest& request) override {
        ++asked;
        if (request.path == QLatin1String("/hello")) {
            HttpResponse r;
            r.contentType = "text/plain";
            r.body = "hello " + request.header("x-name");
            r.headers.emplaceBack("X-Bad\r\nInjected", "1");
            return r;
        }
        if (request.path.startsWith(QLatin1String("/stream/")))
            return streamResponse(request.path.sliced(8).toUtf8(),
                                  request.queryValue(u"backlog").toUtf8(),
                                  request.queryValue(u"ends") == QLatin1String("1"));
        if (std::optional<HttpResponse> file = files_.answer(request)) return *file;
        return errorResponse(404);
    }

    int asked = 0;

private:
    StaticFiles files_;
};

// Limits short enough for tests.
inline HttpLimits testLimits() {
    HttpLimits limits;
    limits.requestTimeoutMs = 1500;
    limits.idleTimeoutMs = 1500;
    limits.lingerMs = 500;
    limits.requestBurst = 1000;
    limits.requestsPerSecond = 1000;
    return limits;
}

// A server on 127.0.0.1 and any free port, with the test routes.
struct ServerForTest {
    explicit ServerForTest(const HttpLimits& limits = testLimits(), QString siteRoot = {})
        : routes(std::move(siteRoot)), server(routes, limits) {
        listening = server.listen(QHostAddress::LocalHost, 0);
    }
    quint16 port() const { return server.port(); }

    TestRoutes routes;
    HttpServer server;
    bool listening = false;
};

}  // namespace web::test
