#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>
#include <functional>

namespace lobbytest {

// Runs the event loop until `done` holds or `ms` pass; the result of `done`.
inline bool waitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(5);
    }
    return true;
}

// A peer of the lobby server written the plainest way: a TCP socket that
// sends texts as UTF-16LE, one write each, and compares what comes back
// character for character. It waits by running the event loop, so a server
// in the same process goes on working meanwhile.
class RawClient {
public:
    explicit RawClient(quint16 port) { socket_.connectToHost(QHostAddress::LocalHost, port); }

    bool connected(int ms = 5000) {
        return waitUntil([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, ms);
    }

    void send(const QString& text) {
        socket_.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        socket_.flush();
    }
    void sendBytes(const QByteArray& bytes) {
        socket_.write(bytes);
        socket_.flush();
    }

    // The next text received is exactly `expected`; it is taken.
    ::testing::AssertionResult next(const QString& expected, int ms = 5000) {
        const qsizetype need = expected.size() * 2;
        waitUntil(
            [&] {
                pump();
                return received_.size() >= need;
            },
            ms);
        const QString got = text(received_.left(need));
        if (got != expected)
            return ::testing::AssertionFailure()
                   << "expected \"" << expected.toStdString() << "\", got \""
                   << text(received_).toStdString() << "\"";
        received_.remove(0, need);
        return ::testing::AssertionSuccess();
    }

    // Nothing has come, up to what the kernel holds for this connection now.
    // Only worth asking once a round trip through the server (polled(), or
    // an answer to a later request) shows that whatever could have come has
    // been sent: the server sends what a message causes while handling it.
    ::testing::AssertionResult nothing() {
        while (socket_.waitForReadyRead(0))
            pump();
        pump();
        if (received_.isEmpty()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "unexpected \"" << text(received_).toStdString() << "\"";
    }

    // A round trip on a logged-in lobby client's connection: a poll of the
    // user list (which changes nothing), whose answer must be the first thing
    // to come. The server handles the messages of a connection in order, so
    // by then everything the earlier ones caused has been sent, and nothing
    // came of them here.
    ::testing::AssertionResult polled(int ms = 5000) {
        send(QStringLiteral("GetGameData|x|y|0|END"));
        waitUntil(
            [&] {
                pump();
                return text(received_).contains(u"|END");
            },
            ms);
        const QString got = text(received_);
        const qsizetype end = got.indexOf(u"|END");
        if (end < 0 || !got.startsWith(u"AddFriends|"))
            return ::testing::AssertionFailure()
                   << "expected the user list first, got \"" << got.toStdString() << "\"";
        received_.remove(0, (end + 4) * 2);
        return ::testing::AssertionSuccess();
    }

    // The server closes the connection within `ms`.
    ::testing::AssertionResult closed(int ms = 5000) {
        if (waitUntil([this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, ms))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "still connected";
    }

    bool isOpen() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    void disconnect() { socket_.disconnectFromHost(); }

    // Everything received and not taken yet.
    QString pending() {
        pump();
        return text(received_);
    }

private:
    void pump() {
        if (socket_.bytesAvailable() > 0) received_ += socket_.readAll();
    }
    static QString text(const QByteArray& bytes) {
        return QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
    }

    QTcpSocket socket_;
    QByteArray received_;
};

}  // namespace lobbytest
