#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTest>
#include <functional>
#include <vector>

#include "serverport.h"
#include "socketlayer.h"

namespace net::test {

// One event as a program's handler saw it; for FD_READ the handler read the
// message with RecvMsg, as the programs do.
struct SeenEvent {
    SocketHandle socket = 0;
    int event = 0;
    int error = 0;
    QString text;
    int byteCount = -1;
};

// Records every event of one layer. `react` runs inside the handler, after
// the event is recorded, so a test can answer the way a program would.
class EventLog {
public:
    explicit EventLog(SocketLayer& layer) {
        layer.setHandler([this, &layer](SocketHandle socket, int event, int error) {
            SeenEvent seen{socket, event, error, {}, -1};
            if (event == FD_READ) {
                const ReceivedMessage message = layer.RecvMsg(socket);
                seen.text = message.text;
                seen.byteCount = message.byteCount;
            }
            events.push_back(seen);
            if (react) react(seen);
        });
    }

    int count(int event, SocketHandle socket = 0) const {
        int n = 0;
        for (const SeenEvent& e : events)
            if (e.event == event && (socket == 0 || e.socket == socket)) ++n;
        return n;
    }

    const SeenEvent* first(int event, SocketHandle socket = 0) const {
        for (const SeenEvent& e : events)
            if (e.event == event && (socket == 0 || e.socket == socket)) return &e;
        return nullptr;
    }

    QStringList texts(SocketHandle socket = 0) const {
        QStringList out;
        for (const SeenEvent& e : events)
            if (e.event == FD_READ && (socket == 0 || e.socket == socket)) out << e.text;
        return out;
    }

    std::vector<SeenEvent> events;
    std::function<void(const SeenEvent&)> react;
};

// Runs the event loop until `done` holds or `ms` pass. QTest::qWaitFor sleeps
// between its passes and so hands out about one queued event per 10 ms; this
// lets the loop run freely, for tests that pass thousands of messages.
inline bool waitBusy(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(5);
    }
    return true;
}

// Lets the next listener of this process take any port the system gives
// (QUOR_PORT=0) and, once it listens, points QUOR_PORT at the port it got, so
// the connections made afterwards reach it; restores QUOR_PORT when it goes.
class PortForTest {
public:
    PortForTest()
        : saved_(qgetenv(kPortVariable)), wasSet_(qEnvironmentVariableIsSet(kPortVariable)) {
        qputenv(kPortVariable, "0");
    }
    ~PortForTest() {
        if (wasSet_)
            qputenv(kPortVariable, saved_);
        else
            qunsetenv(kPortVariable);
    }
    PortForTest(const PortForTest&) = delete;
    PortForTest& operator=(const PortForTest&) = delete;

    // SetSERVER on any free port; connections go to it from now on.
    ListenResult listen(SocketLayer& layer) {
        qputenv(kPortVariable, "0");
        const ListenResult result = layer.SetSERVER();
        if (result.ok()) use(result.port);
        return result;
    }

    void use(quint16 port) {
        port_ = port;
        qputenv(kPortVariable, QByteArray::number(port));
    }

    quint16 port() const { return port_; }

private:
    QByteArray saved_;
    bool wasSet_;
    quint16 port_ = 0;
};

// Events are handed out in the order they happened: once a connection started
// now is reported, whatever was queued before it has been handed out too.
// True when that report is the only event `log` got from here on.
inline bool nothingElseQueued(SocketLayer& layer, const EventLog& log) {
    const std::size_t before = log.events.size();
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost, 0)) return false;
    PortForTest port;
    port.use(listener.serverPort());
    const SocketHandle sock = layer.ConnectServer(QStringLiteral("127.0.0.1")).socket;
    if (!QTest::qWaitFor([&] { return log.count(FD_CONNECT, sock) == 1; })) return false;
    layer.closeSocket(sock);
    return log.events.size() == before + 1;
}

}  // namespace net::test
