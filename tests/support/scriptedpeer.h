#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace testsupport {

// The other end of a program's connection, played by a test: a server on a
// loopback port the system picks (handed to the program through QUOR_PORT)
// that takes one connection and reads and writes UTF-16LE texts.
class ScriptedPeer {
public:
    ScriptedPeer() {
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
        qputenv("QUOR_PORT", QByteArray::number(server_.serverPort()));
    }

    bool isListening() const { return listening_; }

    bool accept() {
        if (!QTest::qWaitFor([&] { return server_.hasPendingConnections(); })) return false;
        socket_ = server_.nextPendingConnection();
        return socket_ != nullptr;
    }

    void send(const QString& text) {
        socket_->write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        socket_->flush();
    }

    // Waits until `expected` has been received; it and what came before it
    // are dropped.
    bool receive(const QString& expected, int timeoutMs = 5000) {
        const bool ok = QTest::qWaitFor(
            [&] {
                received_ += socket_->readAll();
                return text().contains(expected);
            },
            timeoutMs);
        if (ok) received_.remove(0, (text().indexOf(expected) + expected.size()) * 2);
        return ok;
    }

    bool closedByPeer() {
        return QTest::qWaitFor(
            [&] { return socket_->state() == QAbstractSocket::UnconnectedState; });
    }

    QString text() const {
        return QString(reinterpret_cast<const QChar*>(received_.constData()), received_.size() / 2);
    }

private:
    QTcpServer server_;
    QTcpSocket* socket_ = nullptr;
    QByteArray received_;
    bool listening_ = false;
};

}  // namespace testsupport
