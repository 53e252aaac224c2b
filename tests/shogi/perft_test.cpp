#include <gtest/gtest.h>

#include "sanitized.h"
#include "shogirules/legalmoves.h"

namespace shogi {
namespace {

// Under the sanitizers the search stops a ply earlier, which walks the same
// code. The plain build counts the fourth ply too.
using ::test::kSanitized;

// Counts the move sequences of `depth` plies the way players produce them.
long long perft(const ShogiPosition& p, int depth) {
    long long total = 0;
    ForEachLegalMove(p, [&](const LegalMove& move) {
        total += depth == 1 ? 1 : perft(TurnedForOpponent(move.after), depth - 1);
    });
    return total;
}

TEST(Perft, FromTheInitialPosition) {
    const ShogiPosition start;
    EXPECT_EQ(perft(start, 1), 30);
    EXPECT_EQ(perft(start, 2), 900);
    EXPECT_EQ(perft(start, 3), 25470);
    if (!kSanitized) {
        EXPECT_EQ(perft(start, 4), 719731);
    }
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
