// Faults a running system meets: a game program that dies in the middle of a
// game, a lobby server that goes down and comes back while users are logged
// in, and a client that stops reading what the server sends it.

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

#include "blockingpeer.h"
#include "brellowprocess.h"
#include "lobbyuser.h"
#include "rawclient.h"
#include "varneldriver.h"
#include "widgetdriver.h"

namespace {

using User = test::LobbyUser<shogi::VarnelWindow>;
using testsupport::child;

const QStringList kNames = {QStringLiteral("taro"), QStringLiteral("hana")};

// Both users logged in to the server; true when the server accepted both.
bool logInAll(User& taro, User& hana) {
    for (User* u : {&taro, &hana}) {
        u->logIn();
        if (!QTest::qWaitFor([u] { return !u->lobby->client().fLog(); })) return false;
    }
    return true;
}

// The game program dies as a killed process does: its connection to the
// server is reset at once, with no last word, and the program is gone.
void killGameProgram(User& u) {
    const linger now{1, 0};
    for (QTcpSocket* socket : u.game->findChildren<QTcpSocket*>()) {
        ::setsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now,
                     sizeof now);
        socket->abort();
    }
    u.game.reset();
}

// Both users paired, both game programs linked, and a move each way: taro
// (先手) moved his rook's pawn, hana her bishop's.
void pairAndPlayTwoMoves(User& taro, User& hana) {
    ASSERT_TRUE(logInAll(taro, hana));
    taro.lobby->client().pollUsers();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.lines().size() == 2; }));
    taro.challenge(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.lobby->client().InBattle(); }));
    child<QPushButton>(*taro.lobby, "Start")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.log().startsWith(u"SERVER:>taroはゲ"); }));
    child<QPushButton>(*hana.lobby, "Start")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.log().startsWith(u"SERVER:>hanaはゲ"); }));
    shogi::test::dragOnBoard(taro.game->board(),
                             shogi::test::cellCentre(taro.game->board(), {2, 6}),
                             shogi::test::cellCentre(taro.game->board(), {2, 5}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.game->state().MoveNo == 1; }));
    shogi::test::dragOnBoard(hana.game->board(),
                             shogi::test::cellCentre(hana.game->board(), {6, 6}),
                             shogi::test::cellCentre(hana.game->board(), {6, 5}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.game->state().MoveNo == 2; }));
}

QString messageBox(const User& u) {
    return child<QPlainTextEdit>(*u.game, "Text2")->toPlainText();
}

// taro's program dies; the game waits, and hana's program says so. taro
// starts his program again from the lobby client: the new one, which knew
// nothing, shows the game where it was, and the game goes on.
TEST(Faults, AGameProgramKilledMidGameIsAwaitedAndStartedAgainTakesTheGameUp) {
    test::LobbyServerProcess server(kNames);
    ASSERT_TRUE(server.started());
    User taro(kNames[0], 0), hana(kNames[1], 0);
    pairAndPlayTwoMoves(taro, hana);
    if (HasFatalFailure()) return;
    const shogi::Board before = taro.game->position().Ban;
    killGameProgram(taro);

    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return messageBox(hana) == u"相手の接続が切れました。戻るのを待っています。"; }));
    EXPECT_TRUE(taro.lobby->client().InBattle());
    EXPECT_TRUE(hana.lobby->client().InBattle());
    EXPECT_FALSE(hana.log().startsWith(u"ShutDown"));

    child<QPushButton>(*taro.lobby, "Start")->click();
    ASSERT_TRUE(taro.game);
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.game->state().MoveNo == 2; }));
    EXPECT_EQ(taro.game->position().Ban, before);
    EXPECT_TRUE(taro.game->state().MyTurn);
    EXPECT_EQ(taro.game->state().MySide, u"先手");
    EXPECT_EQ(taro.game->windowTitle(), u"通信将棋：あなた=先手:第 2手");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return messageBox(hana) == u"相手が戻りました。対局を続けます。"; }));

    shogi::test::dragOnBoard(taro.game->board(),
                             shogi::test::cellCentre(taro.game->board(), {2, 5}),
                             shogi::test::cellCentre(taro.game->board(), {2, 4}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.game->state().MoveNo == 3; }));
    EXPECT_TRUE(hana.game->state().MyTurn);
    EXPECT_FALSE(taro.game->state().MyTurn);
}

// Not back within the wait: the match ends for both as a program's end
// always ended it.
TEST(Faults, AGameProgramNotBackInTimeEndsTheMatchForBoth) {
    test::LobbyServerProcess server(kNames, {QStringLiteral("--rejoin-wait"), QStringLiteral("1")});
    ASSERT_TRUE(server.started());
    User taro(kNames[0], 0), hana(kNames[1], 0);
    pairAndPlayTwoMoves(taro, hana);
    if (HasFatalFailure()) return;
    killGameProgram(taro);

    // hana's program is sent away, and both lobby clients say so.
    ASSERT_TRUE(QTest::qWaitFor([&] { return messageBox(hana) == u"CLOSE"; }));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return taro.log().startsWith(u"ShutDown") && hana.log().startsWith(u"ShutDown"); }));
    EXPECT_FALSE(taro.lobby->client().InBattle());
    EXPECT_FALSE(hana.lobby->client().InBattle());
    EXPECT_FALSE(child<QPushButton>(*hana.lobby, "Start")->isEnabled());
    EXPECT_FALSE(hana.game->match().rejoining());
}

TEST(Faults, AfterTheServerRestartsTheClientsSayItAndLogInAgain) {
    std::optional<test::LobbyServerProcess> server(std::in_place, kNames);
    ASSERT_TRUE(server->started());
    User taro(kNames[0], 0), hana(kNames[1], 0);
    ASSERT_TRUE(logInAll(taro, hana));

    server.reset();
    for (User* u : {&taro, &hana})
        EXPECT_TRUE(QTest::qWaitFor([u] { return u->log().startsWith(u"SERVER:>CLOSE"); }))
            << u->id.toStdString();
    // The new server listens where the system puts it; the clients reach it
    // there, as users would at the address the old one had.
    server.emplace(kNames);
    ASSERT_TRUE(server->started());

    // Each logs out of the lost login and in again; the slots start afresh.
    for (User* u : {&hana, &taro}) {
        child<QPushButton>(*u->lobby, "LOGINbtn")->click();
        ASSERT_TRUE(u->lobby->client().fLog());
    }
    ASSERT_TRUE(logInAll(hana, taro));
    EXPECT_EQ(hana.lobby->client().MyIndex(), 1);
    EXPECT_EQ(taro.lobby->client().MyIndex(), 2);
    taro.lobby->client().pollUsers();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.lines().size() == 2; }));
    EXPECT_EQ(taro.lines(),
              (QStringList{QStringLiteral(" 1 hana 将棋 "), QStringLiteral(" 2 taro 将棋 Me")}));
}

QString loginOf(int user) {
    return QStringLiteral("SVMSG_LOGIN|u%1,p%1,m%1, 0|END").arg(user);
}

// The answer to one poll of a logged-in raw client; empty when none came
// within 5 s.
QString pollAnswer(lobbytest::RawClient& c, const QString& poll) {
    c.send(poll);
    if (!lobbytest::waitUntil([&] { return c.pending().endsWith(u"|END"); }, 5000)) return {};
    const QString answer = c.pending();
    c.next(answer);
    return answer;
}

// One poll of a logged-in raw client: how long its answer took, or -1 when
// none came within 5 s.
qint64 pollTime(lobbytest::RawClient& c, const QString& poll) {
    QElapsedTimer clock;
    clock.start();
    return pollAnswer(c, poll).startsWith(u"AddFriends|") ? clock.elapsed() : -1;
}

TEST(Faults, AClientThatStopsReadingIsCutAtTheCapWhileTheOthersAreServed) {
    constexpr qint64 kAnswerMs = 2000;
    constexpr qint64 kGrowthKib = 64 * 1024;
    testsupport::BrellowProcess server({QStringLiteral("1,u1,p1,m1,x"),
                                        QStringLiteral("2,u2,p2,m2,x"),
                                        QStringLiteral("3,u3,p3,m3,x")});
    ASSERT_TRUE(server.start()) << server.errors().toStdString();
    lobbytest::RawClient other(server.port);
    ASSERT_TRUE(other.connected());
    other.send(loginOf(1));
    ASSERT_TRUE(other.next(QStringLiteral("LOGIN|OK| 1|END")));
    const QString poll = QStringLiteral("GetGameData|u1|p1|1|END");
    ASSERT_GE(pollTime(other, poll), 0);
    const qint64 before = server.residentKib();

    // u2 talks to u3, who has stopped reading: every line waits for u3.
    lobbytest::BlockingPeer talker(server.port), stuck(server.port);
    ASSERT_TRUE(talker.connected() && stuck.connected());
    talker.send(loginOf(2));
    ASSERT_EQ(talker.receiveMessage(5000), u"LOGIN|OK| 2|END");
    stuck.send(loginOf(3));  // its answer is never read
    // Its login has been handled once the others' list shows it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return pollAnswer(other, poll).contains(u"u3,0, 3,"); }));
    talker.send(QStringLiteral("GameStart|u2|p2|3|END"));
    ASSERT_EQ(talker.receiveMessage(5000), u"GameMsg|Battle|u3| 3|END");
    talker.flood(QStringLiteral("GameMsg|u2>") + QString(200, u'話') + QStringLiteral("| 0|END"));

    // The others are answered at once meanwhile, until u3 is cut off and u2
    // is told that his opponent has gone.
    QString told;
    QElapsedTimer flooding;
    flooding.start();
    while (flooding.elapsed() < 20000) {
        const qint64 took = pollTime(other, poll);
        EXPECT_GE(took, 0);
        EXPECT_LE(took, kAnswerMs);
        told = talker.receiveMessage(100);
        if (!told.isEmpty()) break;
    }
    const qint64 peak = server.peakResidentKib();
    EXPECT_EQ(told, u"HisNone|END");
    EXPECT_LT(peak - before, kGrowthKib) << before << " KiB before, " << peak << " KiB at most";
    other.send(poll);
    EXPECT_TRUE(
        other.next(QStringLiteral("AddFriends|u1,0, 1,False,False,u2,0, 2,False,False|END")));
    talker.stop();
}

}  // namespace
