#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QtGlobal>
#include <functional>
#include <memory>

class QObject;
class QSocketNotifier;

namespace net {

// An accepted TCP connection read and written through its descriptor, with
// nothing in between: one receive call takes what the kernel has, one send
// call hands over a message. Every message a server relays passes two of
// these, and a buffered socket of Qt's costs an extra size query and a copy
// on each read, and an event more on each write.
//
// Reading is the owner's to pace: it is told when data (or the peer's end)
// is there while it watches, and reads as much as it wants. What the kernel
// does not take of a send is kept and written in order as room comes.
class DirectConnection {
public:
    // Takes over a connected descriptor (made non-blocking); closes it when
    // destroyed, dropping whatever was not sent yet.
    explicit DirectConnection(int descriptor);
    ~DirectConnection();

    DirectConnection(const DirectConnection&) = delete;
    DirectConnection& operator=(const DirectConnection&) = delete;

    // Called while reading is watched and data, the peer's end or a fault is
    // waiting to be read.
    void setReadableHandler(std::function<void()> handler);
    // Called once when writing the rest of what was sent fails: the
    // connection is broken.
    void setFailedHandler(std::function<void()> handler);
    void watchReading(bool on);

    struct ReadResult {
        qint64 size = 0;     // bytes read into the buffer
        bool ended = false;  // the peer has closed or the connection broke
    };
    // Reads what the kernel has, up to `capacity` bytes, without waiting.
    ReadResult read(char* buffer, qint64 capacity);
    // Whether the kernel holds data that has not been read yet.
    bool hasUnread() const;
    bool readEnded() const { return readEnded_; }
    // Whether sending has failed: nothing more goes out.
    bool broken() const { return broken_; }

    // Sends the bytes after what is still waiting to be sent; false when the
    // connection is broken.
    bool send(QByteArrayView bytes);
    qint64 unsentBytes() const { return unsent_.size() - unsentFrom_; }

    const QHostAddress& peerAddress() const { return peerAddress_; }
    quint16 peerPort() const { return peerPort_; }

    // Closes the connection at once; what was not sent yet is dropped.
    void abort();

    // Closes the connection as a program's close does: nothing more is
    // received, and what was not sent yet still goes out, for up to
    // `lingerMs`, under an object of `owner`.
    static void letGo(std::unique_ptr<DirectConnection> connection, QObject* owner, int lingerMs);

private:
    void writeUnsent();
    void fail();
    void discardInput();

    int fd_ = -1;
    QHostAddress peerAddress_;
    quint16 peerPort_ = 0;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
    std::function<void()> onReadable_;
    std::function<void()> onFailed_;
    std::function<void()> onSentAll_;  // while lingering: everything has gone out
    QByteArray unsent_;                // from unsentFrom_ on: not taken by the kernel yet
    qsizetype unsentFrom_ = 0;
    bool readEnded_ = false;
    bool broken_ = false;
};

}  // namespace net
