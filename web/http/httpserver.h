#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>
#include <unordered_map>
#include <vector>

#include "eventhub.h"
#include "httphandler.h"
#include "httplimits.h"
#include "ratelimiter.h"

namespace web {

class HttpConnection;

// A small HTTP/1.1 server on Qt's event loop, for the read-only web front:
// GET and HEAD only, no request bodies, every request bounded in size and
// time, keep-alive, connections capped per client address and in all, and
// requests per address rate-limited. Answers come from an HttpHandler; event
// streams go to the EventHub (events()).
//
// It lives in the thread it is created in: create it and call listen in the
// thread that is to run it (its socket notifiers are made there and are not
// moved with it), and call events() and everything else there too (from
// another thread, by a queued call). Sockets are plain non-blocking
// descriptors watched by socket notifiers, so that ten thousand event streams
// cost little.
class HttpServer : public QObject {
    Q_OBJECT

public:
    HttpServer(HttpHandler& handler, const HttpLimits& limits = {}, QObject* parent = nullptr);
    ~HttpServer() override;

    // Listens on `address` and `port` (0: any free port); false, with
    // errorString(), when that fails.
    bool listen(const QHostAddress& address, quint16 port);
    // A reverse proxy in front of the server, whose every client arrives from
    // its address: its connections are not held to the per-address cap, and
    // each of its requests is rate-limited by the client address it names
    // last in "X-Forwarded-For" (the one it added itself).
    void setTrustedProxy(const QHostAddress& proxy);
    quint16 port() const { return port_; }
    QString errorString() const { return error_; }

    EventHub& events() { return hub_; }
    qsizetype connections() const { return qsizetype(connections_.size()); }
    const HttpLimits& limits() const { return limits_; }

private:
    friend class EventHub;

    void acceptAll();
    // Whose requests these are, for the rate limit: the connection's
    // address, or behind the trusted proxy the client it names.
    QByteArray clientKey(const HttpConnection& connection, const HttpRequest& request) const;
    void refuseAtOnce(int fd, int status);
    void readFrom(HttpConnection& connection);
    void writeTo(HttpConnection& connection);
    // Answers the whole requests that came in, as long as the answers waiting
    // to go out stay within their bound.
    void answerRequests(HttpConnection& connection);
    void queueAnswer(HttpConnection& connection, const HttpResponse& response, bool head,
                     bool keepAlive);
    void startStream(HttpConnection& connection, const HttpResponse& response, bool head);
    // Sends what is queued and acts on it: drops a failed connection, ends
    // one whose last answer went. False when the connection is gone.
    bool sendQueued(HttpConnection& connection);
    // The last answer went: stop sending, read what still comes for a
    // while (so a client's unread bytes do not reset the answer), close.
    void finish(HttpConnection& connection);
    void sweep();

    // For the hub: queues `text` on a stream and sends; false when the
    // stream failed or fell behind (then the hub drops it).
    bool queueOnStream(HttpConnection& stream, const QByteArray& text);
    void endStream(HttpConnection& stream);
    void drop(HttpConnection& connection);

    qint64 now() const { return clock_.elapsed(); }

    HttpHandler& handler_;
    HttpLimits limits_;
    EventHub hub_;
    RateLimiter rate_;
    QByteArray proxyKey_;  // the trusted proxy's address key, or empty
    QElapsedTimer clock_;
    int listenFd_ = -1;
    quint16 port_ = 0;
    QString error_;
    std::unique_ptr<QSocketNotifier> listener_;
    std::unordered_map<int, std::unique_ptr<HttpConnection>> connections_;  // by descriptor
    QHash<QByteArray, int> perAddress_;
    std::vector<std::unique_ptr<HttpConnection>> closed_;  // deleted at the next turn
    QTimer sweepTimer_;
    QTimer keepAliveTimer_;
    QTimer acceptPause_;
    qint64 lastForgetMs_ = 0;
};

// Raises this process's limit of open descriptors to its hard limit, so the
// server can hold as many connections as it allows; the limit it now has.
qint64 raiseOpenFileLimit();

}  // namespace web
