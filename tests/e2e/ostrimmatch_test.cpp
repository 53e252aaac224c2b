#include <gtest/gtest.h>
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "diagram.h"
#include "lobbyuser.h"
#include "ostrimdriver.h"
#include "widgetdriver.h"

namespace {

using go::Point;
using go::Stone;
using User = test::LobbyUser<go::OstrimWindow>;
using testsupport::child;

// The board turned through 180 degrees: how the other player sees it.
go::Ban turned(const go::Ban& ban) {
    go::Ban out;
    for (int k = 0; k < go::kPointCount; ++k)
        out.set(Point::fromNumber(go::kPointCount - 1 - k), ban.at(Point::fromNumber(k)));
    return out;
}

// Places a stone with the mouse and waits until the other two have it.
void play(User& mover, Point p, User& opponent, User& watcher) {
    go::test::placeStone(mover.game->board(), p);
    const qint32 moveNo = mover.game->state().MoveNo;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return opponent.game->state().MoveNo == moveNo && watcher.game->state().MoveNo == moveNo;
    })) << "move "
        << moveNo;
}

TEST(OstrimMatch, TwoPlayersAndAWatcherThroughTheRealServer) {
    test::LobbyServerProcess server(
        {QStringLiteral("taro"), QStringLiteral("hana"), QStringLiteral("jiro")});
    ASSERT_TRUE(server.started());

    User taro(QStringLiteral("taro"), 1), hana(QStringLiteral("hana"), 1),
        jiro(QStringLiteral("jiro"), 1);
    for (User* u : {&taro, &hana, &jiro}) {
        u->logIn();
        ASSERT_TRUE(QTest::qWaitFor([u] { return !u->lobby->client().fLog(); }))
            << u->id.toStdString();
    }
    for (User* u : {&taro, &hana, &jiro})
        u->lobby->client().pollUsers();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.lines().size() == 3; }));
    EXPECT_EQ(taro.lines().value(1), u" 2 hana 囲碁 ");

    taro.challenge(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.lobby->client().InBattle(); }));
    for (User* u : {&taro, &hana, &jiro})
        u->lobby->client().pollUsers();
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.lines().value(0).endsWith(u" Battle!"); }));
    jiro.select(1);
    child<QAction>(*jiro.lobby, "mnu_Watch")->trigger();

    // Each starts the go program; each links to the server.
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

    // The first stone, at (3, 15): point 288 of taro is point 72 of hana, and
    // it arrived as the 73rd digit, a 9, with the number " 1".
    play(taro, {3, 15}, hana, jiro);
    EXPECT_EQ(hana.game->position().positionString.split(u',').value(72), u"9");
    EXPECT_EQ(hana.game->position().ban.at(15, 3), Stone::Black);
    EXPECT_EQ(hana.game->position().ownColour, Stone::White);
    EXPECT_EQ(hana.game->state().MySide, u"後手");
    EXPECT_EQ(hana.game->windowTitle(), u"通信囲碁：あなた=後手:第 1手");
    EXPECT_EQ(taro.game->state().MySide, u"先手");
    EXPECT_TRUE(jiro.game->state().WatchMode);
    EXPECT_EQ(jiro.game->position().ban, taro.game->position().ban);

    // hana's stone in taro's corner, then taro takes it.
    play(hana, {18, 18}, taro, jiro);
    EXPECT_EQ(taro.game->position().ban.at(0, 0), Stone::White);
    EXPECT_EQ(jiro.game->position().ban, taro.game->position().ban);
    play(taro, {1, 0}, hana, jiro);
    play(hana, {10, 10}, taro, jiro);
    play(taro, {0, 1}, hana, jiro);
    EXPECT_EQ(taro.game->position().MyCaptured, 1);
    EXPECT_EQ(taro.game->position().ban.at(0, 0), Stone::Empty);
    EXPECT_EQ(hana.game->position().OppCaptured, 1);
    EXPECT_EQ(hana.game->position().ban.at(18, 18), Stone::Empty);
    EXPECT_EQ(turned(hana.game->position().ban), taro.game->position().ban)
        << go::test::diagramOf(hana.game->position().ban);
    // The watcher sees the first mover's view on odd and even moves, with
    // the first mover's count as its own.
    EXPECT_EQ(jiro.game->position().ban, taro.game->position().ban);
    EXPECT_EQ(jiro.game->position().MyCaptured, 1);
    play(hana, {5, 5}, taro, jiro);
    EXPECT_EQ(jiro.game->position().ban, taro.game->position().ban);
    EXPECT_EQ(jiro.game->windowTitle(), u"通信将棋:第 6手");

    // taro resigns: the game is over on both sides.
    child<QAction>(*taro.game, "mnuToryou")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return child<QPlainTextEdit>(*hana.game, "Text2")->toPlainText() ==
               u"投了です。あなたの勝ちです。有り難うございました。";
    }));
    EXPECT_EQ(child<QPlainTextEdit>(*taro.game, "Text2")->toPlainText(), u"あなたの負けです。");
    EXPECT_FALSE(taro.game->match().Timer1().isActive());
    EXPECT_FALSE(hana.game->match().Timer1().isActive());
}

}  // namespace
