#pragma once

#include <QByteArrayView>
#include <QHostAddress>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <utility>

class QObject;

namespace net {

// One TCP connection as the socket layer drives it, whatever carries it
// underneath: the layer reads it at its own pace, sends whole
// messages, and hears when there is something to read or when the
// connection has gone. Its events, the framing and the limits are the
// layer's; a connection only moves bytes.
class Connection {
public:
    virtual ~Connection() = default;  // closes at once; what was not sent is dropped

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Called while reading is watched and data, the peer's end or a fault is
    // waiting to be read.
    void setReadableHandler(std::function<void()> handler) { onReadable_ = std::move(handler); }
    // Called when the connection has gone (the peer closed it, a reset, a
    // failed send): nothing more goes out, and what came before it can
    // still be read.
    void setGoneHandler(std::function<void()> handler) { onGone_ = std::move(handler); }
    // Whether the owner wants to be told of data to read; a connection that
    // reads ahead on its own may stop by itself instead.
    virtual void watchReading(bool on) = 0;

    struct ReadResult {
        qint64 size = 0;     // bytes read into the buffer
        bool ended = false;  // the peer has closed or the connection broke
    };
    // Reads what has come, up to `capacity` bytes, without waiting. Less
    // than `capacity` means nothing more is there now; the readable handler
    // tells when more comes.
    virtual ReadResult read(char* buffer, qint64 capacity) = 0;
    // Whether data has come that has not been read yet.
    virtual bool hasUnread() const = 0;

    // Sends the bytes after what is still waiting to be sent; false when the
    // connection is broken.
    virtual bool send(QByteArrayView bytes) = 0;
    // What was sent and has not been taken by the kernel yet.
    virtual qint64 unsentBytes() const = 0;

    virtual QHostAddress peerAddress() const = 0;
    virtual quint16 peerPort() const = 0;

    // Closes the connection at once; what was not sent yet is dropped.
    virtual void abort() = 0;

    // Closes the connection as a program's close does: nothing more is
    // received, no handler is called any more, and what was not sent yet
    // still goes out, for up to `lingerMs`, under an object of `owner`.
    static void letGo(std::unique_ptr<Connection> connection, QObject* owner, int lingerMs) {
        Connection* c = connection.get();
        c->closeLingering(std::move(connection), owner, lingerMs);
    }

protected:
    Connection() = default;

    // letGo() as the kind does it; `self` is this connection, for the kind
    // to keep while what was sent goes out.
    virtual void closeLingering(std::unique_ptr<Connection> self, QObject* owner, int lingerMs) = 0;

    // The handlers run from copies: they may close this connection.
    void tellReadable() {
        if (const std::function<void()> handler = onReadable_) handler();
    }
    void tellGone() {
        if (const std::function<void()> handler = onGone_) handler();
    }

private:
    std::function<void()> onReadable_;
    std::function<void()> onGone_;
};

}  // namespace net
