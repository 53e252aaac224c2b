#include <gtest/gtest.h>

#include "../shogi/diagram.h"
#include "shogimoves.h"

namespace bot {
namespace {

using shogi::Cell;
using shogi::Kind;
using shogi::ShogiPosition;
using shogi::Square;
using shogi::test::boardFromDiagram;
using shogi::test::diagramOf;

ShogiMove boardMove(Square from, Square to, bool promote = false) {
    ShogiMove m;
    m.from = from;
    m.to = to;
    m.promote = promote;
    return m;
}

ShogiMove dropMove(Kind kind, Square to) {
    ShogiMove m;
    m.drop = true;
    m.kind = kind;
    m.to = to;
    return m;
}

// The engine counts from the first player's side: the same square has another
// name for a bot that plays second, whose board is turned.
TEST(ShogiNotation, MovesBothWaysForEitherSide) {
    const struct {
        bool botFirst;
        ShogiMove move;
        const char* text;
    } cases[] = {
        {true, boardMove({2, 6}, {2, 5}), "7g7f"},
        {false, boardMove({6, 2}, {6, 3}), "7g7f"},
        {true, boardMove({0, 0}, {8, 8}, true), "9a1i+"},
        {false, boardMove({0, 0}, {8, 8}, true), "1i9a+"},
        {true, dropMove(Kind::Ka, {4, 4}), "B*5e"},
        {false, dropMove(Kind::Fu, {3, 4}), "P*4e"},
        {false, dropMove(Kind::Hi, {8, 0}), "R*9i"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(engineMoveText(c.move, c.botFirst), QLatin1String(c.text));
        EXPECT_EQ(parseEngineMove(QString::fromLatin1(c.text), c.botFirst), c.move) << c.text;
    }
}

TEST(ShogiNotation, AnythingElseIsNoMove) {
    for (const char* text : {"", "7g7g", "0a1b", "7j7f", "7g7f=", "7g7f++", "P*5e+", "K*5e", "p*5e",
                             "P*5", "Resigns", "7g 7f", "G7g7f"}) {
        EXPECT_FALSE(parseEngineMove(QString::fromLatin1(text), true)) << text;
    }
}

// A position from the bot's side with the two kings, the bot playing second.
ShogiPosition withKings(std::initializer_list<const char*> rows) {
    ShogiPosition p;
    p.Ban = boardFromDiagram(rows);
    return p;
}

const ShogiPosition kBishopBoard = withKings({
    ".   .   .   .   Gy2 .   .   .   .",
    ".   Ka2 .   .   .   .   .   .   .",
    ".   .   .   .   .   .   .   .   .",
    ".   .   .   .   .   .   .   .   .",
    ".   .   .   .   .   .   .   .   .",
    ".   .   .   .   .   .   .   .   .",
    ".   .   .   .   .   .   Gi1 .   .",
    ".   .   .   .   .   .   .   .   .",
    ".   .   .   .   Ou1 .   .   .   .",
});

TEST(DeriveOpponentMove, TheMoveThatLedToTheNewPosition) {
    // The opening push, as the bot playing second sees it.
    {
        ShogiPosition after;
        after.Ban.set({6, 2}, Cell::empty());
        after.Ban.set({6, 3}, Cell::opp(Kind::Fu));
        const auto move = deriveOpponentMove(ShogiPosition{}, after);
        ASSERT_TRUE(move);
        EXPECT_EQ(engineMoveText(*move, false), u"7g7f");
    }
    // The bishop takes the silver deep in the bot's camp and promotes; the
    // silver goes to the opponent's hand.
    {
        ShogiPosition after = kBishopBoard;
        after.Ban.set({1, 1}, Cell::empty());
        after.Ban.set({6, 6}, Cell::opp(Kind::Um));
        after.OppHand.find(Kind::Gi)->count = 1;
        const auto move = deriveOpponentMove(kBishopBoard, after);
        ASSERT_TRUE(move);
        EXPECT_EQ(*move, boardMove({1, 1}, {6, 6}, true));
        EXPECT_EQ(engineMoveText(*move, false), u"2h7c+");
    }
    // A pawn from his hand.
    {
        ShogiPosition before = kBishopBoard;
        before.OppHand.find(Kind::Fu)->count = 1;
        ShogiPosition after = kBishopBoard;
        after.Ban.set({3, 4}, Cell::opp(Kind::Fu));
        const auto move = deriveOpponentMove(before, after);
        ASSERT_TRUE(move);
        EXPECT_EQ(engineMoveText(*move, false), u"P*4e");
    }
}

TEST(DeriveOpponentMove, NoMoveOfTheRulesLeadsThere) {
    const auto changed = [](ShogiPosition p, std::initializer_list<std::pair<Square, Cell>> cells) {
        for (const auto& [s, c] : cells)
            p.Ban.set(s, c);
        return p;
    };
    const ShogiPosition start;
    const struct {
        const char* what;
        ShogiPosition before;
        ShogiPosition after;
    } cases[] = {
        {"a pawn two cells forward", start,
         changed(start, {{{6, 2}, Cell::empty()}, {{6, 4}, Cell::opp(Kind::Fu)}})},
        {"a pawn promoted outside the zone", start,
         changed(start, {{{6, 2}, Cell::empty()}, {{6, 3}, Cell::opp(Kind::To)}})},
        {"a drop from an empty hand", start, changed(start, {{{4, 4}, Cell::opp(Kind::Fu)}})},
        {"a capture that left the hands as they were", kBishopBoard,
         changed(kBishopBoard, {{{1, 1}, Cell::empty()}, {{6, 6}, Cell::opp(Kind::Um)}})},
        {"two moves at once", start,
         changed(start, {{{6, 2}, Cell::empty()},
                         {{6, 3}, Cell::opp(Kind::Fu)},
                         {{2, 2}, Cell::empty()},
                         {{2, 3}, Cell::opp(Kind::Fu)}})},
        {"the bot's own piece moved", start,
         changed(start, {{{2, 6}, Cell::empty()}, {{2, 5}, Cell::own(Kind::Fu)}})},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(deriveOpponentMove(c.before, c.after)) << c.what;
}

TEST(ApplyOwnMove, AsTheRulesAllowAndNothingElse) {
    ShogiPosition p = withKings({
        ".   .   .   .   Gy2 .   .   .   .",
        ".   .   .   .   Ki1 .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        "Fu1 .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   Fu1 .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   Ou1 .   .   .   .",
    });
    const ShogiPosition start = p;
    // A promotion the rules do not offer, and a pawn moving back.
    EXPECT_FALSE(applyOwnMove(p, boardMove({2, 5}, {2, 4}, true)));
    EXPECT_FALSE(applyOwnMove(p, boardMove({2, 5}, {2, 6})));
    EXPECT_FALSE(applyOwnMove(p, dropMove(Kind::Fu, {5, 5})));  // nothing in hand
    EXPECT_EQ(p, start) << diagramOf(p.Ban).toStdString();

    const auto promoted = applyOwnMove(p, boardMove({0, 3}, {0, 2}, true));
    ASSERT_TRUE(promoted);
    EXPECT_EQ(p.Ban.at({0, 2}), Cell::own(Kind::To));

    const auto taken = applyOwnMove(p, boardMove({4, 1}, {4, 0}));
    ASSERT_TRUE(taken);
    EXPECT_TRUE(taken->kingCaptured);
    EXPECT_EQ(taken->endOfGameMessage, u"SYOUGI_MSG5:あなたの負けです。");
}

TEST(KingCapture, OnlyWhenTheKingStandsOpen) {
    ShogiPosition open = withKings({
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   Gy2 .   .   .   .",
        ".   .   .   .   Ki1 .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   Ou1 .   .   .   .",
    });
    EXPECT_EQ(kingCapture(open), boardMove({4, 4}, {4, 3}));
    open.Ban.set({4, 4}, Cell::empty());
    EXPECT_FALSE(kingCapture(open));
    EXPECT_FALSE(kingCapture(ShogiPosition{}));
}

TEST(EditCommands, TheWholePositionFirstPlayerFirst) {
    ShogiPosition p;
    p.Ban = boardFromDiagram({
        "Ry1 .   .   .   Gy2 .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   Ou1 .   .   .   .",
    });
    p.MyHand.find(Kind::Fu)->count = 2;
    p.OppHand.find(Kind::Ka)->count = 1;
    // Played second, the bot's pieces are the second player's ("c" first).
    EXPECT_EQ(editCommands(p, false),
              QStringList({"edit", "#", "k5i", "b*", "c", "r1i+", "k5a", "p*", "p*", "."}));
    EXPECT_EQ(editCommands(p, true),
              QStringList({"edit", "#", "r9a+", "k5i", "p*", "p*", "c", "k5a", "b*", "."}));
}

}  // namespace
}  // namespace bot
