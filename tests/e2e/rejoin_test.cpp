// A game survives a dropped connection: two real game programs play through
// the real server behind a relay that cuts one player's game connection in
// the middle of the game (closed, reset, gone silent). The program connects
// again by itself and the game goes on; a watcher sees every move once.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <map>

#include "../bot/wireplayer.h"
#include "cuttingproxy.h"
#include "gamemessage.h"
#include "lobbyuser.h"
#include "twogames.h"
#include "widgetdriver.h"

namespace {

using Cut = testsupport::CuttingProxy::Cut;
using test::GoGame;
using test::ShogiGame;
using testsupport::child;

template <class Game>
class RejoinMatch : public ::testing::Test {
protected:
    using User = test::LobbyUser<typename Game::Window>;

    // taro and hana paired and linked through the relay, jiro watching
    // taro's game over the wire, as a program that keeps to the protocol.
    void meet() {
        ASSERT_TRUE(server_.started());
        proxy_ =
            std::make_unique<testsupport::CuttingProxy>(qEnvironmentVariableIntValue("QUOR_PORT"));
        qputenv("QUOR_PORT", QByteArray::number(proxy_->port()));
        ASSERT_TRUE(test::logInAndPair(taro_, hana_));
        child<QPushButton>(*taro_.lobby, "Start")->click();
        ASSERT_TRUE(server_.gameLinked(QStringLiteral("taro")));
        child<QPushButton>(*hana_.lobby, "Start")->click();
        ASSERT_TRUE(server_.gameLinked(QStringLiteral("hana")));
        ASSERT_TRUE(jiro_.logIn());
        jiro_.watch(1);
        ASSERT_TRUE(jiro_.linkGame());
        ASSERT_TRUE(server_.gameLinked(QStringLiteral("jiro")));
    }

    // Move k, by taro when odd, and both players' programs have it.
    void play(int k) {
        User& mover = k % 2 == 1 ? taro_ : hana_;
        Game::move(*mover.game, k);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return taro_.game->state().MoveNo == k && hana_.game->state().MoveNo == k; },
            10000))
            << "move " << k;
    }

    QString messageBox(User& u) { return child<QPlainTextEdit>(*u.game, "Text2")->toPlainText(); }

    // The game with taro's game connection cut after move 3 (`how`): while
    // it is away hana moves; when it is silent taro's next move goes into
    // the void. Either way the game reaches move 7, and all agree on it.
    void cutAndPlayOn(Cut how) {
        meet();
        if (::testing::Test::HasFatalFailure()) return;
        for (int k = 1; k <= 3; ++k)
            play(k);
        if (how == Cut::Silence) {
            play(4);
            taro_.game->match().setSilenceLimitMs(1000);
            ASSERT_TRUE(proxy_->cut(QStringLiteral("GameLogin|taro|"), how));
            Game::move(*taro_.game, 5);  // lost: it is sent again after the rejoin
            ASSERT_TRUE(QTest::qWaitFor([&] { return hana_.game->state().MoveNo == 5; }, 15000));
        } else {
            ASSERT_TRUE(proxy_->cut(QStringLiteral("GameLogin|taro|"), how));
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return messageBox(hana_) == u"相手の接続が切れました。戻るのを待っています。";
            }));
            Game::move(*hana_.game, 4);
            ASSERT_TRUE(QTest::qWaitFor([&] { return taro_.game->state().MoveNo == 4; }, 15000));
            play(5);
        }
        play(6);
        play(7);
        EXPECT_TRUE(Game::sameGame(*taro_.game, *hana_.game));
        EXPECT_TRUE(taro_.lobby->client().InBattle());
        // The watcher saw moves 1 to 7, each once.
        ASSERT_TRUE(QTest::qWaitFor([&] { return watchedMoves().size() == 7; }));
        std::vector<int> expected(7);
        for (int k = 0; k < 7; ++k)
            expected[std::size_t(k)] = k + 1;
        EXPECT_EQ(watchedMoves(), expected);
    }

    std::vector<int> watchedMoves() const {
        std::vector<int> numbers;
        for (const QString& text : jiro_.gameHistory())
            if (gamecommon::classifyGameMsg(text) == gamecommon::GameMsgType::WatchMove)
                numbers.push_back(Game::moveNo(gamecommon::unwrapWatchMove(text)));
        return numbers;
    }

    test::LobbyServerProcess server_{
        {QStringLiteral("taro"), QStringLiteral("hana"), QStringLiteral("jiro")}};
    std::unique_ptr<testsupport::CuttingProxy> proxy_;
    User taro_{QStringLiteral("taro"), Game::kKind};
    User hana_{QStringLiteral("hana"), Game::kKind};
    bot::test::WirePlayer jiro_{QStringLiteral("jiro"), Game::kKind};
};

using Games = ::testing::Types<ShogiGame, GoGame>;
TYPED_TEST_SUITE(RejoinMatch, Games);

TYPED_TEST(RejoinMatch, AClosedConnection) {
    this->cutAndPlayOn(Cut::Close);
}
TYPED_TEST(RejoinMatch, AResetConnection) {
    this->cutAndPlayOn(Cut::Reset);
}
TYPED_TEST(RejoinMatch, ASilentConnection) {
    this->cutAndPlayOn(Cut::Silence);
}

}  // namespace
