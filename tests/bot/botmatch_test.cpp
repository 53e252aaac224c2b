#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <random>

#include "../go/gtpclient.h"
#include "goboards.h"
#include "gomoves.h"
#include "gorules/capture.h"
#include "gorules/movemessage.h"
#include "shogiplay.h"
#include "shogirules/movemessage.h"
#include "testlobby.h"
#include "wireplayer.h"

// A player of the test against a bot through the real lobby server: the
// player challenges, links a game connection, plays, and every reply of the
// bot must come in time, be a move the rules allow and have exactly the form
// the game program would give it.

namespace bot {
namespace {

using test::BotProcess;
using test::TestLobby;
using test::WirePlayer;

constexpr int kSeconds = 1;
constexpr int kReplyMs = (kSeconds + 1) * 1000;

// Challenges the bot once it is free and links the game connection; the bot
// greets once both programs are linked.
void challengeBot(WirePlayer& player, const QString& botId) {
    const auto bot = player.waitForUser(botId, true, 15000);
    ASSERT_TRUE(bot) << botId.toStdString() << " never logged in";
    ASSERT_TRUE(player.challenge(*bot));
    ASSERT_TRUE(player.linkGame());
    EXPECT_EQ(player.nextGame(WirePlayer::startsWith(u"SYOUGI_MSG4:"), 5000),
              u"SYOUGI_MSG4:よろしくお願いします。お先にどうぞ。");
}

void meetBot(WirePlayer& player, const QString& botId) {
    ASSERT_TRUE(player.logIn());
    challengeBot(player, botId);
}

// The next move of the bot, timed from `sent`.
std::optional<QString> botReply(WirePlayer& player, const QElapsedTimer& sent) {
    const auto reply = player.nextGame(WirePlayer::startsWith(u"SYOUGI_MSG2:"), kReplyMs + 3000);
    if (reply) {
        EXPECT_LT(sent.elapsed(), kReplyMs) << "a reply took too long";
    }
    return reply;
}

TEST(BotMatch, ShogiBotAnswersEveryMoveInTheGameProgramsForm) {
    const QString engine = test::installedEngine(QStringLiteral("gnushogi"));
    ASSERT_FALSE(engine.isEmpty()) << "gnushogi is not installed: run scripts/setup-deps";
    TestLobby lobby;
    ASSERT_TRUE(lobby.started());
    BotProcess bot(lobby.port(),
                   lobby.botArguments("shogi", QStringLiteral("bot-shogi"), kSeconds));
    ASSERT_TRUE(bot.started());
    WirePlayer taro(QStringLiteral("taro"), 0);
    meetBot(taro, QStringLiteral("bot-shogi"));
    if (HasFatalFailure()) return;
    // A greeting is answered with a greeting.
    taro.sendGame(QStringLiteral("SYOUGI_MSG6:宜しくお願いします。"));
    EXPECT_EQ(taro.nextGame(WirePlayer::said(), 5000), u"SYOUGI_MSG6:宜しくお願いします。");

    // The player's moves come from an engine of its own, so the game stays a
    // game; each is tried through the rules before it goes out.
    test::ShogiBrain brain;
    shogi::ShogiPosition mine;
    QString botMove;
    for (int n = 1; n <= 20; ++n) {
        SCOPED_TRACE(testing::Message() << "player move " << n);
        const auto text = n == 1 ? brain.first() : brain.answer(botMove);
        ASSERT_TRUE(text) << "the player's engine has no move";
        const auto move = parseEngineMove(*text, true);
        ASSERT_TRUE(move && applyOwnMove(mine, *move)) << text->toStdString();
        QElapsedTimer sent;
        sent.start();
        taro.sendGame(shogi::BuildMoveMsg(mine, 2 * n - 1));

        const auto reply = botReply(taro, sent);
        ASSERT_TRUE(reply) << bot.log().toStdString();
        const auto received = shogi::parseMoveMsg(*reply);
        ASSERT_TRUE(received) << reply->toStdString();
        EXPECT_EQ(received->moveNo, 2 * n);
        shogi::ShogiPosition after;
        ASSERT_FALSE(after.Ban.load(received->positionString));
        after.MyHand = received->myHand;
        after.OppHand = received->oppHand;
        // The bot's own side of it, written as the shogi program writes it,
        // is the very text that came.
        EXPECT_EQ(shogi::BuildMoveMsg(test::turnedView(after), 2 * n), *reply);
        const auto played = test::legalMoveBetween(test::turnedView(mine), test::turnedView(after));
        ASSERT_TRUE(played) << "no move of the rules gives the bot's position";
        botMove = engineMoveText(*played, false);
        mine = after;
    }

    // The player quits his program: the match ends, the bot leaves it and
    // takes the next challenge, a new game from its first move.
    taro.closeGame();
    challengeBot(taro, QStringLiteral("bot-shogi"));
    if (HasFatalFailure()) return;
    shogi::ShogiPosition fresh;
    ASSERT_TRUE(applyOwnMove(fresh, *parseEngineMove(u"7g7f", true)));
    QElapsedTimer sent;
    sent.start();
    taro.sendGame(shogi::BuildMoveMsg(fresh, 1));
    const auto reply = botReply(taro, sent);
    ASSERT_TRUE(reply) << bot.log().toStdString();
    const auto received = shogi::parseMoveMsg(*reply);
    ASSERT_TRUE(received) << reply->toStdString();
    EXPECT_EQ(received->moveNo, 2);
}

// The test's go player: it takes stones whenever it can, else puts a stone in
// atari beside the bot's stones (for the bot to take), else plays close to
// the bot's last stone, else anywhere; always where GNU Go allows it, so the
// referee can follow.
go::Point chooseStone(const go::Ban& board, std::optional<go::Point> near,
                      go::test::GtpClient& referee, std::mt19937& random) {
    std::vector<go::Point> empty;
    for (int k = 0; k < go::kPointCount; ++k)
        if (board.at(go::Point::fromNumber(k)) == go::Stone::Empty)
            empty.push_back(go::Point::fromNumber(k));
    std::shuffle(empty.begin(), empty.end(), random);
    const auto takes = [&](go::Point p) {
        go::Ban trial = board;
        trial.set(p, go::Stone::Black);
        qint32 taken = 0;
        return go::CaptureSearch(trial).CheckCapture(p, go::Stone::Black, taken);
    };
    const auto offered = [&](go::Point p) {
        go::Ban trial = board;
        trial.set(p, go::Stone::Black);
        bool touches = false;
        for (const go::Point step :
             {go::Point{0, -1}, go::Point{1, 0}, go::Point{0, 1}, go::Point{-1, 0}})
            touches = touches || trial.at(p.x + step.x, p.y + step.y) == go::Stone::White;
        return touches && test::liberties(trial, p) == 1;
    };
    const auto close = [&](go::Point p) {
        return near && std::abs(p.x - near->x) <= 2 && std::abs(p.y - near->y) <= 2;
    };
    const auto legal = [&](go::Point p) {
        const auto answer = referee.ask({QStringLiteral("is_legal black ") + gtpVertex(p)});
        return answer && answer->back() == u"1";
    };
    using Wish = std::function<bool(go::Point)>;
    for (const Wish& wanted :
         {Wish(takes), Wish(offered), Wish(close), Wish([](go::Point) { return true; })}) {
        for (const go::Point p : empty)
            if (wanted(p) && legal(p)) return p;
    }
    ADD_FAILURE() << "no legal point left";
    return {};
}

go::Ban turned(const go::Ban& ban) {
    go::Ban out;
    for (int k = 0; k < go::kPointCount; ++k)
        out.set(go::Point::fromNumber(go::kPointCount - 1 - k), ban.at(go::Point::fromNumber(k)));
    return out;
}

go::Point turned(go::Point p) {
    return go::Point::fromNumber(go::kPointCount - 1 - p.number());
}

TEST(BotMatch, GoBotAnswersEveryStoneWithGnuGosBoard) {
    const QString engine = test::installedEngine(QStringLiteral("gnugo"));
    ASSERT_FALSE(engine.isEmpty()) << "gnugo is not installed: run scripts/setup-deps";
    TestLobby lobby;
    ASSERT_TRUE(lobby.started());
    BotProcess bot(lobby.port(), lobby.botArguments("go", QStringLiteral("bot-go"), kSeconds));
    ASSERT_TRUE(bot.started());
    WirePlayer hana(QStringLiteral("hana"), 1);
    meetBot(hana, QStringLiteral("bot-go"));
    if (HasFatalFailure()) return;

    // GNU Go as the referee follows both sides; its board must be the bot's
    // after every stone.
    go::test::GtpClient referee;
    ASSERT_TRUE(referee.start(engine, {QStringLiteral("--mode"), QStringLiteral("gtp")}));
    ASSERT_TRUE(referee.ask({QStringLiteral("boardsize 19"), QStringLiteral("clear_board")}));
    std::mt19937 random(7);
    go::Ban mine;
    qint32 myCaptured = 0;
    qint32 botCaptured = 0;
    std::optional<go::Point> botStone;
    // Forty stones each, and on until a stone has been taken: the player takes
    // whenever he can, but how soon the bot gives him the chance depends on
    // how long the engine may think, which a busy machine shortens.
    constexpr int kStones = 40;
    constexpr int kMostStones = 150;
    for (int n = 1; n <= kStones || (myCaptured + botCaptured == 0 && n <= kMostStones); ++n) {
        SCOPED_TRACE(testing::Message() << "player stone " << n);
        const go::Point p = chooseStone(mine, botStone, referee, random);
        mine.set(p, go::Stone::Black);
        go::CaptureSearch(mine).CheckCapture(p, go::Stone::Black, myCaptured);
        ASSERT_TRUE(referee.ask({QStringLiteral("play black ") + gtpVertex(p)}));
        QElapsedTimer sent;
        sent.start();
        hana.sendGame(go::BuildMoveMsg(mine, p, 2 * n - 1, myCaptured));

        const auto reply = botReply(hana, sent);
        ASSERT_TRUE(reply) << bot.log().toStdString();
        const auto received = go::parseMoveMsg(*reply);
        ASSERT_TRUE(received) << reply->toStdString();
        EXPECT_EQ(received->moveNo, 2 * n);
        const auto after = go::readPosition(received->positionString);
        ASSERT_TRUE(after && after->lastMove) << "the bot's stone is not marked";
        EXPECT_EQ(go::BuildMoveMsg(turned(after->ban), turned(*after->lastMove), 2 * n,
                                   received->captured),
                  *reply);
        // One white stone on an empty point, its captures made.
        const auto stone = deriveOpponentMove(mine, *after, go::Stone::White);
        ASSERT_TRUE(stone && !stone->pass) << test::drawing(after->ban);
        botStone = stone->point;
        const auto theirs =
            referee.ask({QStringLiteral("play white ") + gtpVertex(*botStone),
                         QStringLiteral("list_stones black"), QStringLiteral("list_stones white")});
        ASSERT_TRUE(theirs) << referee.error().toStdString();
        go::Ban gnugo;
        for (const auto& [list, colour] :
             {std::pair{(*theirs)[1], go::Stone::Black}, std::pair{(*theirs)[2], go::Stone::White}})
            for (const go::Point s : pointsFromList(list).value_or(std::vector<go::Point>{}))
                gnugo.set(s, colour);
        ASSERT_EQ(after->ban, gnugo) << "bot:\n"
                                     << test::drawing(after->ban) << "GNU Go:\n"
                                     << test::drawing(gnugo);
        botCaptured = received->captured;
        mine = after->ban;
    }
    EXPECT_GT(myCaptured + botCaptured, 0) << "no stone was taken in the whole game";
}

}  // namespace
}  // namespace bot
