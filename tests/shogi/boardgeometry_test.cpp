#include <gtest/gtest.h>

#include "boardgeometry.h"

namespace shogi {
namespace {

TEST(BoardGeometry, BoardCellsAndFrameLines) {
    const BoardGeometry g(40, 44);
    EXPECT_EQ(g.boardWidth(), 387);
    EXPECT_EQ(g.boardHeight(), 423);
    EXPECT_EQ(g.pieceOrigin(0), QPoint(71, 1));
    EXPECT_EQ(g.pieceOrigin(80), QPoint(71 + 8 * 43, 1 + 8 * 47));
    EXPECT_EQ(g.cellAt({70, 0}), (Square{0, 0}));
    EXPECT_EQ(g.cellAt({70 + 43, 47}), (Square{1, 1}));
    EXPECT_EQ(g.cellAt({70 + 386, 422}), (Square{8, 8}));
    EXPECT_FALSE(g.cellAt({70 + 387, 10}));  // right frame line
    EXPECT_FALSE(g.cellAt({100, 423}));      // bottom frame line
    EXPECT_FALSE(g.cellAt({69, 10}));
    EXPECT_FALSE(g.cellAt({100, -1}));
}

TEST(BoardGeometry, HandColumns) {
    const BoardGeometry g(40, 44);
    // Own hand right of the board: 70 + 387 + 20.
    EXPECT_EQ(g.ownHandX(), 477);
    EXPECT_EQ(g.ownHandImage(1), QPoint(477, 44));
    EXPECT_EQ(g.ownHandCount(0), QPoint(70 + 387 + 60 - 16, 24));
    // The opponent's hand grows upward from the board's bottom edge.
    EXPECT_EQ(g.oppHandX(), 10);
    EXPECT_EQ(g.oppHandImage(1), QPoint(10, 423 - 44));
    EXPECT_EQ(g.oppHandImage(2), QPoint(10, 423 - 88));
    EXPECT_EQ(g.oppHandCount(1), QPoint(35, 423 - 44 + 2));
    // Halves round to even: 70 + 9 * 44 + 20.5 = 486.5 gives 486.
    EXPECT_EQ(BoardGeometry(41, 44).ownHandX(), 486);
}

TEST(BoardGeometry, HandPickCountsOnlyHeldKinds) {
    const BoardGeometry g(40, 44);
    Hand hand;
    hand.find(Kind::Ke)->count = 1;
    hand.find(Kind::Ka)->count = 2;
    const int x = g.ownHandX() + 20;
    EXPECT_EQ(g.handPieceAt(hand, {x, 10}), Kind::Ke);
    EXPECT_EQ(g.handPieceAt(hand, {x, 44 + 10}), Kind::Ka);
    EXPECT_FALSE(g.handPieceAt(hand, {x, 88 + 10}));
    EXPECT_FALSE(g.handPieceAt(hand, {g.ownHandX(), 10}));       // left edge: i = 0
    EXPECT_FALSE(g.handPieceAt(hand, {g.ownHandX() + 40, 10}));  // right edge: i = bmW
    EXPECT_FALSE(g.handPieceAt(hand, {x, -5}));
    EXPECT_FALSE(g.handPieceAt(Hand{}, {x, 10}));
}

}  // namespace
}  // namespace shogi
