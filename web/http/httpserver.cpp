#include "httpserver.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>

#include "httpconnection.h"

namespace web {

namespace {

// The key a client is counted under: its IPv4 address, or the /64 network of
// an IPv6 address (one host usually has a whole /64).
QByteArray addressKey(const QHostAddress& address) {
    bool v4 = false;
    const quint32 ip4 = address.toIPv4Address(&v4);
    if (v4) {
        const quint32 network = htonl(ip4);
        return QByteArray(reinterpret_cast<const char*>(&network), 4);
    }
    if (address.protocol() != QAbstractSocket::IPv6Protocol) return QByteArray("?");
    const Q_IPV6ADDR ip6 = address.toIPv6Address();
    return QByteArray(reinterpret_cast<const char*>(ip6.c), 8);
}

QByteArray addressKey(const sockaddr_storage& peer) {
    if (peer.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(peer);
        return QByteArray(reinterpret_cast<const char*>(&in.sin_addr), 4);
    }
    if (peer.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(peer);
        const auto* bytes = reinterpret_cast<const char*>(&in6.sin6_addr);
        if (IN6_IS_ADDR_V4MAPPED(&in6.sin6_addr)) return QByteArray(bytes + 12, 4);
        return QByteArray(bytes, 8);
    }
    return QByteArray("?");
}

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

qint64 raiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return -1;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    return static_cast<qint64>(limit.rlim_cur);
}

HttpServer::HttpServer(HttpHandler& handler, const HttpLimits& limits, QObject* parent)
    : QObject(parent),
      handler_(handler),
      limits_(limits),
      hub_(*this),
      rate_(limits.requestsPerSecond, limits.requestBurst),
      sweepTimer_(this),
      keepAliveTimer_(this),
      acceptPause_(this) {
    clock_.start();
    // Deadlines are checked a few times within the shortest of them.
    const int shortest =
        std::min({limits_.requestTimeoutMs, limits_.idleTimeoutMs, limits_.lingerMs});
    sweepTimer_.setInterval(std::clamp(shortest / 8, 20, 500));
    connect(&sweepTimer_, &QTimer::timeout, this, &HttpServer::sweep);
    keepAliveTimer_.setInterval(std::max(limits_.keepAliveCommentMs, 10));
    connect(&keepAliveTimer_, &QTimer::timeout, this, [this] {
        hub_.sendToAll(QByteArray::fromRawData(kSseKeepAlive, sizeof kSseKeepAlive - 1));
    });
    acceptPause_.setSingleShot(true);
    acceptPause_.setInterval(100);
    connect(&acceptPause_, &QTimer::timeout, this, [this] {
        if (listener_) listener_->setEnabled(true);
    });
}

HttpServer::~HttpServer() {
    listener_.reset();
    if (listenFd_ >= 0) ::close(listenFd_);
    // The connections close their sockets as they go.
    connections_.clear();
    closed_.clear();
}

void HttpServer::setTrustedProxy(const QHostAddress& proxy) {
    proxyKey_ = proxy.isNull() ? QByteArray() : addressKey(proxy);
}

QByteArray HttpServer::clientKey(const HttpConnection& connection,
                                 const HttpRequest& request) const {
    if (proxyKey_.isEmpty() || connection.address() != proxyKey_) return connection.address();
    // The proxy appends the address it took the request from; what comes
    // before that is the client's own word.
    const QByteArray forwarded = request.header("x-forwarded-for");
    const QByteArray last = forwarded.mid(forwarded.lastIndexOf(',') + 1).trimmed();
    const QHostAddress client(QString::fromLatin1(last));
    return client.isNull() ? connection.address() : addressKey(client);
}

bool HttpServer::listen(const QHostAddress& address, quint16 port) {
    if (listenFd_ >= 0) {
        error_ = QStringLiteral("already listening");
        return false;
    }
    if (address.isNull()) {
        error_ = QStringLiteral("no address to listen on");
        return false;
    }
    sockaddr_storage place{};
    socklen_t placeSize = 0;
    const bool v4 = address.protocol() == QAbstractSocket::IPv4Protocol;
    if (v4) {
        auto& in = reinterpret_cast<sockaddr_in&>(place);
        in.sin_family = AF_INET;
        in.sin_port = htons(port);
        in.sin_addr.s_addr = htonl(address.toIPv4Address());
        placeSize = sizeof in;
    } else {
        // IPv6, or "any" for both families.
        auto& in6 = reinterpret_cast<sockaddr_in6&>(place);
        in6.sin6_family = AF_INET6;
        in6.sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.protocol() == QAbstractSocket::IPv6Protocol
                                     ? address.toIPv6Address()
                                     : Q_IPV6ADDR{};
        std::memcpy(&in6.sin6_addr, &bytes, sizeof bytes);
        placeSize = sizeof in6;
    }
    const int fd = ::socket(v4 ? AF_INET : AF_INET6, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error_ = systemError("socket");
        return false;
    }
    const int on = 1;
    const int off = 0;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (!v4 && address.protocol() != QAbstractSocket::IPv6Protocol)
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&place), placeSize) != 0 ||
        ::listen(fd, 4096) != 0) {
        error_ = systemError("listen");
        ::close(fd);
        return false;
    }
    sockaddr_storage bound{};
    socklen_t boundSize = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &boundSize);
    port_ = ntohs(bound.ss_family == AF_INET ? reinterpret_cast<sockaddr_in&>(bound).sin_port
                                             : reinterpret_cast<sockaddr_in6&>(bound).sin6_port);
    listenFd_ = fd;
    listener_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(listener_.get(), &QSocketNotifier::activated, this, &HttpServer::acceptAll);
    sweepTimer_.start();
    keepAliveTimer_.start();
    return true;
}

void HttpServer::acceptAll() {
    // A bounded number per turn, so a burst of connects does not starve the
    // clients already connected.
    for (int i = 0; i < 256; ++i) {
        sockaddr_storage peer{};
        socklen_t peerSize = sizeof peer;
        const int fd = ::accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &peerSize,
                                 SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // Out of descriptors: wait a moment rather than spin on a
                // listener that stays readable.
                listener_->setEnabled(false);
                acceptPause_.start();
            }
            return;
        }
        QByteArray key = addressKey(peer);
        int& fromThere = perAddress_[key];
        if (connections() >= limits_.maxConnections) {
            if (fromThere == 0) perAddress_.remove(key);
            refuseAtOnce(fd, 503);
            continue;
        }
        if (fromThere >= limits_.maxConnectionsPerAddress && key != proxyKey_) {
            refuseAtOnce(fd, 429);
            continue;
        }
        ++fromThere;
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        auto owned = std::make_unique<HttpConnection>(fd, std::move(key), now());
        HttpConnection* connection = owned.get();
        connections_[fd] = std::move(owned);
        connect(connection->readNotifier(), &QSocketNotifier::activated, this,
                [this, connection] { readFrom(*connection); });
        connection->onWritable = [this, connection] { writeTo(*connection); };
    }
}

void HttpServer::refuseAtOnce(int fd, int status) {
    // One try to say why; the socket is new, so its buffer has room. What
    // the client sent already is read first, as a close with unread bytes
    // would reset the connection and lose the answer.
    char ignored[4096];
    [[maybe_unused]] const ssize_t taken = ::recv(fd, ignored, sizeof ignored, MSG_DONTWAIT);
    const HttpResponse response = errorResponse(status);
    const QByteArray bytes = responseHead(response, response.body.size(), false) + response.body;
    [[maybe_unused]] const ssize_t n = ::send(
        fd, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}

void HttpServer::readFrom(HttpConnection& connection) {
    if (connection.mode != HttpConnection::Mode::Requests) {
        // A stream's client or a closing one has nothing more to say; what it
        // sends is read and dropped, bounded per turn.
        if (!connection.receive(0, true)) drop(connection);
        return;
    }
    // Room for a whole head and the beginning of the next.
    const qsizetype room = 2 * qsizetype(limits_.maxHeadBytes) + 4;
    if (!connection.receive(room, false)) {
        connection.peerDone = true;
        connection.readNotifier()->setEnabled(false);
    }
    if (!connection.input.isEmpty() && connection.requestSinceMs < 0)
        connection.requestSinceMs = now();
    answerRequests(connection);
}

void HttpServer::answerRequests(HttpConnection& connection) {
    while (connection.mode == HttpConnection::Mode::Requests && !connection.closeWhenSent) {
        if (connection.backlog() >= limits_.maxResponseBacklog) {
            // Read on once the client has taken its answers.
            connection.readPaused = true;
            connection.readNotifier()->setEnabled(false);
            break;
        }
        RequestHead head =
            readRequestHead(connection.input, limits_.maxHeadBytes, limits_.maxHeaders);
        if (head.state == RequestHead::State::Incomplete) {
            // The client closed its side in the middle of a request, or
            // before one: nothing will complete it.
            if (connection.peerDone) connection.closeWhenSent = true;
            break;
        }
        if (head.state == RequestHead::State::Refused) {
            queueAnswer(connection, errorResponse(head.status), false, false);
            connection.closeWhenSent = true;
            break;
        }
        connection.input.remove(0, head.size);
        ++connection.requests;
        const HttpRequest& request = head.request;
        bool keepAlive = !request.wantsClose && !connection.peerDone &&
                         connection.requests < limits_.maxRequestsPerConnection;
        if (!rate_.take(clientKey(connection, request), now())) {
            queueAnswer(connection, errorResponse(429), request.head, false);
            connection.closeWhenSent = true;
            break;
        }
        const HttpResponse response = handler_.answer(request);
        if (response.stream) {
            startStream(connection, response, request.head);
            return;
        }
        queueAnswer(connection, response, request.head, keepAlive);
        if (!keepAlive) connection.closeWhenSent = true;
        connection.requestSinceMs = connection.input.isEmpty() ? -1 : now();
        connection.idleSinceMs = now();
    }
    // No more reading for a connection whose last answer is queued: what its
    // client still sends waits in the kernel until the answer has gone.
    if (connection.closeWhenSent) connection.readNotifier()->setEnabled(false);
    sendQueued(connection);
}

void HttpServer::queueAnswer(HttpConnection& connection, const HttpResponse& response, bool head,
                             bool keepAlive) {
    connection.queue(responseHead(response, response.body.size(), keepAlive));
    if (!head && response.status != 304) connection.queue(response.body);
}

void HttpServer::startStream(HttpConnection& connection, const HttpResponse& response, bool head) {
    connection.queue(responseHead(response, 0, false));
    connection.requestSinceMs = -1;
    connection.input = QByteArray();
    if (head || response.streamEnds) {
        if (!head) connection.queue(response.body);
        connection.closeWhenSent = true;
        sendQueued(connection);
        return;
    }
    connection.queue(response.body);
    connection.mode = HttpConnection::Mode::Stream;
    // The events a client missed come on top of the bound.
    connection.streamGrace = connection.backlog();
    // Reading goes on, to see the client go.
    connection.readPaused = false;
    connection.readNotifier()->setEnabled(true);
    hub_.add(connection, response.streamKey);
    if (!queueOnStream(connection, {})) drop(connection);
}

bool HttpServer::sendQueued(HttpConnection& connection) {
    switch (connection.flush()) {
        case HttpConnection::Flush::Failed:
            drop(connection);
            return false;
        case HttpConnection::Flush::Waiting:
            return true;
        case HttpConnection::Flush::Done:
            break;
    }
    if (connection.closeWhenSent) {
        finish(connection);
        return connections_.count(connection.fd()) != 0;
    }
    return true;
}

void HttpServer::writeTo(HttpConnection& connection) {
    if (!sendQueued(connection)) return;
    if (connection.backlog() == 0) connection.streamGrace = 0;
    if (connection.readPaused && connection.backlog() == 0 &&
        connection.mode == HttpConnection::Mode::Requests) {
        connection.readPaused = false;
        if (!connection.peerDone) connection.readNotifier()->setEnabled(true);
        answerRequests(connection);
    }
}

void HttpServer::finish(HttpConnection& connection) {
    if (connection.peerDone) {
        drop(connection);
        return;
    }
    ::shutdown(connection.fd(), SHUT_WR);
    connection.mode = HttpConnection::Mode::Closing;
    connection.lingerUntilMs = now() + limits_.lingerMs;
    connection.input = QByteArray();
    connection.readPaused = false;
    connection.readNotifier()->setEnabled(true);
}

bool HttpServer::queueOnStream(HttpConnection& stream, const QByteArray& text) {
    stream.queue(text);
    const HttpConnection::Flush result = stream.flush();
    if (result == HttpConnection::Flush::Failed) return false;
    if (result == HttpConnection::Flush::Done) stream.streamGrace = 0;
    return stream.backlog() <= limits_.maxStreamBacklog + stream.streamGrace;
}

void HttpServer::endStream(HttpConnection& stream) {
    stream.mode = HttpConnection::Mode::Requests;
    stream.closeWhenSent = true;
    stream.idleSinceMs = now();
    stream.readNotifier()->setEnabled(false);
    sendQueued(stream);
}

void HttpServer::drop(HttpConnection& connection) {
    const auto it = connections_.find(connection.fd());
    if (it == connections_.end() || it->second.get() != &connection) return;
    std::unique_ptr<HttpConnection> owned = std::move(it->second);
    connections_.erase(it);
    hub_.remove(connection);
    const auto count = perAddress_.find(connection.address());
    if (count != perAddress_.end() && --*count <= 0) perAddress_.erase(count);
    connection.shut();
    // Deleted at the next turn of the loop: a notifier of it may be the one
    // whose call is on the stack.
    if (closed_.empty()) QTimer::singleShot(0, this, [this] { closed_.clear(); });
    closed_.push_back(std::move(owned));
}

void HttpServer::sweep() {
    const qint64 at = now();
    std::vector<HttpConnection*> expired;
    for (const auto& entry : connections_) {
        HttpConnection* connection = entry.second.get();
        switch (connection->mode) {
            case HttpConnection::Mode::Requests:
                if (connection->requestSinceMs >= 0
                        ? at - connection->requestSinceMs >= limits_.requestTimeoutMs
                        : at - connection->idleSinceMs >= limits_.idleTimeoutMs)
                    expired.push_back(connection);
                break;
            case HttpConnection::Mode::Closing:
                if (at >= connection->lingerUntilMs) expired.push_back(connection);
                break;
            case HttpConnection::Mode::Stream:
                break;
        }
    }
    for (HttpConnection* connection : expired)
        drop(*connection);
    if (at - lastForgetMs_ >= 5'000) {
        rate_.forgetFull(at);
        lastForgetMs_ = at;
    }
}

}  // namespace web
