// An English game program and a Japanese one play each other through the
// real server: what goes between them is byte for byte what goes between two
// Japanese programs (moves, canned lines, the strength, a typed chat line and
// the resignation).

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

#include "cuttingproxy.h"
#include "lobbyuser.h"
#include "programtexts.h"
#include "twogames.h"
#include "widgettexts.h"

namespace {

using testsupport::child;

// What went over the two players' game connections, each way.
struct GameTraffic {
    testsupport::CuttingProxy::Traffic taro, hana;
};

QString asText(const QByteArray& utf16) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(utf16.constData()),
                              utf16.size() / 2);
}

template <class Game>
class EnglishMatch : public ::testing::Test {
protected:
    using User = test::LobbyUser<typename Game::Window>;

    // One match through a server of its own; with `englishTaro` taro's game
    // program is built in English (hana's, built before, stays Japanese).
    GameTraffic play(bool englishTaro) {
        test::LobbyServerProcess server(
            {QStringLiteral("taro"), QStringLiteral("hana"), QStringLiteral("jiro")});
        EXPECT_TRUE(server.started());
        testsupport::CuttingProxy proxy(qEnvironmentVariableIntValue("QUOR_PORT"));
        qputenv("QUOR_PORT", QByteArray::number(proxy.port()));
        User taro(QStringLiteral("taro"), Game::kKind), hana(QStringLiteral("hana"), Game::kKind);
        EXPECT_TRUE(test::logInAndPair(taro, hana));
        child<QPushButton>(*hana.lobby, "Start")->click();
        EXPECT_TRUE(server.gameLinked(QStringLiteral("hana")));
        std::optional<testsupport::EnglishTexts> english;
        if (englishTaro) english.emplace(platform::translationsFolder(QUOR_BIN_DIR));
        child<QPushButton>(*taro.lobby, "Start")->click();
        EXPECT_TRUE(server.gameLinked(QStringLiteral("taro")));
        if (!taro.game || !hana.game) return {};
        EXPECT_EQ(child<QMenu>(*taro.game, "mnuTEnd")->title(), englishTaro ? u"Resign" : u"投了");
        EXPECT_EQ(child<QMenu>(*hana.game, "mnuTEnd")->title(), u"投了");

        const auto messageBox = [](User& u) {
            return child<QPlainTextEdit>(*u.game, "Text2")->toPlainText();
        };
        // Whoever's turn it is moves; both programs have the move.
        const auto move = [&](int k) {
            Game::move(*(k % 2 == 1 ? taro : hana).game, k);
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return taro.game->state().MoveNo == k && hana.game->state().MoveNo == k;
            })) << "move "
                << k;
        };
        // `from` picks the menu item; `to` shows what came.
        const auto pick = [&](User& from, const char* item, int index, User& to,
                              const QString& shown) {
            child<QAction>(*from.game, item, index)->trigger();
            EXPECT_TRUE(QTest::qWaitFor([&] { return messageBox(to).contains(shown); }))
                << item << " " << messageBox(to).toStdString();
        };
        // A typed line, and its acknowledgement back (the button comes back).
        const auto chat = [&](User& from, const QString& text, User& to) {
            auto* send = child<QPushButton>(*from.game, "Command5");
            EXPECT_TRUE(QTest::qWaitFor([&] { return send->isEnabled(); }));
            child<QPlainTextEdit>(*from.game, "Text2")->setPlainText(text);
            send->click();
            EXPECT_TRUE(QTest::qWaitFor([&] {
                return messageBox(to).contains(text) && send->isEnabled();
            })) << text.toStdString();
        };
        move(1);
        move(2);
        pick(taro, "mnuAis", 0, hana, QStringLiteral("宜しくお願いします。"));
        pick(hana, "mnuSrtrong", 2, taro, QStringLiteral("私の強さは中級クラスです。"));
        chat(hana, QStringLiteral("good luck"), taro);
        pick(taro, "mnuCom", 2, hana, QStringLiteral("それはいい手ですね。"));
        move(3);
        move(4);
        child<QAction>(*taro.game, "mnuToryou")->trigger();
        EXPECT_TRUE(QTest::qWaitFor([&] { return messageBox(hana).contains(u"投了です。"); }));
        // The last line's acknowledgement is home: nothing more is under way.
        chat(hana, QStringLiteral("thanks"), taro);
        return {proxy.traffic(QStringLiteral("GameLogin|taro|")),
                proxy.traffic(QStringLiteral("GameLogin|hana|"))};
    }
};

using Games = ::testing::Types<test::ShogiGame, test::GoGame>;
TYPED_TEST_SUITE(EnglishMatch, Games);

TYPED_TEST(EnglishMatch, TheWireIsTheSameAsBetweenTwoJapanesePrograms) {
    const GameTraffic japanese = this->play(false);
    ASSERT_FALSE(::testing::Test::HasFailure());
    ASSERT_FALSE(japanese.taro.sent.isEmpty());
    const GameTraffic mixed = this->play(true);
    const auto same = [](const QByteArray& a, const QByteArray& b) {
        EXPECT_EQ(asText(a).toStdString(), asText(b).toStdString());
    };
    same(japanese.taro.sent, mixed.taro.sent);
    same(japanese.taro.received, mixed.taro.received);
    same(japanese.hana.sent, mixed.hana.sent);
    same(japanese.hana.received, mixed.hana.received);
}

}  // namespace
