#include <gtest/gtest.h>

#include "diagram.h"
#include "shogirules/moverules.h"
#include "shogirules/rulemessages.h"

namespace shogi {
namespace {

using test::boardFromDiagram;

const QString kLeavesCheck = kMsgMoveLeavesCheck.toString();
const QString kCannotEscape = kMsgKingCannotEscape.toString();
const QString kCannotDrop = kMsgCannotDropThere.toString();
const QString kTwoPawns = kMsgTwoPawns.toString();

// Cells a lone own piece of `kind` on (4, 4) may move to on an empty board.
int reachableFromCentre(Kind kind) {
    Board b;
    b.set({4, 4}, Cell::own(kind));
    int n = 0;
    for (int k = 0; k < kCellCount; ++k)
        n += CanReach(b, Square::fromCellNumber(k), {4, 4}, kind);
    return n;
}

TEST(Movement, EachKindReachesItsCellsOnAnEmptyBoard) {
    const struct {
        Kind kind;
        int cells;
    } table[] = {{Kind::Fu, 1},  {Kind::Ky, 4},  {Kind::Ke, 2},  {Kind::Gi, 5},
                 {Kind::Ki, 6},  {Kind::To, 6},  {Kind::NC, 6},  {Kind::NK, 6},
                 {Kind::NG, 6},  {Kind::Ou, 8},  {Kind::Gy, 8},  {Kind::Hi, 16},
                 {Kind::Ka, 16}, {Kind::Ry, 20}, {Kind::Um, 20}, {Kind::Dummy, 0}};
    for (const auto& row : table) {
        EXPECT_EQ(reachableFromCentre(row.kind), row.cells) << kindCode(row.kind);
    }
}

TEST(Movement, StepsPointUpwardForTheOwnSide) {
    Board b;
    EXPECT_TRUE(CanReach(b, {4, 3}, {4, 4}, Kind::Fu));
    EXPECT_FALSE(CanReach(b, {4, 5}, {4, 4}, Kind::Fu));
    EXPECT_TRUE(CanReach(b, {3, 2}, {4, 4}, Kind::Ke));
    EXPECT_TRUE(CanReach(b, {5, 2}, {4, 4}, Kind::Ke));
    EXPECT_FALSE(CanReach(b, {3, 6}, {4, 4}, Kind::Ke));
    EXPECT_TRUE(CanReach(b, {3, 5}, {4, 4}, Kind::Gi));   // back diagonal
    EXPECT_FALSE(CanReach(b, {4, 5}, {4, 4}, Kind::Gi));  // straight back
    EXPECT_TRUE(CanReach(b, {4, 5}, {4, 4}, Kind::Ki));
    EXPECT_FALSE(CanReach(b, {3, 5}, {4, 4}, Kind::Ki));
    EXPECT_TRUE(CanReach(b, {4, 0}, {4, 4}, Kind::Ky));
    EXPECT_FALSE(CanReach(b, {4, 8}, {4, 4}, Kind::Ky));
    EXPECT_TRUE(CanReach(b, {3, 3}, {4, 4}, Kind::Ry));   // dragon's diagonal step
    EXPECT_FALSE(CanReach(b, {2, 2}, {4, 4}, Kind::Ry));  // but no diagonal slide
    EXPECT_TRUE(CanReach(b, {4, 3}, {4, 4}, Kind::Um));
    EXPECT_FALSE(CanReach(b, {4, 2}, {4, 4}, Kind::Um));
}

TEST(Movement, StepAndSlideCodes) {
    const Square c{4, 4};
    EXPECT_EQ(StepCode(c, {3, 3}), 1);
    EXPECT_EQ(StepCode(c, {4, 3}), 2);
    EXPECT_EQ(StepCode(c, {5, 3}), 3);
    EXPECT_EQ(StepCode(c, {5, 4}), 4);
    EXPECT_EQ(StepCode(c, {5, 5}), 5);
    EXPECT_EQ(StepCode(c, {4, 5}), 6);
    EXPECT_EQ(StepCode(c, {3, 5}), 7);
    EXPECT_EQ(StepCode(c, {3, 4}), 8);
    EXPECT_EQ(StepCode(c, {3, 2}), 9);
    EXPECT_EQ(StepCode(c, {5, 2}), 10);
    EXPECT_EQ(StepCode(c, c), 0);
    EXPECT_EQ(StepCode(c, {4, 2}), 0);

    Board b;
    EXPECT_EQ(SlideCode(b, c, {4, 0}), 1);
    EXPECT_EQ(SlideCode(b, c, {8, 4}), 2);
    EXPECT_EQ(SlideCode(b, c, {4, 6}), 3);
    EXPECT_EQ(SlideCode(b, c, {0, 4}), 4);
    EXPECT_EQ(SlideCode(b, c, {1, 1}), 5);
    EXPECT_EQ(SlideCode(b, c, {6, 6}), 6);
    EXPECT_EQ(SlideCode(b, c, {7, 1}), 7);
    EXPECT_EQ(SlideCode(b, c, {2, 6}), 8);
    EXPECT_EQ(SlideCode(b, c, {4, 3}), 0);  // one cell is a step, not a slide
    EXPECT_EQ(SlideCode(b, c, {5, 2}), 0);  // not straight
    b.set({4, 2}, Cell::own(Kind::Fu));
    EXPECT_EQ(SlideCode(b, c, {4, 1}), 0);  // blocked by any piece
    EXPECT_EQ(SlideCode(b, c, {4, 2}), 1);  // the blocker itself is reachable
    b.set({5, 5}, Cell::opp(Kind::Fu));
    EXPECT_EQ(SlideCode(b, c, {7, 7}), 0);
}

TEST(IsLegalMove, FromTheInitialPosition) {
    const Board b = Board::initial();
    QStringList m;
    EXPECT_TRUE(IsLegalMove(b, {2, 5}, {2, 6}, Cell::own(Kind::Fu), &m));
    EXPECT_FALSE(IsLegalMove(b, {2, 4}, {2, 6}, Cell::own(Kind::Fu), &m));
    // The bishop cannot slide past its own pawn; the rook runs right and left
    // along its row up to its own bishop, never through it.
    EXPECT_FALSE(IsLegalMove(b, {3, 5}, {1, 7}, Cell::own(Kind::Ka), &m));
    for (int x : {2, 3, 4, 5, 6, 8})
        EXPECT_TRUE(IsLegalMove(b, {x, 7}, {7, 7}, Cell::own(Kind::Hi), &m));
    EXPECT_FALSE(IsLegalMove(b, {0, 7}, {7, 7}, Cell::own(Kind::Hi), &m));
    EXPECT_FALSE(IsLegalMove(b, {7, 5}, {7, 7}, Cell::own(Kind::Hi), &m));
    EXPECT_TRUE(m.isEmpty());  // refusals out of check are silent
}

TEST(IsLegalMove, SlidesCaptureTheFirstPieceButNeverPassIt) {
    const Board b = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        "Fu2  .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .  Hi1  .  Ki2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        "Ky1  .   .   .  Gy1  .   .   .   . ",
    });
    EXPECT_TRUE(IsLegalMove(b, {0, 2}, {0, 8}, Cell::own(Kind::Ky), nullptr));
    EXPECT_FALSE(IsLegalMove(b, {0, 1}, {0, 8}, Cell::own(Kind::Ky), nullptr));
    EXPECT_TRUE(IsLegalMove(b, {4, 4}, {2, 4}, Cell::own(Kind::Hi), nullptr));
    EXPECT_FALSE(IsLegalMove(b, {5, 4}, {2, 4}, Cell::own(Kind::Hi), nullptr));
}

TEST(IsLegalMove, PinnedSilverMayOnlyStayOnTheLine) {
    const Board b = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Hi2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gi1  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    QStringList m;
    EXPECT_FALSE(IsLegalMove(b, {3, 5}, {4, 6}, Cell::own(Kind::Gi), &m));
    EXPECT_EQ(m, QStringList{kLeavesCheck});
    m.clear();
    EXPECT_TRUE(IsLegalMove(b, {4, 5}, {4, 6}, Cell::own(Kind::Gi), &m));
    EXPECT_TRUE(m.isEmpty());
    EXPECT_EQ(b.at({4, 6}), Cell::own(Kind::Gi));  // the trial moves left no trace
}

TEST(IsLegalMove, KingTestRunsBeforeTheShapeTest) {
    const Board inCheck = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Ky2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .  Ke1  .   .  Gy1  .   .   .   . ",
    });
    ASSERT_TRUE(InCheck(inCheck));
    QStringList m;
    EXPECT_FALSE(IsLegalMove(inCheck, {1, 4}, {1, 8}, Cell::own(Kind::Ke), &m));
    EXPECT_EQ(m, QStringList{kLeavesCheck});

    Board calm = inCheck;
    calm.set({4, 2}, Cell::empty());
    ASSERT_FALSE(InCheck(calm));
    m.clear();
    EXPECT_FALSE(IsLegalMove(calm, {1, 4}, {1, 8}, Cell::own(Kind::Ke), &m));
    EXPECT_TRUE(m.isEmpty());

    // A piece outside the movement table is refused before any king test.
    m.clear();
    EXPECT_FALSE(IsLegalMove(inCheck, {1, 4}, {1, 8}, Cell::empty(), &m));
    EXPECT_TRUE(m.isEmpty());
}

TEST(IsLegalMove, KingMayNotStepOntoAttackedCells) {
    const Board b = boardFromDiagram({
        " .   .   .   .  Hi2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .  Ou2  .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
    });
    QStringList m;
    // Away from the rook along its own line: the lifted king shields nothing.
    EXPECT_FALSE(IsLegalMove(b, {4, 5}, {4, 4}, Cell::own(Kind::Gy), &m));
    EXPECT_EQ(m, QStringList{kCannotEscape});
    // Next to the other king.
    m.clear();
    EXPECT_FALSE(IsLegalMove(b, {3, 5}, {4, 4}, Cell::own(Kind::Gy), &m));
    EXPECT_EQ(m, QStringList{kCannotEscape});
    // Off the line and out of reach: accepted.
    m.clear();
    EXPECT_TRUE(IsLegalMove(b, {5, 3}, {4, 4}, Cell::own(Kind::Gy), &m));
    EXPECT_TRUE(m.isEmpty());
}

TEST(InCheck, EveryOpponentKindAttacksAsItsOwnMovementTurnedOver) {
    const struct {
        const char* attacker;
        Square from;
        bool checks;
    } cases[] = {
        {"Fu2", {4, 3}, true},  {"Fu2", {4, 5}, false}, {"Ky2", {4, 0}, true},
        {"Ky2", {4, 8}, false}, {"Ke2", {3, 2}, true},  {"Ke2", {3, 6}, false},
        {"Gi2", {3, 5}, true},  {"Gi2", {4, 3}, true},  {"Gi2", {4, 5}, false},
        {"Ki2", {3, 3}, true},  {"Ki2", {3, 5}, false}, {"Ka2", {0, 0}, true},
        {"Ka2", {4, 0}, false}, {"Um2", {4, 3}, true},  {"Hi2", {0, 4}, true},
        {"Ry2", {3, 3}, true},  {"Ry2", {2, 2}, false}, {"NK2", {4, 5}, true},
    };
    for (const auto& c : cases) {
        Board b;
        b.set({4, 4}, Cell::own(Kind::Gy));
        b.set(c.from, *cellFromText(QString::fromLatin1(c.attacker)));
        EXPECT_EQ(InCheck(b), c.checks) << c.attacker << " at " << c.from.x << "," << c.from.y;
    }
    Board shielded;
    shielded.set({4, 4}, Cell::own(Kind::Gy));
    shielded.set({4, 0}, Cell::opp(Kind::Hi));
    shielded.set({4, 2}, Cell::opp(Kind::Fu));
    EXPECT_FALSE(InCheck(shielded));  // even the opponent's own piece blocks the line
}

TEST(IsLegalDrop, PawnMessagesComeInOrder) {
    const Board b = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        "Fu1 To1  .   .   .   .   .   .  Fu2",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    const Cell pawn = Cell::own(Kind::Fu);
    QStringList m;
    EXPECT_FALSE(IsLegalDrop(b, {0, 0}, pawn, &m));
    EXPECT_EQ(m, (QStringList{kCannotDrop, kTwoPawns}));
    m.clear();
    EXPECT_FALSE(IsLegalDrop(b, {0, 4}, pawn, &m));
    EXPECT_EQ(m, QStringList{kTwoPawns});
    m.clear();
    EXPECT_TRUE(IsLegalDrop(b, {1, 4}, pawn, &m));  // a promoted pawn does not count
    EXPECT_TRUE(IsLegalDrop(b, {8, 4}, pawn, &m));  // nor does the opponent's pawn
    EXPECT_TRUE(m.isEmpty());
    EXPECT_FALSE(IsLegalDrop(b, {2, 0}, pawn, &m));
    EXPECT_EQ(m, QStringList{kCannotDrop});
}

TEST(IsLegalDrop, RowLimitsForKnightOnlyPawnAndKnight) {
    const Board b;
    QStringList m;
    EXPECT_TRUE(IsLegalDrop(b, {0, 0}, Cell::own(Kind::Ky), &m));
    EXPECT_FALSE(IsLegalDrop(b, {3, 1}, Cell::own(Kind::Ke), &m));
    EXPECT_FALSE(IsLegalDrop(b, {3, 0}, Cell::own(Kind::Ke), &m));
    EXPECT_EQ(m, (QStringList{kCannotDrop, kCannotDrop}));
    m.clear();
    EXPECT_TRUE(IsLegalDrop(b, {3, 2}, Cell::own(Kind::Ke), &m));
    for (Kind k : {Kind::Gi, Kind::Ki, Kind::Hi, Kind::Ka})
        EXPECT_TRUE(IsLegalDrop(b, {5, 0}, Cell::own(k), &m));
    EXPECT_TRUE(m.isEmpty());
}

}  // namespace
}  // namespace shogi
