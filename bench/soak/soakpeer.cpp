#include "soakpeer.h"

#include <sys/socket.h>

#include <QHostAddress>

#include "wirecodec.h"

namespace soak {

namespace {

// The quiet moment after which a message that may be complete is taken as
// it stands, as the programs' socket layer does.
constexpr int kQuietMs = 100;

}  // namespace

SoakPeer::SoakPeer(net::FramingRules rules, quint16 port, QObject* parent)
    : QObject(parent), framer_(std::move(rules)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    connect(&quiet_, &QTimer::timeout, this, [this] { take(framer_.flush()); });
    connect(&socket_, &QTcpSocket::connected, this, [this] {
        connected_ = true;
        emit connected();
    });
    connect(&socket_, &QTcpSocket::readyRead, this, &SoakPeer::readAll);
    connect(&socket_, &QTcpSocket::disconnected, this, [this] {
        if (cut_) return;
        connected_ = false;
        closedByServer_ = true;
        take(framer_.flush());
        emit closedByPeer();
    });
    socket_.connectToHost(QHostAddress::LocalHost, port);
}

void SoakPeer::send(const QString& text) {
    if (!connected_ || cut_) return;
    socket_.write(net::encodeMessage(text));
}

void SoakPeer::readAll() {
    if (cut_) return;
    const QByteArray bytes = socket_.readAll();
    if (bytes.isEmpty()) return;
    take(framer_.feed(bytes));
    quiet_.start();
}

void SoakPeer::take(const net::MessageFramer::Result& result) {
    for (const QString& text : result.messages) {
        if (cut_) return;
        emit message(text);
    }
}

void SoakPeer::cut(Cut how) {
    if (cut_) return;
    cut_ = true;
    quiet_.stop();
    switch (how) {
        case Cut::Close:
            socket_.disconnectFromHost();
            break;
        case Cut::Reset: {
            // A linger of zero makes the close a reset.
            const linger now{1, 0};
            ::setsockopt(static_cast<int>(socket_.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now,
                         sizeof now);
            socket_.abort();
            break;
        }
        case Cut::Stall:
            // Nothing more is read: what the server sends stays in the
            // kernel until its buffers are full, and nothing more is sent.
            socket_.setReadBufferSize(1);
            break;
    }
}

void SoakPeer::close() {
    if (cut_) {
        socket_.abort();
        return;
    }
    cut_ = true;
    socket_.disconnectFromHost();
}

}  // namespace soak
