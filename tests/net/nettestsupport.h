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

// A port nobody listens on right now, on any IPv4 interface.
inline quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::AnyIPv4, 0)) return 0;
    return probe.serverPort();
}

// Points QUOR_PORT at a free port for as long as it lives.
class PortForTest {
public:
    PortForTest()
        : saved_(qgetenv(kPortVariable)),
          wasSet_(qEnvironmentVariableIsSet(kPortVariable)),
          port_(freePort()) {
        qputenv(kPortVariable, QByteArray::number(port_));
    }
    ~PortForTest() {
        if (wasSet_)
            qputenv(kPortVariable, saved_);
        else
            qunsetenv(kPortVariable);
    }
    PortForTest(const PortForTest&) = delete;
    PortForTest& operator=(const PortForTest&) = delete;

    quint16 port() const { return port_; }

private:
    QByteArray saved_;
    bool wasSet_;
    quint16 port_;
};

}  // namespace net::test
