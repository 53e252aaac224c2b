#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include "lobbyserver.h"
#include "servertransport.h"
#include "socketlayer.h"

namespace lobby {

// The running server: the core bound to real sockets and to its two timers
// (the login sweep every 5 s, the minute tick every 60 s). The window and
// the headless runner each own one and only show what it reports.
//
// Everything the window shows comes out as signals: the core's texts
// (`statusChanged`, `msgChanged`, `minuteCountChanged`, `invalidData`), the
// own address for `GetTXT` (`addressChanged`), and texts that the window
// shows in a message box with an OK button (`errorBox`). Each text comes in
// Japanese, as a log keeps it, and as the Notice a window shows.
class ServerHost : public QObject, private ServerTransport {
    Q_OBJECT
public:
    explicit ServerHost(QString loginFolder, QObject* parent = nullptr);
    ~ServerHost() override;

    // Checks the sockets can work ("初期化失敗" to `statusChanged` when not)
    // and starts the two timers.
    void start();

    // Opens the listener on all IPv4 interfaces at QUOR_PORT or 8000. While a
    // listener runs it is kept, and when `sayIfRunning`, `msgChanged` says so.
    // Returns whether a listener runs afterwards.
    bool StartListening(bool sayIfRunning = true);

    bool isListening() const { return ListenSock != 0; }
    quint16 listeningPort() const;

    // Program end: closes the listener and every connection, stops the timers.
    void ThisExit();

    LobbyServer& server() { return server_; }
    const LobbyServer& server() const { return server_; }

signals:
    void statusChanged(const QString& text, lobby::Report kind, const lobby::Notice& notice);
    void msgChanged(const QString& text, lobby::Report kind, const lobby::Notice& notice);
    void addressChanged(const QString& dottedAddress);
    void minuteCountChanged(int minutes);
    void invalidData(const QString& text, const lobby::Notice& notice);
    void errorBox(const QString& text, const lobby::Notice& notice);

private:
    void send(SocketHandle socket, const QString& text) override;
    void close(SocketHandle socket) override;
    void onSocketEvent(net::SocketHandle socket, int event, int error);
    void acceptConnection();
    void reportStatus(const Notice& notice);
    void reportMsg(const Notice& notice);
    void reportError(const QString& socketText);

    QElapsedTimer clock_;
    net::SocketLayer sockets_;
    LobbyServer server_;
    QTimer Timer1;      // login sweep
    QTimer Timer2;      // minute tick
    QTimer wakeTimer_;  // what the core asks to do later (LobbyServer::wake)
    net::SocketHandle ListenSock = 0;
};

}  // namespace lobby
