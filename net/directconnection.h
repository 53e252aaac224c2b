#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QtGlobal>
#include <functional>
#include <memory>

#include "connection.h"

class QObject;

namespace platform {
class ReadinessWatch;
}

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
class DirectConnection : public Connection {
public:
    // Takes over a connected descriptor (made non-blocking); closes it when
    // destroyed, dropping whatever was not sent yet.
    explicit DirectConnection(int descriptor);
    ~DirectConnection() override;

    // The readable handler is told from the event loop only, never from
    // inside a call on this connection.
    void watchReading(bool on) override;
    // Reads straight from the kernel.
    ReadResult read(char* buffer, qint64 capacity) override;
    bool hasUnread() const override;
    // The gone handler is called when writing the rest of what was sent
    // fails; a send that fails at once returns false instead.
    bool send(QByteArrayView bytes) override;
    qint64 unsentBytes() const override { return unsent_.size() - unsentFrom_; }
    QHostAddress peerAddress() const override { return peerAddress_; }
    quint16 peerPort() const override { return peerPort_; }
    void abort() override;

private:
    void closeLingering(std::unique_ptr<Connection> self, QObject* owner, int lingerMs) override;
    void writeUnsent();
    void fail();
    void discardInput();

    int fd_ = -1;
    QHostAddress peerAddress_;
    quint16 peerPort_ = 0;
    std::unique_ptr<platform::ReadinessWatch> readWatch_;
    std::unique_ptr<platform::ReadinessWatch> writeWatch_;
    std::function<void()> onSentAll_;  // while lingering: everything has gone out
    QByteArray unsent_;                // from unsentFrom_ on: not taken by the kernel yet
    qsizetype unsentFrom_ = 0;
    bool readEnded_ = false;
    bool broken_ = false;
};

}  // namespace net
