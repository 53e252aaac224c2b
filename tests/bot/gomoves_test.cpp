#include <gtest/gtest.h>

#include "goboards.h"
#include "gomoves.h"

namespace bot {
namespace {

using go::Point;
using go::Stone;
using test::drawing;
using test::goBoard;

TEST(GoVertex, PointsAndTheirNames) {
    const struct {
        Point p;
        const char* vertex;
    } cases[] = {
        {{0, 0}, "A19"}, {{8, 18}, "J1"}, {{18, 0}, "T19"}, {{7, 3}, "H16"}, {{15, 3}, "Q16"}};
    for (const auto& c : cases) {
        EXPECT_EQ(gtpVertex(c.p), QLatin1String(c.vertex));
        EXPECT_EQ(pointFromVertex(QString::fromLatin1(c.vertex)), c.p) << c.vertex;
    }
    EXPECT_EQ(pointFromVertex(u"q16"), (Point{15, 3}));
    for (const char* text : {"", "A", "I5", "A0", "A20", "A05", "Z1", "PASS", "resign", "A1x"})
        EXPECT_FALSE(pointFromVertex(QString::fromLatin1(text))) << text;

    EXPECT_EQ(pointsFromList(u"A19 T1"), (std::vector<Point>{{0, 0}, {18, 18}}));
    EXPECT_EQ(pointsFromList(u""), std::vector<Point>{});
    EXPECT_FALSE(pointsFromList(u"A19 I9"));
}

go::MarkedBan marked(const go::Ban& ban, std::optional<Point> last) {
    return {ban, last};
}

TEST(DeriveGoMove, TheStoneThatLedToTheNewBoard) {
    const go::Ban corner = goBoard({"OX", "..", "..", "..", "..", "..", "..", "..", "..", "...X"});
    const struct {
        const char* what;
        go::Ban before;
        go::MarkedBan after;
        std::optional<GoMove> move;
    } cases[] = {
        {"a stone", go::Ban(), marked(goBoard({"...", "...", "...X"}), Point{3, 2}),
         GoMove{false, {3, 2}}},
        {"a stone that takes one", corner,
         marked(goBoard({".X", "X.", "..", "..", "..", "..", "..", "..", "..", "...X"}),
                Point{0, 1}),
         GoMove{false, {0, 1}}},
        {"a pass", corner, marked(corner, std::nullopt), GoMove{true, {}}},
        {"a new stone without its mark", corner,
         marked(goBoard({"OX", "..X", "..", "..", "..", "..", "..", "..", "..", "...X"}),
                std::nullopt),
         std::nullopt},
        {"the bot's colour", go::Ban(), marked(goBoard({"O"}), Point{0, 0}), std::nullopt},
        {"a second new stone", go::Ban(), marked(goBoard({"X.X"}), Point{0, 0}), std::nullopt},
        {"a taken stone left standing", corner,
         marked(goBoard({"OX", "X.", "..", "..", "..", "..", "..", "..", "..", "...X"}),
                Point{0, 1}),
         std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deriveOpponentMove(c.before, c.after, Stone::Black), c.move) << c.what;
}

TEST(EngineView, GroupsWithoutLibertyBecomeTheWallAroundThem) {
    // A black stone placed where it had no liberty (the game programs allow
    // it) is handed over as white.
    EXPECT_EQ(engineView(goBoard({"XO", "O"})), goBoard({"OO", "O"}));
    // A knot where neither side has a liberty is left out.
    EXPECT_EQ(engineView(goBoard({"XOX", "OXX", "XX"})), goBoard({"..X", ".XX", "XX"}))
        << drawing(engineView(goBoard({"XOX", "OXX", "XX"})));
    const go::Ban ordinary = goBoard({".XO", "XO.", "O"});
    EXPECT_EQ(engineView(ordinary), ordinary);
}

TEST(SetupRecord, TheBoardAsAGameRecord) {
    go::Ban ban;
    ban.set({3, 3}, Stone::Black);
    ban.set({15, 15}, Stone::White);
    ban.set({16, 15}, Stone::White);
    EXPECT_EQ(setupRecord(ban, Stone::White, 6.5),
              u"(;GM[1]FF[4]SZ[19]KM[6.5]AB[dd]AW[pp][qp]PL[W])");
    EXPECT_EQ(setupRecord(go::Ban(), Stone::Black, 6.5), u"(;GM[1]FF[4]SZ[19]KM[6.5]PL[B])");
    // A stone without a liberty goes as the other colour.
    EXPECT_EQ(setupRecord(goBoard({"XO", "O"}), Stone::Black, 6.5),
              u"(;GM[1]FF[4]SZ[19]KM[6.5]AW[aa][ba][ab]PL[B])");
}

TEST(EstimatedWinner, ReadsTheEngineScore) {
    EXPECT_EQ(estimatedWinner(u"W+12.5 (upper bound: 14.2, lower: 10.1)"), Stone::White);
    EXPECT_EQ(estimatedWinner(u"B+0.5"), Stone::Black);
    EXPECT_FALSE(estimatedWinner(u"0"));
    EXPECT_FALSE(estimatedWinner(u""));
}

}  // namespace
}  // namespace bot
