#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "servertransport.h"
#include "usertable.h"

namespace lobby {

// The lobby server's core: the slot table and everything the server does
// with it, driven by the four things that happen to a server: a connection is
// accepted, a message arrives, a peer closes, a timer fires. It owns no socket
// and no timer, so the program binds it to real ones (ServerHost) and the
// tests call the same entry points directly, minutes included.
//
// What the window shows comes out as signals: `statusChanged` and
// `msgChanged` for its two text boxes, `minuteCountChanged` for the minute
// label, `invalidData` for the invalid-data box. A receiver may open a modal
// box on `invalidData`: the core has finished with the message by then.
class LobbyServer : public QObject {
    Q_OBJECT
public:
    // Milliseconds of a monotonic clock; only differences are used.
    using Clock = std::function<qint64()>;

    static constexpr int kLoginSweepMs = 5000;  // Timer1
    static constexpr int kMinuteMs = 60000;     // Timer2
    // A connection that has not logged in is dropped at the first login
    // sweep at least this long after it was accepted.
    static constexpr qint64 kLoginGraceMs = 5000;

    // `loginFolder` is where "BrellowLogIn.txt" is looked up (without regard
    // to the case of its name) at every login.
    LobbyServer(ServerTransport& transport, QString loginFolder, Clock clock,
                QObject* parent = nullptr);

    // A connection has been accepted on `socket` (FD_ACCEPT). It gets the
    // lowest free slot, or "LOGIN|No|END" and is closed when all 50 are taken.
    void acceptConnection(SocketHandle socket, const QString& peerIp, quint16 peerPort);

    // One whole message has arrived on `socket` (FD_READ).
    void receiveMessage(SocketHandle socket, const QString& text);

    // The peer of `socket` has closed it (FD_CLOSE).
    void connectionClosed(SocketHandle socket);

    // Timer1: drops connections that have not logged in within their grace
    // time, and any slot left logged in without a connection.
    void loginSweep();

    // Timer2: counts a minute and runs `Death`.
    void minuteTick();

    // Drops every user whose last poll is more than one minute tick behind:
    // a client that stops polling goes at the second tick after its last poll.
    void Death();

    // Ends user `u`'s connections and frees the slot; a paired opponent's
    // client is told "HisNone|END". `u` must be 0..52.
    void CloseUser(int u);

    // Forgets what user `u` watches. `u` must be 0..52.
    void ClearWatch(int u);

    // Closes every connection the table holds and empties it (program end).
    void ThisExit();

    const UserTable& users() const { return userTable_; }
    int minuteCount() const { return minuteCount_; }

signals:
    void statusChanged(const QString& text);
    void msgChanged(const QString& text);
    void minuteCountChanged(int minutes);
    void invalidData(const QString& text);

private:
    // Which of a slot's two connections a message came on.
    enum class Via { Lobby, Game };

    void ServerDispatch(int k, Via via, const QString& text);
    void handleLogin(int k, const QString& text);
    void sendUserList(int k);
    void handleGameStart(int k, const QString& text);
    void handleWatch(int k, const QString& text);
    void handleChat(int k, const QString& text);
    void handleGmok(int k, const QString& text);
    void relayToOpponentGame(int k, const QString& text);
    void handleMove(int k, const QString& text);
    void handleGameLogin(int k, const QString& text);
    void gameProgramGone(int slot);

    // True when watcher `w` watches the game that user `k` plays right now.
    bool watchesGameOf(int w, int k) const;

    void reportInvalidData();
    void send(SocketHandle socket, const QString& text);

    ServerTransport& transport_;
    QString loginFolder_;
    Clock clock_;
    UserTable userTable_;
    int minuteCount_ = 0;
};

}  // namespace lobby
