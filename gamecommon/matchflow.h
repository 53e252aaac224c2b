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
};

}  // namespace gamecommon
