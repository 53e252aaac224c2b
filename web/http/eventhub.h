#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <vector>

namespace web {

class HttpConnection;
class HttpServer;

// The event streams (Server-Sent Events) of one web server, grouped by a key
// (a game's number, say). An event is built once and the same bytes are
// queued on every stream of its key. A stream whose unsent bytes pass the
// server's bound (HttpLimits::maxStreamBacklog) has fallen behind and is
// dropped; its client reconnects and asks for what it missed.
//
// Used in the server's thread only.
class EventHub {
public:
    EventHub(const EventHub&) = delete;
    EventHub& operator=(const EventHub&) = delete;

    // Sends `text` (whole events, see sseEvent) to every stream of `key`.
    void send(const QByteArray& key, const QByteArray& text);
    // Sends `text` to every stream there is (the keep-alive comment).
    void sendToAll(const QByteArray& text);
    // Ends the streams of `key` once what they have queued is sent.
    void close(const QByteArray& key);

    qsizetype streams(const QByteArray& key) const;
    qsizetype streams() const { return total_; }

private:
    friend class HttpServer;
    explicit EventHub(HttpServer& server) : server_(server) {}
    void add(HttpConnection& stream, const QByteArray& key);
    void remove(HttpConnection& stream);
    // Queues `text` on each of `streams` and drops those that fell behind.
    void deliver(const std::vector<HttpConnection*>& streams, const QByteArray& text);

    HttpServer& server_;
    QHash<QByteArray, std::vector<HttpConnection*>> streams_;
    qsizetype total_ = 0;
};

// One event in the stream format: "id: N\n" (when id >= 0), "event: NAME\n"
// (when a name is given), one "data: " line per line of `data`, and the blank
// line that ends it. Line breaks in `name` are dropped.
QByteArray sseEvent(QByteArrayView name, QByteArrayView data, qint64 id = -1);

// A comment line, which clients ignore; keeps idle connections open.
inline constexpr char kSseKeepAlive[] = ": keep-alive\n\n";

}  // namespace web
