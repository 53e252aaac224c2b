#pragma once

#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include "framingrules.h"
#include "messageframer.h"

namespace soak {

// One connection to the server under test, as a lobby client or a game
// program holds it: whole messages out, one write each, and whole messages in,
// found by the receiver's own framer (with its quiet moment for a message
// that may be complete). A connection can be cut the ways a real peer goes
// away: a close, a reset, or a program that hangs and reads nothing more.
class SoakPeer : public QObject {
    Q_OBJECT

public:
    enum class Cut { Close, Reset, Stall };

    SoakPeer(net::FramingRules rules, quint16 port, QObject* parent = nullptr);

    // Sends one message; nothing once cut or closed.
    void send(const QString& text);

    void cut(Cut how);

    // Ends the connection as a program that exits does.
    void close();

    bool isConnected() const { return connected_; }
    bool wasCut() const { return cut_; }
    // The server ended the connection.
    bool closedByServer() const { return closedByServer_; }

signals:
    void connected();
    void message(const QString& text);
    void closedByPeer();

private:
    void readAll();
    void take(const net::MessageFramer::Result& result);

    QTcpSocket socket_;
    net::MessageFramer framer_;
    QTimer quiet_;
    bool connected_ = false;
    bool cut_ = false;
    bool closedByServer_ = false;
};

}  // namespace soak
