#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "lobbyuser.h"
#include "varneldriver.h"
#include "widgetdriver.h"

namespace {

using shogi::Cell;
using shogi::Kind;
using shogi::Square;

using User = test::LobbyUser<shogi::VarnelWindow>;
using testsupport::child;

// The mouse on this user's board.
void moveOn(User& u, Square from, Square to) {
    auto* board = u.game->board();
    shogi::test::dragOnBoard(board, shogi::test::cellCentre(board, from),
                             shogi::test::cellCentre(board, to));
}

TEST(LobbyMatch, TwoPlayersAndAWatcherThroughTheRealServer) {
    test::LobbyServerProcess server(
        {QStringLiteral("taro"), QStringLiteral("hana"), QStringLiteral("jiro")});
    ASSERT_TRUE(server.started());

    User taro(QStringLiteral("taro"), 0), hana(QStringLiteral("hana"), 0),
        jiro(QStringLiteral("jiro"), 0);
    for (User* u : {&taro, &hana, &jiro}) {
        u->logIn();
        ASSERT_TRUE(QTest::qWaitFor([u] { return !u->lobby->client().fLog(); }))
            << u->id.toStdString();
    }
    EXPECT_EQ(taro.lobby->client().MyIndex(), 1);
    EXPECT_EQ(hana.lobby->client().MyIndex(), 2);
    EXPECT_EQ(jiro.lobby->client().MyIndex(), 3);

    const auto poll = [&] {
        for (User* u : {&taro, &hana, &jiro})
            u->lobby->client().pollUsers();
    };
    poll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.lines().size() == 3; }));
    EXPECT_EQ(taro.lines(),
              (QStringList{QStringLiteral(" 1 taro 将棋 Me"), QStringLiteral(" 2 hana 将棋 "),
                           QStringLiteral(" 3 jiro 将棋 ")}));

    // taro challenges hana.
    taro.challenge(2);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return hana.lobby->client().InBattle() && taro.log().startsWith(u"Battle"); }));
    EXPECT_TRUE(hana.log().startsWith(u"Battle"));
    EXPECT_TRUE(child<QPushButton>(*taro.lobby, "Start")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*hana.lobby, "Start")->isEnabled());
    poll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.lines().value(0).endsWith(u" Battle!"); }));
    EXPECT_EQ(jiro.lines(), (QStringList{QStringLiteral(" 1 taro 将棋  Battle!"),
                                         QStringLiteral(" 2 hana 将棋  Battle!"),
                                         QStringLiteral(" 3 jiro 将棋 Me")}));

    // jiro asks to watch taro's game.
    jiro.select(1);
    child<QAction>(*jiro.lobby, "mnu_Watch")->trigger();
    EXPECT_TRUE(child<QPushButton>(*jiro.lobby, "Start")->isEnabled());

    // All three start their game programs; each logs in to the server.
    child<QPushButton>(*taro.lobby, "Start")->click();
    ASSERT_TRUE(taro.game);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return hana.log().startsWith(u"SERVER:>taroはゲ－ムを起動しました。"); }));
    child<QPushButton>(*hana.lobby, "Start")->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return taro.log().startsWith(u"SERVER:>hanaはゲ－ムを起動しました。"); }));
    child<QPushButton>(*jiro.lobby, "Start")->click();
    ASSERT_TRUE(jiro.game);
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.game->state().LoginDone; }));
    ASSERT_TRUE(server.gameLinked(QStringLiteral("jiro")));

    // Moves by mouse, through the server.
    moveOn(taro, {2, 6}, {2, 5});
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.game->state().MoveNo == 1; }));
    EXPECT_EQ(hana.game->position().Ban.at({6, 3}), Cell::opp(Kind::Fu));
    EXPECT_EQ(hana.game->state().MySide, u"後手");
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.game->state().MoveNo == 1; }));
    EXPECT_TRUE(jiro.game->state().WatchMode);
    EXPECT_EQ(child<QLineEdit>(*jiro.game, "Text3", 0)->text(), u"先手：taro");
    EXPECT_EQ(child<QLineEdit>(*jiro.game, "Text3", 1)->text(), u"後手：hana");
    // The watcher sees the game as hana does.
    EXPECT_EQ(jiro.game->position().Ban, hana.game->position().Ban);

    moveOn(hana, {6, 6}, {6, 5});
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.game->state().MoveNo == 2; }));
    EXPECT_EQ(taro.game->position().Ban.at({2, 3}), Cell::opp(Kind::Fu));
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.game->state().MoveNo == 2; }));
    EXPECT_EQ(jiro.game->position().Ban, hana.game->position().Ban);
    EXPECT_EQ(jiro.game->windowTitle(), u"通信将棋:第 2手");

    // Lobby chat both ways, each line acknowledged.
    child<QLineEdit>(*taro.lobby, "Status")->setText(QStringLiteral("よろしく"));
    child<QPushButton>(*taro.lobby, "SendBTN")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.log().startsWith(u"taro>よろしく"); }));
    child<QLineEdit>(*hana.lobby, "Status")->setText(QStringLiteral("こちらこそ"));
    child<QPushButton>(*hana.lobby, "SendBTN")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.log().startsWith(u"hana>こちらこそ"); }));

    // taro closes his Varnel: the match is over for both.
    taro.game.reset();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return taro.log().startsWith(u"ShutDown") && hana.log().startsWith(u"ShutDown"); }));
    EXPECT_FALSE(taro.lobby->client().InBattle());
    EXPECT_FALSE(child<QPushButton>(*hana.lobby, "Start")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return child<QPlainTextEdit>(*hana.game, "Text2")->toPlainText() == u"CLOSE"; }));
}

}  // namespace
