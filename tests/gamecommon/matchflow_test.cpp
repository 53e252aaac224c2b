// The match flow on scripted sockets and a hand-moved clock: connecting,
// the login watchdog, what each message from the peer does, the moves and
// the clocks, and the end of a connection. No socket, no wait. (The game
// windows' wire tests drive the rest through the shogi and go flows.)

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <functional>

#include "loginsettings.h"
#include "matchflow.h"
#include "scriptedmatchtransport.h"

namespace gamecommon {
namespace {

using testsupport::FlowHandClock;
using testsupport::ScriptedMatchTransport;

const QString kAck = QStringLiteral("SYOUGI_MSG3:SEND_OK");
const QString kLogin = QStringLiteral("GameLogin|taro|pw|taro@example.jp|END");

// What a window would show, kept as text.
class RecordingView : public MatchView {
public:
    QString status, message, title, clocks;
    QStringList boxes;
    bool sendEnabled = false, serverMenu = true, closeMenu = false;
    int alerts = 0;

    void setStatusText(const QString& t) override { status = t; }
    void setMessageText(const QString& t) override { message = t; }
    QString messageText() const override { return message; }
    void setPlayerBox(std::size_t, const QString&) override {}
    void setTitle(const QString& t) override { title = t; }
    void showMessageBox(const QString& t) override { boxes << t; }
    void setSendEnabled(bool on) override { sendEnabled = on; }
    void setServerMenuEnabled(bool on) override { serverMenu = on; }
    void setCloseMenuEnabled(bool on) override { closeMenu = on; }
    void setGameMenusEnabled(bool) override {}
    void setStrengthMenuEnabled(bool) override {}
    void showStrengthItems(const std::array<bool, 6>&, const std::array<bool, 6>&) override {}
    void drawClocks(const QString& opp, const QString& own) override { clocks = opp + u' ' + own; }
    void repaintBoard() override {}
    void alert() override { ++alerts; }
};

// The smallest game: a move is its number ("SYOUGI_MSG2:7:END").
class NumberMatch : public MatchFlow {
public:
    using MatchFlow::MatchFlow;
    int shown = 0;

protected:
    QString BuildMoveMsg() override {
        return QStringLiteral("SYOUGI_MSG2:%1:END").arg(++state().MoveNo);
    }
    bool takeMove(QStringView text) override {
        bool ok = false;
        const int n = text.sliced(text.indexOf(u':') + 1).chopped(4).toInt(&ok);
        if (!ok || n <= 0) return false;
        state().MoveNo = n;
        return true;
    }
    void showReceivedMove() override { ++shown; }
    QString gameTitle() const override { return state().MySide + QString::number(state().MoveNo); }
    void showPlayers(const QString&, const QString&) override {}
    QString ownMoveRecordLine() const override { return {}; }
    QString receivedRecordLine() const override { return {}; }
};

// One game program on scripted sockets, with "LOGIN.TXT" naming its server.
struct Program {
    Program() {
        writeLoginSettings(loginPath(),
                           {QStringLiteral("taro"), QStringLiteral("pw"),
                            QStringLiteral("taro@example.jp"), QStringLiteral("lobby.example.jp")});
        match.startUp();
    }
    QString loginPath() const { return loginFileIn(folder.path()); }

    // Connected to the server and logged in.
    void connectToServer() {
        match.onActivated();
        sockets.connectDone();
        sockets.take();
    }
    // Connected to another program through our own listener.
    void takePeer() {
        match.startListening();
        sockets.knock();
    }

    QTemporaryDir folder;
    ScriptedMatchTransport sockets;
    FlowHandClock clock;
    RecordingView view;
    NumberMatch match{view, loginPath(), sockets, clock};
};

TEST(MatchFlow, ConnectsToTheServerOfTheLoginFileOnceAndLogsIn) {
    Program p;
    p.match.onActivated();
    EXPECT_EQ(p.sockets.servers, QStringList{QStringLiteral("lobby.example.jp")});
    EXPECT_FALSE(p.view.serverMenu);
    EXPECT_TRUE(p.view.closeMenu);
    p.match.onActivated();  // on its way already
    p.sockets.connectDone();
    EXPECT_EQ(p.view.message, u"サーバーと接続が完了しました。");
    EXPECT_EQ(p.sockets.take(), QStringList{kLogin});
    EXPECT_TRUE(p.match.state().IsConnected && p.match.state().LoginDone && p.view.sendEnabled);
    p.match.onActivated();  // connected
    EXPECT_EQ(p.sockets.servers.size(), 1);
}

TEST(MatchFlow, AFailedConnectHoldsNoSocketAndTheNextActivationTriesAgain) {
    Program p;
    p.match.onActivated();
    const net::SocketHandle first = p.sockets.connection();
    p.sockets.connectDone(10061);
    EXPECT_EQ(p.match.DataSock(), 0);
    EXPECT_FALSE(p.sockets.isOpen(first));
    EXPECT_TRUE(p.view.message.isEmpty() && p.view.boxes.isEmpty());  // the watchdog tells
    p.match.onActivated();
    EXPECT_EQ(p.sockets.servers.size(), 2);
}

TEST(MatchFlow, AMissingLoginFileOrAnUnusablePortIsABox) {
    Program p;
    p.sockets.connectErrorText = QStringLiteral("QUOR_PORT is no port");
    p.match.onActivated();
    EXPECT_EQ(p.view.boxes, QStringList{p.sockets.connectErrorText});
    EXPECT_EQ(p.match.DataSock(), 0);

    p.view.boxes.clear();
    QFile::remove(p.loginPath());
    p.match.onActivated();
    EXPECT_EQ(p.view.boxes, QStringList{QStringLiteral("File Error")});
    EXPECT_EQ(p.sockets.servers.size(), 1);
}

TEST(MatchFlow, TheWatchdogCutsOnlyAServerConnectionThatHasNotLoggedIn) {
    struct Case {
        const char* name;
        std::function<void(Program&)> begin;
        bool cut;
    };
    const Case cases[] = {
        {"server silent", [](Program& p) { p.match.onActivated(); }, true},
        {"logged in", [](Program& p) { p.connectToServer(); }, false},
        {"peer of our listener", [](Program& p) { p.takePeer(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p;
        c.begin(p);
        const net::SocketHandle socket = p.match.DataSock();
        p.clock.advance(2999);
        EXPECT_TRUE(p.sockets.isOpen(socket));
        p.clock.advance(1);
        EXPECT_EQ(p.sockets.isOpen(socket), !c.cut);
        EXPECT_EQ(p.match.DataSock() == 0, c.cut);
        EXPECT_EQ(p.view.message == u"CLOSE", c.cut);
        EXPECT_EQ(p.match.Timer2().isActive(), !c.cut);
    }
}

TEST(MatchFlow, WhatEachMessageFromThePeerDoes) {
    struct Case {
        QString text;
        QString shown;  // in the message box afterwards
        bool acknowledged;
        bool clockRuns;
    };
    const Case cases[] = {
        {QStringLiteral("SYOUGI_MSG4:こんにちは:元気?"), QStringLiteral("こんにちは:元気?"), true,
         true},
        {QStringLiteral("SYOUGI_MSG6:宜しくお願いします。"), QStringLiteral("宜しくお願いします。"),
         true, true},
        {QStringLiteral("SYOUGI_MSG5:あなたの負けです。"), QStringLiteral("あなたの負けです。"),
         true, false},
        {kAck, QString(), false, true},
        {QStringLiteral("SYOUGI_MSG1:x"), QString(), true, true},
        {QStringLiteral("SYOUGI_MSG2:zz:END"), QString(), true, true},  // no move: changes nothing
        {QStringLiteral("hello"), QString(), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        Program p;
        p.connectToServer();
        p.match.SendMove();  // the clocks run from the first move
        p.sockets.take();
        p.view.message.clear();
        p.sockets.send(c.text);
        EXPECT_EQ(p.view.message, c.shown);
        EXPECT_EQ(p.sockets.take(), c.acknowledged ? QStringList{kAck} : QStringList{});
        EXPECT_EQ(p.match.Timer1().isActive(), c.clockRuns);
        EXPECT_EQ(p.match.state().MoveNo, 1);
    }
}

TEST(MatchFlow, MovesTakeTurnsAndEachSideClockCounts) {
    Program p;
    p.connectToServer();
    p.match.SendMove();
    EXPECT_EQ(p.sockets.take(), QStringList{QStringLiteral("SYOUGI_MSG2:1:END")});
    EXPECT_EQ(p.match.state().MySide, u"先手");
    EXPECT_EQ(p.view.status, u"相手は考え中");
    EXPECT_EQ(p.match.Timer1().interval(), 1000);
    p.clock.advance(2000);
    EXPECT_EQ(p.match.state().Clocks, (std::array<qint32, 2>{2, 0}));  // the opponent's

    p.sockets.send(QStringLiteral("SYOUGI_MSG2:2:END"));
    EXPECT_EQ(p.match.shown, 1);
    EXPECT_EQ(p.view.alerts, 1);
    EXPECT_EQ(p.view.status, u"あなたの番");
    EXPECT_EQ(p.view.title, u"先手2");
    EXPECT_EQ(p.sockets.take(), QStringList{kAck});
    p.clock.advance(1000);
    EXPECT_EQ(p.match.state().Clocks, (std::array<qint32, 2>{2, 1}));
    EXPECT_EQ(p.view.clocks, u"0h00m02s 0h00m01s");
}

TEST(MatchFlow, AConnectionEndedOnPurposeIsNotJoinedAgain) {
    struct Case {
        const char* name;
        std::function<void(Program&)> end;
        QString message;
        QString status;
        QStringList said;  // by the program on its way out
    };
    const Case cases[] = {
        {"the server sends it away",
         [](Program& p) {
             p.sockets.send(QStringLiteral("GameLeave|END"));
             p.sockets.peerCloses();
         },
         QStringLiteral("CLOSE"),
         QStringLiteral("相手は考え中"),
         {kAck}},
        {"切断",
         [](Program& p) { p.match.disconnect(); },
         QString(),
         QStringLiteral("切断しました"),
         {QStringLiteral("GameLeave|END")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p;
        p.connectToServer();
        const net::SocketHandle socket = p.match.DataSock();
        p.match.SendMove();
        p.sockets.take();
        c.end(p);
        EXPECT_EQ(p.sockets.sentOn(socket), c.said);
        EXPECT_EQ(p.view.message, c.message);
        EXPECT_EQ(p.view.status, c.status);
        EXPECT_FALSE(p.sockets.isOpen(socket));
        EXPECT_EQ(p.match.DataSock(), 0);
        EXPECT_FALSE(p.match.Timer1().isActive());
        EXPECT_FALSE(p.match.state().IsConnected);
        EXPECT_FALSE(p.view.sendEnabled);
        EXPECT_TRUE(p.view.serverMenu);
        EXPECT_FALSE(p.view.closeMenu);
        p.clock.advance(MatchFlow::kRejoinForMs);
        EXPECT_EQ(p.sockets.servers.size(), 1);
        p.match.onActivated();  // a new connection may start
        EXPECT_EQ(p.sockets.servers.size(), 2);
    }
}

// A lost connection: the program connects again after growing pauses, logs
// in, asks for the position in a read of its own and takes the game up
// where the server has it.
TEST(MatchFlow, ALostConnectionIsJoinedAgainAndTheGameGoesOn) {
    const QString move2 = QStringLiteral("SYOUGI_MSG2:2:END");
    const QString move3 = QStringLiteral("SYOUGI_MSG2:3:END");
    struct Case {
        const char* name;
        std::function<void(Program&)> lose;
        QStringList resume;  // what the server gives after the login
        QStringList sent;    // what the program answers
        bool myTurn;
        int moveNo;
    };
    const Case cases[] = {
        // The program's move 3 never reached the server: it goes again.
        {"closed, own move lost",
         [](Program& p) { p.sockets.peerCloses(); },
         {move2},
         {move3, kAck, QStringLiteral("GameRejoin|END")},
         false,
         3},
        // The opponent moved while the program was away.
        {"closed, opponent moved meanwhile",
         [](Program& p) { p.sockets.peerCloses(); },
         {QStringLiteral("SYOUGI_MSG2:4:END")},
         {kAck, QStringLiteral("GameRejoin|END")},
         true,
         4},
        // Nothing answered the move for too long.
        {"silent",
         [](Program& p) { p.clock.advance(MatchFlow::kSilenceLimitMs); },
         {QStringLiteral("OwnMove|3:END|END")},
         {kAck, QStringLiteral("GameRejoin|END")},
         false,
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Program p;
        p.connectToServer();
        p.match.SendMove();
        p.sockets.send(move2);
        p.match.SendMove();  // move 3
        p.sockets.take();
        const net::SocketHandle lost = p.match.DataSock();
        c.lose(p);
        EXPECT_FALSE(p.sockets.isOpen(lost));
        EXPECT_TRUE(p.match.rejoining());
        EXPECT_EQ(p.view.status, u"接続が切れました。つなぎ直しています");
        EXPECT_TRUE(p.view.closeMenu);
        p.match.onActivated();  // the rejoin is on its way: nothing more
        EXPECT_EQ(p.sockets.servers.size(), 1);

        // The first attempt after a second fails, the next after two more.
        p.clock.advance(MatchFlow::kFirstRejoinPauseMs);
        ASSERT_EQ(p.sockets.servers.size(), 2);
        p.sockets.connectDone(111);
        p.clock.advance(2 * MatchFlow::kFirstRejoinPauseMs);
        ASSERT_EQ(p.sockets.servers.size(), 3);
        p.sockets.connectDone();
        EXPECT_EQ(p.sockets.take(), QStringList{kLogin});
        for (const QString& message : c.resume)
            p.sockets.send(message);
        p.clock.advance(MatchFlow::kRejoinAskDelayMs);
        EXPECT_EQ(p.sockets.take(), c.sent);
        EXPECT_FALSE(p.match.rejoining());
        EXPECT_EQ(p.match.state().MyTurn, c.myTurn);
        EXPECT_EQ(p.match.state().MoveNo, c.moveNo);
        EXPECT_EQ(p.match.state().MySide, u"先手");
    }
}

TEST(MatchFlow, RejoiningStopsWhenTheServerWaitsNoLonger) {
    Program p;
    p.connectToServer();
    p.sockets.peerCloses();
    for (int attempt = 0; attempt < 20 && p.match.rejoining(); ++attempt) {
        p.clock.advance(MatchFlow::kLongestRejoinPauseMs);
        if (p.match.DataSock() != 0) p.sockets.connectDone(111);
    }
    EXPECT_FALSE(p.match.rejoining());
    EXPECT_EQ(p.view.status, u"つなぎ直せませんでした");
    const qsizetype attempts = p.sockets.servers.size() - 1;
    EXPECT_GE(attempts, 9);
    p.clock.advance(MatchFlow::kRejoinForMs);
    EXPECT_EQ(p.sockets.servers.size() - 1, attempts);
}

}  // namespace
}  // namespace gamecommon
