#include <gtest/gtest.h>

#include "chslines.h"
#include "gorules/positionstring.h"
#include "recordfiles.h"
#include "sgf.h"

namespace records {
namespace {

using go::Ban;
using go::Point;
using go::Stone;
using test::RecordFolder;

// The record black keeps of these stones: two digits after his own, the
// received digits with the last stone marked after white's.
QStringList blacksRecord(const std::vector<std::pair<Stone, Point>>& stones, Ban start = {}) {
    GoGame game;
    if (!(start == Ban())) game.setUp(start);
    QStringList lines;
    for (const auto& [colour, p] : stones) {
        EXPECT_TRUE(game.place(colour, p));
        lines.append(colour == Stone::Black ? go::recordLine(game.board())
                                            : go::positionString(game.board(), p));
    }
    return lines;
}

// Black takes a white stone in the corner on his fourth stone.
const std::vector<std::pair<Stone, Point>> kCapture{{Stone::Black, {1, 0}},
                                                    {Stone::White, {0, 0}},
                                                    {Stone::Black, {15, 3}},
                                                    {Stone::White, {3, 15}},
                                                    {Stone::Black, {0, 1}}};

TEST(GoRecords, ARecordBecomesOneSgfNodePerStoneAndComesBack) {
    RecordFolder folder;
    const QStringList lines = blacksRecord(kCapture);
    ASSERT_EQ(lines.size(), 5);
    folder.writeLines(QStringLiteral("game.chs"), lines);
    ASSERT_EQ(folder.convert(QStringLiteral("game.chs"), QStringLiteral("game.sgf")).outcome,
              ConversionResult::Outcome::Converted);
    EXPECT_EQ(folder.read(QStringLiteral("game.sgf")),
              "(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[Quor:1.0]QV[first]\n"
              ";B[ba];W[aa];B[pd];W[dp];B[ab])\n");
    ASSERT_EQ(folder.convert(QStringLiteral("game.sgf"), QStringLiteral("back.chs")).outcome,
              ConversionResult::Outcome::Converted);
    EXPECT_EQ(folder.lines(QStringLiteral("back.chs")), lines);
    // The white stone taken by the last one is gone from its line.
    EXPECT_EQ(go::readPosition(lines.back())->ban.at({0, 0}), Stone::Empty);
}

TEST(GoRecords, SgfNamesThePlayersGivenEscapedAndReadsTheSameStones) {
    GoGame game;
    for (const auto& [colour, p] : kCapture)
        ASSERT_TRUE(game.place(colour, p));
    const QString sgf =
        sgfText(game, Stone::Black, {QStringLiteral("a]b"), QStringLiteral("c\\d\n")});
    EXPECT_TRUE(
        sgf.startsWith(u"(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[Quor:1.0]QV[first]"
                       u"PB[a\\]b]PW[c\\\\d]\n;B[ba]"))
        << sgf.toStdString();
    const SgfImport read = readSgf(sgf.toUtf8());
    ASSERT_TRUE(read.problems.empty()) << read.problems.front().text.toStdString();
    EXPECT_EQ(read.game.nodes().size(), game.nodes().size());
    EXPECT_EQ(read.game.board(), game.board());
}

TEST(GoRecords, ARecordBegunDuringAGameOrWithAGapIsSetUpWhereItBreaks) {
    Ban start;
    start.set({3, 3}, Stone::Black);
    start.set({15, 15}, Stone::White);
    // Begun with the board above, then black's line 3 is missing.
    QStringList lines = blacksRecord({{Stone::White, {16, 16}},
                                      {Stone::Black, {2, 2}},
                                      {Stone::White, {4, 4}},
                                      {Stone::Black, {5, 5}},
                                      {Stone::White, {6, 6}}},
                                     start);
    lines.prepend(go::recordLine(start));
    lines.removeAt(3);
    RecordFolder folder;
    folder.writeLines(QStringLiteral("game.chs"), lines);
    const ConversionResult result =
        folder.convert(QStringLiteral("game.chs"), QStringLiteral("game.sgf"));
    EXPECT_EQ(result.outcome, ConversionResult::Outcome::Partial);
    ASSERT_EQ(result.messages.size(), 2);
    EXPECT_EQ(result.messages[0],
              folder.path(QStringLiteral("game.chs:1: not one stone on the empty board (a record "
                                         "begun during a game): kept as a set-up")));
    EXPECT_EQ(result.messages[1],
              folder.path(QStringLiteral("game.chs:4: not one stone after line 3: kept as a "
                                         "set-up")));
    EXPECT_EQ(folder.read(QStringLiteral("game.sgf")),
              "(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[Quor:1.0]QV[first]AB[dd]AW[pp]PL[W]\n"
              ";W[qq];B[cc]\n"
              ";AB[ff]AW[ee]PL[W]\n"
              ";W[gg])\n");
    // Back, the set-ups are lines as after an own stone; the rest as it was.
    ASSERT_EQ(folder.convert(QStringLiteral("game.sgf"), QStringLiteral("back.chs")).outcome,
              ConversionResult::Outcome::Converted);
    QStringList expected = lines;
    expected[3] = go::recordLine(go::readPosition(lines[3])->ban);
    EXPECT_EQ(folder.lines(QStringLiteral("back.chs")), expected);
}

TEST(GoRecords, PassesAtTheEndAreDroppedAndTheViewDecidesTheLines) {
    RecordFolder folder;
    folder.write(QStringLiteral("game.sgf"),
                 "(;GM[1]FF[4]SZ[19]PB[a]PW[b]C[x\\]y]"
                 ";B[ba](;W[aa];B[pd]C[main];W[dp];B[ab];W[];B[tt])(;W[cc]))");
    for (Stone recorder : {Stone::Black, Stone::White}) {
        SCOPED_TRACE(recorder == Stone::Black ? "black" : "white");
        ASSERT_EQ(folder
                      .convert(QStringLiteral("game.sgf"), QStringLiteral("game.chs"),
                               {recorder == Stone::Black ? Player::First : Player::Second})
                      .outcome,
                  ConversionResult::Outcome::Converted);
        GoGame game;
        QStringList expected;
        for (const auto& [colour, p] : kCapture) {
            ASSERT_TRUE(game.place(colour, p));
            expected.append(colour == recorder ? go::recordLine(game.board())
                                               : go::positionString(game.board(), p));
        }
        EXPECT_EQ(folder.lines(QStringLiteral("game.chs")), expected);
    }
}

}  // namespace
}  // namespace records
