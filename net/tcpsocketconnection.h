#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

#include "connection.h"

class QTcpSocket;

namespace net {

// A connection this program starts, carried by a socket of Qt's: Qt looks
// the host name up and connects without blocking, reads ahead into its own
// buffer, and sends in order what the kernel cannot take yet. The buffer is
// bounded, so a peer that sends faster than it is served fills its kernel
// buffers rather than this program's memory.
class TcpSocketConnection : public Connection {
public:
    // `readBufferBytes`: what Qt may hold ahead of the reader. The socket is
    // a child of `owner`, among whose children an owner's sockets are found,
    // and goes with this connection.
    TcpSocketConnection(QObject* owner, qint64 readBufferBytes);
    ~TcpSocketConnection() override;

    // Starts the connection to `server` (dotted address or host name) at
    // `port`. `connected` is called once it is made, or else `failed`, once,
    // with the Winsock code of the reason. Either may be called before this
    // returns.
    void connectTo(const QString& server, quint16 port, std::function<void()> connected,
                   std::function<void(int error)> failed);

    // Qt reads ahead by itself and stops when its buffer is full. It tells
    // of what it read with readyRead, which it may also emit from inside a
    // call of the program's (a waitFor... call), not from the event loop only.
    void watchReading(bool) override {}
    ReadResult read(char* buffer, qint64 capacity) override;
    bool hasUnread() const override;
    bool send(QByteArrayView bytes) override;
    qint64 unsentBytes() const override;
    QHostAddress peerAddress() const override;
    quint16 peerPort() const override;
    void abort() override;

private:
    void closeLingering(std::unique_ptr<Connection> self, QObject* owner, int lingerMs) override;

    QPointer<QTcpSocket> socket_;  // handed over to linger by letGo()
    QObject receiver_;             // what the socket's signals are connected to
    bool established_ = false;     // the attempt has succeeded
    std::function<void()> onConnected_;
    std::function<void(int error)> onFailed_;
};

}  // namespace net
