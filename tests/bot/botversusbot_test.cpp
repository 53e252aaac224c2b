#include <gtest/gtest.h>

#include <functional>

#include "gamemessage.h"
#include "gomoves.h"
#include "gorules/movemessage.h"
#include "sanitized.h"
#include "shogiplay.h"
#include "shogirules/movemessage.h"
#include "testlobby.h"
#include "wireplayer.h"

// Two bots play each other through the real lobby server, one challenging the
// other, while a user of the test watches: every move must reach the watcher,
// each must be one the rules allow, and the game must come to its end (or
// reach 300 moves). The engines, not built here, spend most of the time; in
// the sanitizer build, whose concern is Quor's own code, a go game stops
// after 80 moves.

namespace bot {
namespace {

using test::BotProcess;
using test::TestLobby;
using test::WirePlayer;

constexpr int kMoveCap = 300;
constexpr int kSanitizedGoMoveCap = 80;
// Longer than any engine's answer: after this the game is over or stuck.
constexpr int kQuietMs = 4000;
constexpr int kStuckSpells = 3;

// Checks one watched move against the one before it; empty when it is a
// move of the rules, else what is wrong. `n` counts from 1.
using MoveCheck = std::function<QString(const QString& move, int n)>;

// Both kinds of move message hold the position as the mover's opponent sees
// it; the mover's side is that turned round.
MoveCheck shogiCheck() {
    auto previous = std::make_shared<shogi::ShogiPosition>();  // the mover's view
    return [previous](const QString& text, int n) -> QString {
        const auto move = shogi::parseMoveMsg(text);
        if (!move) return QStringLiteral("no shogi move: ") + text;
        if (move->moveNo != n) return QStringLiteral("move number %1").arg(move->moveNo);
        shogi::ShogiPosition seen;
        seen.Ban.load(move->positionString);
        seen.MyHand = move->myHand;
        seen.OppHand = move->oppHand;
        if (!test::legalMoveBetween(*previous, test::turnedView(seen)))
            return QStringLiteral("no move of the rules leads there");
        *previous = seen;
        return {};
    };
}

MoveCheck goCheck() {
    auto previous = std::make_shared<go::Ban>();  // the mover's view
    return [previous](const QString& text, int n) -> QString {
        const auto move = go::parseMoveMsg(text);
        if (!move) return QStringLiteral("no go move: ") + text;
        if (move->moveNo != n) return QStringLiteral("move number %1").arg(move->moveNo);
        const auto moverView = go::turnPosition(move->positionString);
        const auto board = moverView ? go::readPosition(*moverView) : std::nullopt;
        const go::Stone mover = n % 2 == 1 ? go::Stone::Black : go::Stone::White;
        if (!board || !deriveOpponentMove(*previous, *board, mover))
            return QStringLiteral("no stone of the rules leads there");
        *previous = go::readPosition(move->positionString)->ban;
        return {};
    };
}

void botAgainstBot(const char* game, int kind, const MoveCheck& check, int moveCap = kMoveCap) {
    TestLobby lobby;
    ASSERT_TRUE(lobby.started());
    BotProcess a(lobby.port(),
                 lobby.botArguments(game, QStringLiteral("bot-a"), 1) +
                     QStringList{QStringLiteral("--challenge"), QStringLiteral("bot-b")});
    BotProcess b(lobby.port(), lobby.botArguments(game, QStringLiteral("bot-b"), 1));
    ASSERT_TRUE(a.started() && b.started());

    // The watcher comes in once the two are paired; the challenger waits a
    // moment before its first move.
    WirePlayer jiro(QStringLiteral("jiro"), kind);
    ASSERT_TRUE(jiro.logIn());
    const auto playing = [](const std::vector<lobby::UserListEntry>& users, bool wanted) {
        int n = 0;
        for (const auto& u : users)
            if ((u.id == u"bot-a" || u.id == u"bot-b") && u.playing == wanted) ++n;
        return n == 2;
    };
    const auto paired =
        jiro.pollUntil([&](const auto& users) { return playing(users, true); }, 20000);
    ASSERT_TRUE(paired) << "the bots never paired:\n" << a.log().toStdString();
    for (const auto& u : *paired)
        if (u.id == u"bot-a") jiro.watch(u.index);
    ASSERT_TRUE(jiro.linkGame());
    EXPECT_EQ(jiro.nextGame(WirePlayer::startsWith(u"WatchData|"), 10000),
              u"WatchData|bot-a|bot-b|END");

    int moves = 0;
    int quiet = 0;  // quiet spells in a row
    while (moves < moveCap) {
        const auto watched = jiro.nextGame(WirePlayer::startsWith(u"WatchMsg|"), kQuietMs);
        if (!watched) {
            // Quiet: over when both bots have left the game; a game that
            // stays quiet while both still play is stuck.
            const auto free =
                jiro.pollUntil([&](const auto& users) { return playing(users, false); }, 1000);
            if (free) break;
            ASSERT_TRUE(a.running() && b.running()) << "a bot has ended";
            ASSERT_LT(++quiet, kStuckSpells)
                << "no move after move " << moves << " (the watcher's program is "
                << (jiro.gameLinked() ? "linked" : "cut off") << ", " << jiro.gameHistory().size()
                << " game messages received):\n"
                << (a.log() + b.log()).toStdString();
            continue;
        }
        quiet = 0;
        ++moves;
        const QString fault = check(gamecommon::unwrapWatchMove(*watched), moves);
        ASSERT_TRUE(fault.isEmpty()) << "move " << moves << ": " << fault.toStdString();
    }
    EXPECT_GT(moves, 10);
    if (moves < moveCap) {
        const QString logs = a.log() + b.log();
        EXPECT_TRUE(logs.contains(u"resigns") || logs.contains(u"the game is over"))
            << logs.toStdString();
    }
}

TEST(BotVersusBot, TwoShogiBotsPlayToTheEndWhileAWatcherSeesEveryMove) {
    ASSERT_FALSE(test::installedEngine(QStringLiteral("gnushogi")).isEmpty())
        << "gnushogi is not installed: run scripts/setup-deps";
    botAgainstBot("shogi", 0, shogiCheck());
}

TEST(BotVersusBot, TwoGoBotsPlayToTheEndWhileAWatcherSeesEveryMove) {
    ASSERT_FALSE(test::installedEngine(QStringLiteral("gnugo")).isEmpty())
        << "gnugo is not installed: run scripts/setup-deps";
    botAgainstBot("go", 1, goCheck(), ::test::kSanitized ? kSanitizedGoMoveCap : kMoveCap);
}

}  // namespace
}  // namespace bot
