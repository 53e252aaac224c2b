#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "clientclock.h"
#include "clientsettings.h"
#include "clienttransport.h"
#include "lobbyview.h"
#include "userlist.h"

namespace lobbyclient {

// Starts a program file detached, with `folder` as its working folder;
// returns whether it started.
using ProgramStarter = std::function<bool(const QString& path, const QString& folder)>;

// The lobby client without its windows: the connection to the lobby server,
// the login, the user-list poll, challenges, watch requests, the lobby chat,
// starting the game program, and everything the server says back. The
// sockets come through `transport` and the timers from `clock`, both owned by
// the caller and outliving the client.
class LobbyClient : public QObject {
    Q_OBJECT

public:
    // `folder` holds "LOGIN.TXT" and "GameFile.txt".
    LobbyClient(LobbyView& view, QString folder, ProgramStarter starter, ClientTransport& transport,
                ClientClock& clock, QObject* parent = nullptr);
    ~LobbyClient() override;

    // The state of the client, named as it has always been.
    int MyIndex() const { return MyIndex_; }     // the index the server gave
    bool InBattle() const { return InBattle_; }  // paired, or challenging
    bool fLog() const { return fLog_; }          // true while NOT logged in
    net::SocketHandle DataSock() const { return dataSock_; }
    // The user-list poll, every 5000 ms while logged in.
    const ClientTimer& Timer1() const { return *Timer1_; }

    // Windows Sockets' start at load: the text to show when it failed.
    QString startUp();

    // "送　信" of the login dialog: connects and logs in with `record`, the
    // dialog's values. Nothing happens without a chosen game, or while an
    // attempt or a login is already under way. An attempt that has no answer
    // within loginTimeout() is given up with a message box.
    void Connect(const LoginRecord& record);
    // The login dialog closed: an attempt under way is given up quietly.
    void abandonLogin();

    std::chrono::milliseconds loginTimeout() const;
    void setLoginTimeout(std::chrono::milliseconds timeout);

    // "ログアウト".
    void logout();
    // The poll.
    void pollUsers();
    // Double-click on a line of the user list: challenge that user.
    void challenge(const QString& selectedLine);
    // "Watch" on a line of the user list.
    void watch(const QString& selectedLine);
    // "送　信" of the lobby window: a chat line to the paired opponent.
    void sendChat(const QString& text);
    // "起　動": starts the game program of the logged-in game.
    void startGame();
    // The last word to the server and the sockets closed (program end).
    void ThisExit();

private:
    void onSocketEvent(net::SocketHandle socket, int event, int error);
    // What the server said, one message.
    void ClientDispatch(const QString& text);
    void onLogin(const QString& text);
    void onLoginTimeout();
    void endLoginAttempt();
    void onGameMsg(const QString& text);
    void closeDataSock();
    void send(const QString& text);
    QString gameName(int kind) const;
    // The user a line of the list stands for (found by the index the line
    // begins with), or null.
    const lobby::UserListEntry* userOfLine(const QString& line) const;

    LobbyView& view_;
    QString folder_;
    ProgramStarter starter_;
    ClientTransport& transport_;
    LoginRecord loginRecord_;  // the login in effect, once accepted
    int MyIndex_ = 0;
    bool InBattle_ = false;
    QString KindText_;
    bool fLog_ = true;
    std::unique_ptr<ClientTimer> Timer1_;
    net::SocketHandle dataSock_ = 0;
    bool connected_ = false;
    bool loginPending_ = false;  // connecting, or waiting for the login reply
    LoginRecord pending_;        // the dialog's values while the login is under way
    QString loginMessage_;
    // The users as the last list showed them: who may be challenged or
    // watched is decided from them, not from words in a line, which hold
    // IDs ("Meg", "Battler") as well.
    std::vector<lobby::UserListEntry> users_;
    // Runs from "送　信" until the login is answered: neither a dropped
    // connect nor a silent service may keep the login dialog locked.
    std::chrono::milliseconds loginTimeout_;
    std::unique_ptr<ClientTimer> loginTimer_;
};

}  // namespace lobbyclient
