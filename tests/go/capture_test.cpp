#include <gtest/gtest.h>

#include <functional>

#include "diagram.h"
#include "gorules/capture.h"
#include "gorules/placement.h"
#include "gorules/positionstring.h"

namespace go {
namespace {

using test::boardFromDiagram;
using test::diagramOf;

struct Placement {
    Point at;
    Stone colour;
    int captured;  // stones this placement is expected to take
};

// Places the stones one after another as the window does (PlaceStone with
// the mover's colour as the own one), keeping one running count per colour,
// and checks what each placement took and that the position string follows.
void play(Ban& ban, const std::vector<Placement>& placements) {
    qint32 counts[2] = {7, 7};  // counts grow from what they were
    for (const Placement& m : placements) {
        SCOPED_TRACE(testing::Message() << "placement at " << m.at.x << "," << m.at.y);
        GoPosition position;
        position.ban = ban;
        position.ownColour = m.colour;
        position.MyCaptured = counts[stoneCode(m.colour)];
        const go::Placement placed = PlaceStone(position, m.at);
        ASSERT_TRUE(placed.placed);
        EXPECT_EQ(placed.captured, m.captured > 0);
        EXPECT_EQ(position.MyCaptured - counts[stoneCode(m.colour)], m.captured);
        EXPECT_EQ(position.ban.at(m.at), m.colour);  // the mover's stone always stays
        EXPECT_EQ(position.MyLastMove, m.at);
        EXPECT_EQ(position.positionString, positionString(position.ban));
        // The same point again, or one off the board: nothing changes.
        const GoPosition after = position;
        for (const Point refused : {m.at, Point{kBoardSize, 0}, Point{0, -1}}) {
            EXPECT_FALSE(PlaceStone(position, refused).placed);
            EXPECT_EQ(position.ban, after.ban);
            EXPECT_EQ(position.MyCaptured, after.MyCaptured);
        }
        counts[stoneCode(m.colour)] = position.MyCaptured;
        ban = position.ban;
    }
}

struct CaptureCase {
    const char* name;
    Point origin;
    std::vector<const char*> before;
    std::vector<Placement> placements;
    std::vector<const char*> after;
};

TEST(GoCapture, PlacementsTakeExactlyTheDeadOpponentGroups) {
    const Stone X = Stone::Black;
    const Stone O = Stone::White;
    const CaptureCase cases[] = {
        {"corner stone", {0, 0}, {"OX", ".."}, {{{0, 1}, X, 1}}, {".X", "X."}},
        {"group touching the stone on two sides is counted once",
         {0, 0},
         {".XX.", "XOOX", "XO.X", ".XX."},
         {{{2, 2}, X, 3}},
         {".XX.", "X..X", "X.XX", ".XX."}},
        {"two groups at once",
         {0, 0},
         {"XOX", "O.X", "XX."},
         {{{1, 1}, X, 2}},
         {"X.X", ".XX", "XX."}},
        {"a group with one liberty left stays",
         {0, 0},
         {"OOX", "..."},
         {{{0, 1}, X, 0}},
         {"OOX", "X.."}},
        {"no suicide: the stone stays until the opponent plays next to it",
         {0, 0},
         {".O..", "OX.."},
         {{{0, 0}, X, 0}, {{2, 0}, X, 1}, {{1, 0}, O, 1}},
         {".OX.", "OX.."}},
        {"a point just captured is played back at once (no ko)",
         {0, 0},
         {".XO.", "XO.O", ".XO."},
         {{{2, 1}, X, 1}, {{1, 1}, O, 1}},
         {".XO.", "XO.O", ".XO."}},
        {"column 19 is no liberty",
         {16, 4},
         {"..X", ".XO", ".XO", "..."},
         {{{18, 7}, X, 2}},
         {"..X", ".X.", ".X.", "..X"}},
        {"corner 18, 18", {17, 17}, {"..", "XO"}, {{{18, 17}, X, 1}}, {".X", "X."}},
        {"row 19 is no liberty",
         {5, 17},
         {".XX.", "XOO."},
         {{{8, 17}, X, 0}, {{8, 18}, X, 2}},
         {".XXX", "X..X"}},
        {"white takes black", {0, 0}, {"XO", ".."}, {{{0, 1}, O, 1}}, {".O", "O."}},
    };
    for (const CaptureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Ban ban = boardFromDiagram(c.before, c.origin);
        play(ban, c.placements);
        EXPECT_EQ(ban, boardFromDiagram(c.after, c.origin)) << diagramOf(ban);
    }
}

// White fills the board in a one-stone-wide snake (rows 0, 2, ..., 18 joined
// at alternating ends), black fills the rest; the snake's last point (0, 18)
// is left empty.
Ban snake() {
    Ban ban;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const bool white = y % 2 == 0 || x == (y % 4 == 1 ? kLastLine : 0);
            ban.set({x, y}, white ? Stone::White : Stone::Black);
        }
    }
    ban.set({0, 18}, Stone::Empty);
    return ban;
}

// White fills the board around 25 single black stones (x and y each 1, 5, 9,
// 13 or 17), which the search must walk around; the corner (18, 18) is left
// empty: one group of 335 white stones with that one liberty.
Ban sea() {
    Ban ban;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const bool black = x % 4 == 1 && y % 4 == 1;
            ban.set({x, y}, black ? Stone::Black : Stone::White);
        }
    }
    ban.set({kLastLine, kLastLine}, Stone::Empty);
    return ban;
}

TEST(GoCapture, LargeGroupsAreSearchedToTheEnd) {
    struct LargeCase {
        const char* name;
        std::function<Ban()> build;
        Point move;
        int captured;  // every white stone, or none
    };
    const LargeCase cases[] = {
        {"a block of 209 stones",
         [] {
             Ban ban;
             for (int y = 0; y <= 11; ++y)
                 for (int x = 0; x < kBoardSize; ++x)
                     ban.set({x, y}, y < 11 ? Stone::White : Stone::Black);
             ban.set({9, 11}, Stone::Empty);
             return ban;
         },
         {9, 11},
         209},
        // The search starts at one end and must walk all 198 stones in one path.
        {"a snake of 198 stones", snake, {0, 18}, 198},
        {"a snake whose only liberty is at its far end",
         [] {
             Ban ban = snake();
             ban.set({0, 0}, Stone::Empty);
             return ban;
         },
         {0, 18},
         0},
        {"a group of 335 stones", sea, {kLastLine, kLastLine}, 335},
        {"a group of 334 stones that keeps one liberty in the far corner",
         [] {
             Ban ban = sea();
             ban.set({0, 0}, Stone::Empty);
             return ban;
         },
         {kLastLine, kLastLine},
         0},
    };
    for (const LargeCase& c : cases) {
        SCOPED_TRACE(c.name);
        Ban ban = c.build();
        Ban expected = ban;
        expected.set(c.move, Stone::Black);
        if (c.captured > 0) {
            for (int k = 0; k < kPointCount; ++k)
                if (expected.at(Point::fromNumber(k)) == Stone::White)
                    expected.set(Point::fromNumber(k), Stone::Empty);
        }
        play(ban, {{c.move, Stone::Black, c.captured}});
        EXPECT_EQ(ban, expected) << diagramOf(ban);
    }
}

TEST(GoGroupSearch, NeighbourWalksUseTheFixedOrderAndStopAtLiberties) {
    Ban ban = boardFromDiagram({"XO..", "OOX.", ".O.."});
    ban.set({18, 17}, Stone::Black);
    ban.set({17, 18}, Stone::Black);
    const CaptureSearch search(ban);
    EXPECT_EQ(search.NeighborDirs({1, 1}, Stone::White).text(), u"284");
    EXPECT_EQ(search.NeighborDirs({0, 0}, Stone::White).text(), u"68");
    EXPECT_EQ(search.NeighborDirs({0, 0}, Stone::Black).text(), u"");
    EXPECT_EQ(search.SameColorDirs(1, 1, Stone::White).text(), u"284");
    EXPECT_EQ(search.SameColorDirs(1, 0, Stone::White).text(), u"QUIT");  // (2, 0) is empty
    EXPECT_EQ(search.SameColorDirs(0, 0, Stone::Black).text(), u"");      // edges and white only
    EXPECT_EQ(search.SameColorDirs(18, 18, Stone::Black).text(), u"24");  // the wall adds nothing
    EXPECT_EQ(search.NextFreeDir(1, 1, Stone::White), Dir::Up);
    EXPECT_FALSE(search.NextFreeDir(1, 0, Stone::White));  // a liberty, no direction
}

TEST(GoGroupSearch, MarksOfADeadGroupAreMergedAndRemovedOnce) {
    Ban ban = boardFromDiagram({".XX.", "XOOX", "XOXX", ".X.."});
    CaptureSearch search(ban);
    // Searched from (2, 2) upward, then leftward: the same group twice.
    ASSERT_TRUE(search.SearchGroup({2, 2}, Dir::Up, Stone::White));
    for (Point p : {Point{1, 1}, Point{2, 1}, Point{1, 2}})
        EXPECT_TRUE(search.isVisited(p));
    EXPECT_FALSE(search.isVisited({0, 0}));
    EXPECT_FALSE(search.NextFreeDir(1, 1, Stone::White));  // all walked
    search.MergeMarks();
    search.ClearMarks(1);
    EXPECT_FALSE(search.isVisited({1, 1}));
    EXPECT_EQ(search.NextFreeDir(1, 1, Stone::White), Dir::Right);
    ASSERT_TRUE(search.SearchGroup({2, 2}, Dir::Left, Stone::White));
    search.MergeMarks();
    EXPECT_EQ(search.RemoveMarked(), 3);
    EXPECT_EQ(ban, boardFromDiagram({".XX.", "X..X", "X.XX", ".X.."})) << diagramOf(ban);
    // Nothing beyond the edge, and a level-2 clear forgets the captured group.
    EXPECT_FALSE(search.SearchGroup({0, 0}, Dir::Up, Stone::White));
    search.ClearMarks(2);
    EXPECT_FALSE(search.isCaptureMarked({1, 1}));
}

}  // namespace
}  // namespace go
