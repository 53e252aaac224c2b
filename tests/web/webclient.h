#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QTcpSocket>
#include <QTest>
#include <optional>

namespace webtest {

// What a GET brought back.
struct WebAnswer {
    int status = 0;  // 0: no answer in time
    QByteArray head;
    QByteArray body;

    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
    bool hasHeader(const QByteArray& line) const { return head.contains(line); }
};

// One request over a connection of its own to 127.0.0.1:`port`, read to its
// close (the request asks for it), the event loop running meanwhile.
inline WebAnswer get(quint16 port, const QByteArray& target, const QByteArray& method = "GET",
                     int ms = 5000) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    WebAnswer answer;
    if (!socket.waitForConnected(ms)) return answer;
    socket.write(method + ' ' + target +
                 " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray all;
    // Whatever came in time is the answer; a partial one fails its checks.
    static_cast<void>(QTest::qWaitFor(
        [&] {
            all += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        },
        ms));
    all += socket.readAll();
    const qsizetype end = all.indexOf("\r\n\r\n");
    if (end < 0 || !all.startsWith("HTTP/1.1 ")) return answer;
    answer.head = all.left(end);
    answer.body = all.mid(end + 4);
    answer.status = all.mid(9, 3).toInt();
    return answer;
}

// One event of an event stream.
struct StreamEvent {
    qint64 id = -1;
    QByteArray name;
    QJsonObject data;
};

// An event stream kept open, its events read as they come.
class EventStream {
public:
    EventStream(quint16 port, const QByteArray& target) {
        socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (socket_.waitForConnected(5000))
            socket_.write("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    }

    // The next event, waiting for it at most `ms`.
    std::optional<StreamEvent> next(int ms = 5000) {
        const bool came = QTest::qWaitFor(
            [&] {
                read();
                return !events_.isEmpty();
            },
            ms);
        if (!came) return std::nullopt;
        return events_.takeFirst();
    }
    bool closed() {
        read();
        return socket_.state() == QAbstractSocket::UnconnectedState;
    }
    QByteArray head() const { return head_; }

private:
    void read() {
        buffer_ += socket_.readAll();
        if (head_.isEmpty()) {
            const qsizetype end = buffer_.indexOf("\r\n\r\n");
            if (end < 0) return;
            head_ = buffer_.left(end);
            buffer_.remove(0, end + 4);
        }
        for (qsizetype end; (end = buffer_.indexOf("\n\n")) >= 0;) {
            const QByteArray block = buffer_.left(end);
            buffer_.remove(0, end + 2);
            StreamEvent event;
            QByteArray data;
            for (const QByteArray& line : block.split('\n')) {
                if (line.startsWith("id: ")) event.id = line.mid(4).toLongLong();
                if (line.startsWith("event: ")) event.name = line.mid(7);
                if (line.startsWith("data: ")) data += line.mid(6);
            }
            if (event.name.isEmpty()) continue;  // a comment that keeps it open
            event.data = QJsonDocument::fromJson(data).object();
            events_ << event;
        }
    }

    QTcpSocket socket_;
    QByteArray head_;
    QByteArray buffer_;
    QList<StreamEvent> events_;
};

}  // namespace webtest
