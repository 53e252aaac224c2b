#include <gtest/gtest.h>

#include "geometry.h"

namespace go {
namespace {

// Stones of 28 x 28 pixels: lines 31 pixels apart, the board 558 x 558.
const GoGeometry g(28, 28);

TEST(GoGeometry, BoardDrawing) {
    EXPECT_EQ(g.colStep(), 31);
    EXPECT_EQ(g.boardWidth(), 558);
    EXPECT_EQ(g.boardHeight(), 558);
    EXPECT_EQ(g.boardRect(), QRect(50, 20, 558, 558));
    EXPECT_EQ(g.intersection({3, 15}), QPoint(143, 485));
    EXPECT_EQ(g.verticalLine(1), QLine(81, 20, 81, 578));
    EXPECT_EQ(g.horizontalLine(17), QLine(50, 547, 608, 547));
    EXPECT_EQ(g.starPoints()[4], (Point{9, 9}));
    EXPECT_EQ(g.stoneOrigin(0), QPoint(37, 7));
    EXPECT_EQ(g.stoneOrigin(Point{3, 15}.number()), QPoint(37 + 93, 7 + 465));
    EXPECT_EQ(g.stripSource(1), QRect(28, 0, 28, 28));
    EXPECT_EQ(g.crossLines({2, 2}),
              (std::array<QLine, 2>{QLine(107, 82, 117, 82), QLine(112, 77, 112, 87)}));
    EXPECT_EQ(g.dragStoneOrigin({100, 100}), QPoint(86, 86));
    // Halves round to even: 51 - 14.5 = 36.5 gives 36; 576 + 50 + 14.5 + 20 = 660.5 gives 660.
    const GoGeometry odd(29, 29);
    EXPECT_EQ(odd.stoneOrigin(0), QPoint(36, 6));
    EXPECT_EQ(odd.iconX(), 660);
}

TEST(GoGeometry, IconCountersAndClocks) {
    EXPECT_EQ(g.iconX(), 642);  // 558 + 50 + 14 + 20
    const struct {
        QPoint mouse;
        bool picks;
    } presses[] = {{{643, 21}, true},  {{669, 47}, true},  {{642, 30}, false},
                   {{670, 30}, false}, {{650, 20}, false}, {{650, 48}, false}};
    for (const auto& p : presses)
        EXPECT_EQ(g.picksIcon(p.mouse), p.picks) << p.mouse.x() << "," << p.mouse.y();
    EXPECT_EQ(g.myCapturedText(), QPoint(644, 299));  // 643.5 rounds to even
    EXPECT_EQ(g.myCapturedImage(), QPoint(644, 315));
    EXPECT_EQ(g.oppCapturedText(), QPoint(15, 299));
    EXPECT_EQ(g.oppCapturedImage(), QPoint(15, 315));
    EXPECT_EQ(g.oppClockLabel(), QPoint(518, 607));
    EXPECT_EQ(g.oppClockText(), QPoint(553, 607));
    EXPECT_EQ(g.ownClockLabel(), QPoint(518, 639));
    EXPECT_EQ(g.ownClockText(), QPoint(553, 639));
    const QSize size = g.clientSize();
    EXPECT_GE(size.width(), g.iconRect().right() + 1);
    EXPECT_GE(size.height(), g.ownClockText().y() + 16);
}

TEST(GoGeometry, PointFromMouse) {
    const struct {
        int mx, my;
        const char* text;
    } cases[] = {
        {50, 20, "0000"},   {36, 6, "0000"},     // the mapping window starts half a stone out
        {35, 20, ""},       {50, 5, ""},         //
        {143, 392, "0312"}, {94, 20, "0100"},    // x = floor((mx - 64) / 31) + 1
        {95, 20, "0200"},   {887, 857, "2727"},  // up to one and a half boards
        {888, 20, ""},      {50, 858, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.PointFromMouse(c.mx, c.my), QString::fromLatin1(c.text)) << c.mx << "," << c.my;
}

TEST(GoGeometry, DropsLandOnEmptyPointsOfTheBoardOnly) {
    Ban ban;
    ban.set({3, 12}, Stone::White);
    const struct {
        int mx, my;
        std::optional<Point> lands;
    } cases[] = {
        {174, 392, Point{4, 12}},
        {143, 392, std::nullopt},  // occupied
        {50, 20, Point{0, 0}},     // on the corner's crossing
        {50, 30, Point{0, 0}},
        {60, 20, Point{0, 0}},
        {40, 40, Point{0, 1}},
        {50 + 18 * 31, 20 + 18 * 31, Point{18, 18}},
        {50 + 19 * 31, 40, std::nullopt},  // column 19
        {60, 20 + 19 * 31, std::nullopt},  // row 19
        {900, 40, std::nullopt},           // outside the mapping window
    };
    for (const auto& c : cases)
        EXPECT_EQ(g.dropPoint(ban, c.mx, c.my), c.lands) << c.mx << "," << c.my;
}

// Half a cell beyond an edge line still lands on the edge point, and no
// further, the same on every side: stones of 28 pixels reach 14 pixels out.
TEST(GoGeometry, EdgePointsTakeDropsUpToHalfACellOutsideOnEverySide) {
    const Ban empty;
    const int left = 50, top = 20, right = 50 + 558, bottom = 20 + 558;
    for (const int out : {0, 13, 14}) {
        EXPECT_EQ(g.dropPoint(empty, left - out, 300), (Point{0, 9})) << out;
        EXPECT_EQ(g.dropPoint(empty, right + out, 300), (Point{18, 9})) << out;
        EXPECT_EQ(g.dropPoint(empty, 300, top - out), (Point{8, 0})) << out;
        EXPECT_EQ(g.dropPoint(empty, 300, bottom + out), (Point{8, 18})) << out;
        EXPECT_EQ(g.dropPoint(empty, left - out, top - out), (Point{0, 0})) << out;
        EXPECT_EQ(g.dropPoint(empty, right + out, bottom + out), (Point{18, 18})) << out;
    }
    for (const int out : {15, 16}) {
        EXPECT_EQ(g.dropPoint(empty, left - out, 300), std::nullopt) << out;
        EXPECT_EQ(g.dropPoint(empty, right + out, 300), std::nullopt) << out;
        EXPECT_EQ(g.dropPoint(empty, 300, top - out), std::nullopt) << out;
        EXPECT_EQ(g.dropPoint(empty, 300, bottom + out), std::nullopt) << out;
    }
    // Stones of an odd size reach as far on both sides.
    const GoGeometry odd(29, 29);  // lines 32 apart, the board 576 wide
    const struct {
        int mx;
        bool lands;
    } oddCases[] = {{36, true}, {35, false}, {640, true}, {641, false}};
    for (const auto& c : oddCases)
        EXPECT_EQ(odd.dropPoint(empty, c.mx, 300).has_value(), c.lands) << c.mx;
}

}  // namespace
}  // namespace go
