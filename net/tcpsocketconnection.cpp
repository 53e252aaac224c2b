#include "tcpsocketconnection.h"

#include <sys/socket.h>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>
#include <cerrno>
#include <optional>
#include <utility>

#include "localaddress.h"
#include "socketerrorcode.h"

namespace net {

namespace {

// Sends what the kernel takes at once, without waiting; the number of bytes
// it took. A failure takes nothing: Qt meets the same fault when it tries
// the rest, and reports it as it reports every fault of the connection.
qsizetype sendNow(qintptr descriptor, QByteArrayView bytes) {
    if (descriptor < 0) return 0;
    for (;;) {
        const ssize_t sent = ::send(static_cast<int>(descriptor), bytes.data(),
                                    static_cast<size_t>(bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0) return sent;
        if (errno != EINTR) return 0;
    }
}

QHostAddress hostAddress(quint32 wireValue) {
    const quint32 hostOrder = ((wireValue & 0xFF) << 24) | ((wireValue & 0xFF00) << 8) |
                              ((wireValue >> 8) & 0xFF00) | ((wireValue >> 24) & 0xFF);
    return QHostAddress(hostOrder);
}

}  // namespace

TcpSocketConnection::TcpSocketConnection(QObject* owner, qint64 readBufferBytes)
    : socket_(new QTcpSocket(owner)) {
    QTcpSocket* socket = socket_;
    socket->setProxy(QNetworkProxy::NoProxy);
    socket->setReadBufferSize(readBufferBytes);
    QObject::connect(socket, &QTcpSocket::connected, &receiver_, [this] {
        established_ = true;
        // Every message is one write that a peer is waiting for, so it leaves
        // at once rather than waiting for the acknowledgement of the one
        // before it. Otherwise Nagle's algorithm holds the second of two
        // messages written back to back (an acknowledgement and the answer
        // move) until the peer's delayed ACK comes, some 40 ms later. Qt
        // takes socket options only once the connection exists.
        socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (onConnected_) onConnected_();
    });
    QObject::connect(socket, &QTcpSocket::readyRead, &receiver_, [this] { tellReadable(); });
    QObject::connect(socket, &QTcpSocket::disconnected, &receiver_, [this] { tellGone(); });
    QObject::connect(socket, &QTcpSocket::errorOccurred, &receiver_,
                     [this](QAbstractSocket::SocketError error) {
                         if (!established_) {
                             if (onFailed_)
                                 onFailed_(winsockErrorFromQt(error, socket_->errorString()));
                         } else if (socket_->state() == QAbstractSocket::UnconnectedState) {
                             tellGone();
                         }
                     });
}

TcpSocketConnection::~TcpSocketConnection() {
    if (!socket_) return;  // lingering, or gone with its owner
    // No last signal of the socket reaches the owner while it goes.
    QObject::disconnect(socket_, nullptr, &receiver_, nullptr);
    delete socket_;
}

void TcpSocketConnection::connectTo(const QString& server, quint16 port,
                                    std::function<void()> connected,
                                    std::function<void(int error)> failed) {
    onConnected_ = std::move(connected);
    onFailed_ = std::move(failed);
    if (const std::optional<quint32> address = ResolveHost(server))
        socket_->connectToHost(hostAddress(*address), port);
    else
        socket_->connectToHost(server, port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
}

Connection::ReadResult TcpSocketConnection::read(char* buffer, qint64 capacity) {
    if (socket_->bytesAvailable() <= 0) return {};
    return {socket_->read(buffer, capacity), false};
}

bool TcpSocketConnection::hasUnread() const {
    return socket_->bytesAvailable() > 0;
}

bool TcpSocketConnection::send(QByteArrayView bytes) {
    // With nothing of this connection waiting in Qt, the message goes
    // straight to the kernel in one send call, as the protocol has it: Qt
    // would switch its write notifier on and off for it, several system calls
    // more for every message. Only what the kernel cannot take yet is left to
    // Qt, which sends it in order.
    if (socket_->bytesToWrite() == 0)
        bytes = bytes.sliced(sendNow(socket_->socketDescriptor(), bytes));
    if (bytes.isEmpty()) return true;
    if (socket_->write(bytes.data(), bytes.size()) < 0) return false;
    // Hand it to the kernel now, as a send call would, so that a program that
    // ends right after sending still gets its last message out.
    socket_->flush();
    return true;
}

qint64 TcpSocketConnection::unsentBytes() const {
    return socket_->bytesToWrite();
}

QHostAddress TcpSocketConnection::peerAddress() const {
    return socket_->peerAddress();
}

quint16 TcpSocketConnection::peerPort() const {
    return socket_->peerPort();
}

void TcpSocketConnection::abort() {
    socket_->abort();
}

void TcpSocketConnection::closeLingering(std::unique_ptr<Connection>, QObject* owner,
                                         int lingerMs) {
    QTcpSocket* socket = std::exchange(socket_, nullptr);
    QObject::disconnect(socket, nullptr, &receiver_, nullptr);
    socket->setParent(owner);
    if (socket->state() == QAbstractSocket::ConnectedState) {
        socket->flush();
        socket->disconnectFromHost();
    }
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
        return;
    }
    if (socket->state() != QAbstractSocket::ClosingState) {
        // Still looking up or connecting: there is nothing to hand over.
        socket->abort();
        socket->deleteLater();
        return;
    }
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(lingerMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
}

}  // namespace net
