#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "ackpacer.h"
#include "framingrules.h"
#include "loginfile.h"
#include "loginthrottle.h"
#include "notice.h"
#include "publiclobby.h"
#include "servertransport.h"
#include "usertable.h"
#include "waitingpool.h"

namespace lobby {

// How much a report matters to whoever keeps a log of the server: events
// (logins, pairings, links, closes, refusals, faults) always, traffic (every
// message received, every connect, every chat line) only when asked for. A
// window shows both alike.
enum class Report { Event, Traffic };

// The lobby server's core: the slot table and everything the server does
// with it, driven by the four things that happen to a server: a connection is
// accepted, a message arrives, a peer closes, a timer fires. It owns no socket
// and no timer, so the program binds it to real ones (ServerHost) and the
// tests call the same entry points directly, minutes included.
//
// A connection takes one of the 50 slots only when it logs in; until then it
// waits in a pool of its own (WaitingPool) and may do nothing but log in.
//
// What the window shows comes out as signals: `statusChanged` and
// `msgChanged` for its two text boxes, each with the kind of report it is,
// `minuteCountChanged` for the minute label, `invalidData` for the
// invalid-data box. Each text comes in Japanese, as a log keeps it, and as
// the Notice a window shows in the user's language. A received message is
// shown with its password masked, and as it came. A receiver may open a
// modal box on `invalidData`: the core has finished with the message by
// then.
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
    // A login held for its turn (its address is slowed down after failed
    // logins) is given up, unchecked, after this long: the waiting is
    // bounded, and a client has given up long before.
    static constexpr qint64 kLoginHoldMs = 20000;

    // `loginFolder` is where "BrellowLogIn.txt" is looked up (without regard
    // to the case of its name) at every login.
    LobbyServer(ServerTransport& transport, QString loginFolder, Clock clock,
                QObject* parent = nullptr);

    // A connection has been accepted on `socket` (FD_ACCEPT). It waits for
    // its login in the pool, which may push out the connection that has
    // waited longest to make room.
    void acceptConnection(SocketHandle socket, const QString& peerIp, quint16 peerPort);

    // One whole message has arrived on `socket` (FD_READ).
    void receiveMessage(SocketHandle socket, const QString& text);

    // The peer of `socket` has closed it (FD_CLOSE).
    void connectionClosed(SocketHandle socket);

    // How long a match waits for a player whose game program's connection
    // was lost mid-game to log it in again; 0 (at first): it ends at once.
    void setRejoinWaitMs(qint64 ms) { rejoinWaitMs_ = ms > 0 ? ms : 0; }
    qint64 rejoinWaitMs() const { return rejoinWaitMs_; }

    // Whether every message received is reported (`statusChanged`, as
    // traffic); on at first. A log that keeps no traffic turns it off, and the
    // server is spared a report for every move it relays.
    void setMessageReports(bool on) { messageReports_ = on; }

    // Timer1: drops connections that have not logged in within their grace
    // time, and any slot left logged in without a connection.
    void loginSweep();

    // What was due by now of the things the server does later than the
    // message that caused them: a held login's turn, a paced message whose
    // acknowledgement did not come. The owner calls it at the time
    // `wakeRequested` asks for (or sooner: it does only what is due).
    void wake();

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
    // What anyone may see of the lobby right now.
    PublicLobby publicLobby() const;
    int minuteCount() const { return minuteCount_; }
    // Connections accepted and not logged in yet.
    std::size_t waitingCount() const { return waiting_.size(); }

signals:
    void statusChanged(const QString& text, lobby::Report kind, const lobby::Notice& notice);
    void msgChanged(const QString& text, lobby::Report kind, const lobby::Notice& notice);
    void minuteCountChanged(int minutes);
    void invalidData(const QString& text, const lobby::Notice& notice);
    // `wake` is wanted at `atMs` of the server's clock.
    void wakeRequested(qint64 atMs);

    // For an onlooker of the lobby (the web front); nothing private goes out.
    // Who is on and which games run, whenever that changed.
    void lobbyChanged(const lobby::PublicLobby& lobby);
    // Two users were paired for game `number`.
    void gameBegan(quint64 number, int gameKind, const QString& challenger,
                   const QString& challenged);
    // A move, an end-of-game or a conversation message of game `number` that
    // the server relayed from `fromId`'s game program, as relayed. Chat lines
    // and acknowledgements are not handed out.
    void gameRelayed(quint64 number, const QString& fromId, const QString& text);
    // The server ended game `number` (its players may have ended it before).
    void gameEnded(quint64 number, lobby::GameEndCause cause);

private:
    // Which of a slot's connections a message came on: the lobby client's,
    // the linked game program's, or an earlier game connection of the user
    // that a later one replaced.
    enum class Via { Lobby, Game, Stale };

    void waitingDispatch(SocketHandle socket, const QString& text);
    void dropWaiting(SocketHandle socket);
    void ServerDispatch(int k, Via via, const QString& text);
    // Whether the login on `socket` must wait for its turn; it is then held.
    bool holdLogin(SocketHandle socket, const QString& text);
    // Checks the held logins whose turn has come.
    void checkHeldLogins();
    void handleLogin(SocketHandle socket, const QString& text, bool turnTaken = false);
    void reportSkippedLines();
    void sendUserList(int k);
    void handleGameStart(int k, const QString& text);
    void handleWatch(int k, const QString& text);
    void handleChat(int k, const QString& text);
    void handleGmok(int k, const QString& text);
    void relayToOpponentGame(int k, const QString& text);
    void handleMove(int k, const QString& text);
    void handleGameLogin(SocketHandle socket, const QString& text, bool turnTaken = false);
    // User `slot`'s linked game program closed its connection, or said it
    // leaves (`onPurpose`). In a game still being played a connection that
    // was lost waits for the program to come back.
    void gameProgramGone(int slot, bool onPurpose = false);
    // The match of `slot` ends because his game program is gone: both game
    // connections close and both clients hear "ShutDown".
    void endMatchOfGone(int slot);
    // The waits whose time is up end their matches.
    void checkRejoinWaits();
    // User `k`'s game program, linked again, is given the game's last move
    // (its own as "OwnMove"), once per connection.
    void sendResume(int k);
    // Closes a game program's connection on purpose, after telling it so
    // ("GameLeave") when that can go in a read of its own.
    void sendAway(SocketHandle socket);
    // Relays `text` of user `k`'s game program to his opponent's; while that
    // one is away and awaited, the server acknowledges in his stead.
    void relayOrStandIn(int k, const QString& text);
    // Marks the game of `k` as ended by its players when `text` (a relayed
    // end-of-game or conversation message) ends it.
    void noteGameDecided(int k, const QString& text);
    // Closes the earlier game connection user `u` may have kept open.
    void closeStaleGameSock(int u);
    // Ends what watcher `w` watches, and his earlier game connection.
    void endWatch(int w);

    // A message of the server's own for a game program, paced by its
    // acknowledgements (AckPacer).
    void sendPaced(SocketHandle socket, const QString& text);
    // The game program on `socket` acknowledged a read.
    void pacedAcknowledged(SocketHandle socket);
    // Tells watcher `w`'s game program who plays, once it is linked and the
    // first move has shown who is first.
    void sendWatchData(int w);

    // True when watcher `w` watches the game that user `k` plays right now.
    bool watchesGameOf(int w, int k) const;
    // Counts the users who watch a game, after a watch began or ended: a move
    // nobody watches is not looked for among all the slots' watches.
    void countWatchers();
    void requestWake(qint64 atMs);
    // Ends every watch of the game between `a` and `b`.
    void endWatchesOf(int a, int b);

    // Sends a text built from what a peer sent to a lobby client, provided
    // the client reads it as the one message it is, whether it frames the
    // stream or searches each read for keywords: a field that ends early
    // ("...|END" + "Dead"), or a keyword that such a client finds first
    // ("LOGIN" in a chat line), would let a peer slip a notice of the
    // server's in. Returns whether it went.
    bool relayToClient(SocketHandle socket, const QString& text);

    void reportStatus(const Notice& notice, Report kind);
    void reportMsg(const Notice& notice, Report kind);
    void reportInvalidData();
    void send(SocketHandle socket, const QString& text);

    // Marks the public view of the lobby as changed; `publishLobby`, at the
    // end of each entry point, hands it out once.
    void touchLobby() { lobbyTouched_ = true; }
    void publishLobby();
    // A game message of user `k`'s game relayed: handed to an onlooker.
    void handOutRelayed(int k, const QString& text);
    // User `k`'s game ends by the server's hand.
    void endGameOf(int k, GameEndCause cause);

    ServerTransport& transport_;
    UserFile userFile_;
    Clock clock_;
    UserTable userTable_;
    WaitingPool waiting_;
    LoginThrottle throttle_;
    AckPacer pacer_;
    net::FramingRules clientFraming_;
    int minuteCount_ = 0;
    int watchers_ = 0;  // users watching a game, as last counted
    bool messageReports_ = true;
    qint64 rejoinWaitMs_ = 0;
    quint64 lastGameNumber_ = 0;
    bool lobbyTouched_ = false;
    PublicLobby publishedLobby_;
};

}  // namespace lobby
