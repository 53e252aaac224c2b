#pragma once

#include <QObject>
#include <QString>
#include <QStringView>
#include <array>
#include <memory>

#include "flowclock.h"
#include "matchstate.h"
#include "matchtransport.h"
#include "matchview.h"

namespace gamecommon {

class RunningRecord;

// A game program's life as a network player, the same for every game: getting
// connected (to the lobby server named in "LOGIN.TXT" when the window becomes
// active, or by listening for another program), who moves first, sending and
// receiving moves, acknowledgements, chat and the canned lines, the clocks,
// resignation, disconnection and the login watchdog. The game itself (how a
// move is written, read and shown) is the subclass's. The sockets come
// through `transport` and the timers from `clock`, both owned by the caller
// and outliving the flow.
class MatchFlow : public QObject {
    Q_OBJECT

public:
    // Whether the flow gives up a server connection that has not logged in
    // within three ticks of Timer2.
    enum class Watchdog { Login, None };

    MatchFlow(MatchView& view, QString loginFilePath, MatchTransport& transport, FlowClock& clock,
              QObject* parent = nullptr, Watchdog watchdog = Watchdog::Login);
    ~MatchFlow() override;

    MatchState& state() { return state_; }
    const MatchState& state() const { return state_; }
    net::SocketHandle ListenSock() const { return listenSock_; }
    // The port the last listening got from the system (0 when it failed).
    quint16 listenPort() const { return listenPort_; }
    net::SocketHandle DataSock() const { return dataSock_; }
    int StrengthCount() const { return strengthCount_; }

    // The game clock, 1000 ms while a game runs.
    const FlowTimer& Timer1() const { return *timer1_; }
    // The login watchdog, 1000 ms from start-up (if the flow has one).
    const FlowTimer& Timer2() const { return *timer2_; }

    // At window load: the watchdog starts; a machine without sockets says so.
    void startUp();
    // The window became active: connect to the server of "LOGIN.TXT", unless a
    // connection is already there or on its way, or the program listens.
    void onActivated();
    // "サーバー（後手&S）": wait for another game program to connect.
    void startListening();
    // "切断(&A)": close everything without a word to the peer.
    void disconnect();
    // The send button: the message box text as a chat line.
    void sendChat();
    // "投了".
    virtual void resign();
    // A canned line of the conversation menus.
    void sendConversation(const QString& text);
    // The strength class i (0..5), announced once per connection.
    void chooseStrength(int i);
    // The match part of "初期化".
    void newGame();
    // Closes all sockets and stops the clocks (program end).
    void fileExit();

    // The running record that positions are added to while recording is on
    // (the main window's; none in a flow without a window).
    void setRecord(RunningRecord* record) { record_ = record; }

    // After every accepted move of the local player: the move goes out.
    void SendMove();
    // The local player's move ended the game: `message` goes to the peer and
    // `localText` is shown here; the clocks stop.
    void endGame(const QString& message, const QString& localText);

    // Clock and watchdog ticks, callable directly.
    void clockTick();
    void watchdogTick();

    // A game at the lobby server whose connection is lost (closed without a
    // word from the server, or silent too long) is joined again: the program
    // connects anew after a pause that grows from one second to sixteen,
    // for as long as the server keeps a game waiting, logs in, and asks for
    // the last position (the server waits two minutes by default).
    static constexpr int kFirstRejoinPauseMs = 1000;
    static constexpr int kLongestRejoinPauseMs = 16000;
    static constexpr int kRejoinForMs = 150000;
    // How long after the login the position is asked for: the login goes in
    // a read of its own.
    static constexpr int kRejoinAskDelayMs = 300;
    // A message that is not answered within this long (every read is
    // acknowledged, by the opponent's program or by the server in his
    // stead) means the connection has gone silent.
    static constexpr int kSilenceLimitMs = 45000;
    void setSilenceLimitMs(int ms) { silenceLimitMs_ = ms; }
    // Whether the program is connecting again after a lost connection.
    bool rejoining() const { return rejoinActive_; }
    // The rejoin timer's and the silence timer's ticks, callable directly.
    void rejoinTick();
    void silenceTick();

protected:
    // The move message of the position after the local player's move;
    // increases MoveNo.
    virtual QString BuildMoveMsg() = 0;
    // Takes a received move apart and stores it (turned for a watcher);
    // false for a malformed move, which must change nothing.
    virtual bool takeMove(QStringView moveText) = 0;
    // Shows the position just taken (full redraw, piece sound).
    virtual void showReceivedMove() = 0;
    // What a box tells the player once a received move is shown (the king
    // in check, in a game that has one); nothing when all is well.
    virtual QString receivedMoveWarning() const { return {}; }
    // The window title during a game.
    virtual QString gameTitle() const = 0;
    // The conversation line that resigns.
    virtual QString resignMessage() const;
    // The players of the watched game arrived ("WatchData"): the first mover
    // and his opponent, shown in the player boxes as the game shows them.
    virtual void showPlayers(const QString& first, const QString& second) = 0;
    // A notice ("SYOUGI_MSG7") arrived; a game that takes notices shows it.
    virtual void noticeReceived(const QString& text) { static_cast<void>(text); }
    // Takes this program's own last move back from the server ("OwnMove",
    // after a rejoin): the move as it was sent, in the opponent's view, to
    // be shown as this player's; false for a malformed one, which must
    // change nothing.
    virtual bool takeOwnMove(QStringView moveText) {
        static_cast<void>(moveText);
        return false;
    }
    // The record line of the position after the local player's move, and of
    // the position just taken from a received move (as this player's window
    // shows it).
    virtual QString ownMoveRecordLine() const = 0;
    virtual QString receivedRecordLine() const = 0;

    void sendText(const QString& text);
    MatchView& view() { return view_; }

private:
    void onSocketEvent(net::SocketHandle socket, int event, int error);
    void onRead();
    // One whole message from the peer, as FD_READ hands it over: handled and,
    // unless it is an acknowledgement itself, acknowledged.
    void messageReceived(const QString& text);
    void onConnect(int error);
    void onAccept();
    void onRemoteClose();
    void closeDataSock();
    // Handles one received message; returns whether its acknowledgement is
    // suppressed (only an acknowledgement itself is not acknowledged).
    bool HandleGameMsg(const QString& text);
    void receiveMove(QStringView moveText, bool watched);
    // The first move message after a rejoin, which may repeat what this
    // program has (then it only says whose turn it is) or come before its
    // own last move that never arrived (then that move goes again). True
    // when it was dealt with so.
    bool resumedMove(QStringView moveText);
    void ownMoveReceived(QStringView text);
    // Whether a lost connection is to be joined again: a player's, at a
    // server, logged in, and not sent away.
    bool mayRejoin() const;
    void startRejoin();
    // The next attempt after a growing pause, or the end of the attempts.
    void scheduleRejoin();
    void stopRejoin();
    // Says "GameLeave" when the close that follows is the player's choice.
    void sayLeaving();
    // Reads that must be answered start the silence timer; any read stops it.
    void watchSilence(const QString& sent);
    void OnConnected();
    void showStrength();
    // While recording is on, adds the position after an own move (or after
    // the move just received) to the running record.
    void recordPosition(bool ownMove);

    MatchView& view_;
    QString loginFilePath_;
    MatchTransport& transport_;
    std::unique_ptr<FlowTimer> timer1_;
    std::unique_ptr<FlowTimer> timer2_;
    MatchState state_;
    net::SocketHandle listenSock_ = 0;
    quint16 listenPort_ = 0;
    net::SocketHandle dataSock_ = 0;
    bool peerAccepted_ = false;  // the data socket came from our own listener
    int strengthCount_ = 0;
    std::array<bool, 6> strengthChecked_{};
    std::array<bool, 6> strengthEnabled_{true, true, true, true, true, true};
    RunningRecord* record_ = nullptr;
    Watchdog watchdog_;
    std::unique_ptr<FlowTimer> rejoinTimer_;
    std::unique_ptr<FlowTimer> silence_;
    int silenceLimitMs_ = kSilenceLimitMs;
    bool sentAway_ = false;        // the server said it closes this connection on purpose
    bool rejoinActive_ = false;    // connecting again after a lost connection
    bool rejoinLoggedIn_ = false;  // ... and logged in: the position is asked next
    int rejoinPauseMs_ = 0;
    int rejoinWaitedMs_ = 0;
    bool awaitingResume_ = false;  // the next move message may repeat the last one
    QString lastSentMove_;         // this program's last move message
    qint32 lastSentMoveNo_ = 0;
    QString lastReceivedMove_;  // the opponent's last move message
    QString warning_;           // a box to show once the read is answered
};

}  // namespace gamecommon
