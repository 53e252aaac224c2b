#include <gtest/gtest.h>

#include "moveattempt.h"
#include "moverules.h"

namespace shogi {
namespace {

// The position as the opponent sees it once a move has reached them.
ShogiPosition turned(const ShogiPosition& p) {
    return {p.Ban.rotated(), p.OppHand, p.MyHand};
}

// Counts the move sequences of `depth` plies the way a player produces them:
// every own piece released on every cell, promotion answered Yes and No, and
// every hand piece released on every empty cell, through AttemptMove. A board
// target that CanReach rules out is skipped: IsLegalMove can never accept it.
long long perft(const ShogiPosition& p, int depth) {
    long long total = 0;
    const auto play = [&](const DragRelease& release) {
        for (bool yes : {true, false}) {
            ShogiPosition next = p;
            bool asked = false;
            const MoveOutcome o = AttemptMove(next, release, {nullptr, [&] {
                                                                  asked = true;
                                                                  return yes;
                                                              }});
            if (o.accepted()) total += depth == 1 ? 1 : perft(turned(next), depth - 1);
            if (!asked) break;
        }
    };
    for (int from = 0; from < kCellCount; ++from) {
        const Cell piece = p.Ban.atNumber(from);
        if (!piece.isOwnPiece()) continue;
        const Square f = Square::fromCellNumber(from);
        for (int to = 0; to < kCellCount; ++to) {
            const Square t = Square::fromCellNumber(to);
            if (CanReach(p.Ban, t, f, piece.kind())) play({piece, false, f, t});
        }
    }
    for (const HandEntry& e : p.MyHand.entries) {
        if (e.count <= 0) continue;
        for (int to = 0; to < kCellCount; ++to)
            play({Cell::own(e.code), true, {}, Square::fromCellNumber(to)});
    }
    return total;
}

TEST(Perft, FromTheInitialPosition) {
    const ShogiPosition start;
    EXPECT_EQ(perft(start, 1), 30);
    EXPECT_EQ(perft(start, 2), 900);
    EXPECT_EQ(perft(start, 3), 25470);
    EXPECT_EQ(perft(start, 4), 719731);
}

TEST(Perft, DropsCountEveryEmptyCellTheRulesAllow) {
    ShogiPosition p;
    p.MyHand.find(Kind::Fu)->count = 1;  // every column holds an own pawn: no pawn drop
    p.MyHand.find(Kind::Ke)->count = 1;  // 27 empty cells in rows 3-5 and 7 in row 7
    p.MyHand.find(Kind::Ky)->count = 1;  // those and the 7 of row 1
    EXPECT_EQ(perft(p, 1), 30 + 34 + 41);
}

}  // namespace
}  // namespace shogi
