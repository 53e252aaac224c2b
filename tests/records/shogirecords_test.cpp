#include <gtest/gtest.h>

#include "begunrecords.h"
#include "csa.h"
#include "kif.h"
#include "recordfiles.h"
#include "shogigames.h"
#include "sholines.h"

namespace records {
namespace {

using shogi::Kind;
using test::RecordFolder;

constexpr int kGames = 20;
constexpr int kMaxMoves = 160;

shogi::Square sq(int file, int rank) {
    return {9 - file, rank - 1};
}

// The game's positions with both hands after every move, as SFEN.
std::vector<QString> sfensOf(const ShogiGame& game) {
    ShogiGame replay;
    std::vector<QString> sfens;
    for (const PlayedMove& played : game.moves()) {
        EXPECT_FALSE(replay.play(played.move));
        sfens.push_back(test::sfenOf(replay.board(), replay.hand(Player::First),
                                     replay.hand(Player::Second), replay.toMove()));
    }
    return sfens;
}

TEST(ShogiRecords, RandomGamesComeBackFromKifAndCsaLineForLine) {
    RecordFolder folder;
    int captures = 0, drops = 0, promotions = 0, declined = 0, kept[2] = {0, 0};
    for (unsigned seed = 1; seed <= kGames; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const test::PlayedShogiGame played = test::playShogiGame(seed, seed % 2 == 1, kMaxMoves);
        captures += played.captures;
        drops += played.drops;
        promotions += played.promotions;
        declined += played.declined;
        ++kept[played.recorderFirst ? 0 : 1];

        // The moves the record gives lead through the positions the programs
        // held, hands included.
        const ShoRead read = readSho(played.lines);
        ASSERT_TRUE(read.problems.empty()) << read.problems.front().text.toStdString();
        EXPECT_EQ(read.recorder, played.recorderFirst ? Player::First : Player::Second);
        EXPECT_EQ(sfensOf(read.game), played.sfens);

        folder.writeLines(QStringLiteral("game.sho"), played.lines);
        for (const QString& format : {QStringLiteral("kif"), QStringLiteral("csa")}) {
            SCOPED_TRACE(format.toStdString());
            ASSERT_EQ(folder.convert(QStringLiteral("game.sho"), "game." + format).outcome,
                      ConversionResult::Outcome::Converted);
            ASSERT_EQ(folder.convert("game." + format, QStringLiteral("back.sho")).outcome,
                      ConversionResult::Outcome::Converted);
            ASSERT_EQ(folder.lines(QStringLiteral("back.sho")), played.lines);
        }
    }
    // What the formats must get right happened often enough to be checked.
    EXPECT_GT(captures, 100);
    EXPECT_GT(drops, 50);
    EXPECT_GT(promotions, 20);
    EXPECT_GT(declined, 5);
    EXPECT_GT(kept[0], 0);
    EXPECT_GT(kept[1], 0);
}

// A short game with a promotion, "同", a drop and the second player's king,
// and what KIF and CSA say of it.
ShogiGame sampleGame() {
    ShogiGame game;
    const std::vector<ShogiMove> moves{
        {Player::First, sq(7, 7), sq(7, 6), Kind::Fu, false, {}},
        {Player::Second, sq(3, 3), sq(3, 4), Kind::Fu, false, {}},
        {Player::First, sq(8, 8), sq(2, 2), Kind::Ka, true, {}},
        {Player::Second, sq(3, 1), sq(2, 2), Kind::Gi, false, {}},
        {Player::First, std::nullopt, sq(4, 5), Kind::Ka, false, {}},
        {Player::Second, sq(5, 1), sq(6, 2), Kind::Ou, false, {}},
    };
    for (const ShogiMove& m : moves)
        EXPECT_FALSE(game.play(m));
    return game;
}

TEST(ShogiRecords, KifAndCsaWriteTheMovesAsPlayersReadThem) {
    const ShogiGame game = sampleGame();
    for (Player recorder : {Player::First, Player::Second}) {
        const QString view = recorder == Player::First ? "first" : "second";
        SCOPED_TRACE(view.toStdString());
        RecordFolder folder;
        folder.writeLines(QStringLiteral("game.sho"), shoLines(game, recorder));
        ASSERT_EQ(folder.convert(QStringLiteral("game.sho"), QStringLiteral("game.kif")).outcome,
                  ConversionResult::Outcome::Converted);
        ASSERT_EQ(folder.convert(QStringLiteral("game.sho"), QStringLiteral("game.csa")).outcome,
                  ConversionResult::Outcome::Converted);
        EXPECT_EQ(folder.lines(QStringLiteral("game.kif")),
                  (QStringList{"# ---- Quor 棋譜ファイル ----", "#quor-view: " + view,
                               "手合割：平手", "手数----指手---------消費時間--", "   1 ７六歩(77)",
                               "   2 ３四歩(33)", "   3 ２二角成(88)", "   4 同　銀(31)",
                               "   5 ４五角打", "   6 ６二王(51)"}));
        EXPECT_EQ(folder.lines(QStringLiteral("game.csa")),
                  (QStringList{"V2.2", "'quor-view: " + view, "N+", "N-", "PI", "+", "+7776FU",
                               "-3334FU", "+8822UM", "-3122GI", "+0045KA", "-5162OU"}));
    }
}

TEST(ShogiRecords, KifAndCsaNameThePlayersGivenOnOneLineEachAndReadTheSameMoves) {
    const ShogiGame game = sampleGame();
    const RecordPlayers players{QStringLiteral("taro"), QStringLiteral(" ha\r\nna ")};
    const QStringList kif = kifText(game, Player::First, players).split(QStringLiteral("\r\n"));
    EXPECT_EQ(kif.mid(2, 3), (QStringList{"先手：taro", "後手：ha  na", "手合割：平手"}));
    const QStringList csa = csaText(game, Player::First, players).split(QStringLiteral("\r\n"));
    EXPECT_EQ(csa.mid(2, 2), (QStringList{"N+taro", "N-ha  na"}));
    for (const ShogiImport& read : {readKif(kif), readCsa(csa)}) {
        ASSERT_TRUE(read.problems.empty()) << read.problems.front().text.toStdString();
        EXPECT_EQ(sfensOf(read.game), sfensOf(game));
    }
    // A name not known is not written.
    EXPECT_FALSE(kifText(game, Player::First, {QStringLiteral("taro"), {}}).contains(u"後手："));
}

TEST(ShogiRecords, TheViewOfTheWrittenRecordCanBeChosen) {
    const ShogiGame game = sampleGame();
    RecordFolder folder;
    folder.writeLines(QStringLiteral("game.sho"), shoLines(game, Player::First));
    ASSERT_EQ(folder.convert(QStringLiteral("game.sho"), QStringLiteral("game.kif")).outcome,
              ConversionResult::Outcome::Converted);
    ASSERT_EQ(
        folder.convert(QStringLiteral("game.kif"), QStringLiteral("second.sho"), {Player::Second})
            .outcome,
        ConversionResult::Outcome::Converted);
    EXPECT_EQ(folder.lines(QStringLiteral("second.sho")), shoLines(game, Player::Second));
    // Exporting has no view to choose: the record says whose it is.
    EXPECT_EQ(folder.convert(QStringLiteral("game.sho"), QStringLiteral("x.kif"), {Player::Second})
                  .outcome,
              ConversionResult::Outcome::Failed);
}

TEST(ShogiRecords, ARecordThatBreaksOffIsConvertedUpToTheBreak) {
    const QStringList lines = test::playShogiGame(7, true, 12).lines;
    ASSERT_EQ(lines.size(), 12);
    QStringList gap = lines;
    gap.removeAt(3);
    QStringList damaged = lines;
    damaged[2] = QStringLiteral("0F,0F");
    const QStringList twoGames = lines.mid(0, 5) + test::playShogiGame(8, false, 4).lines;
    struct Case {
        const char* name;
        QStringList lines;
        ConversionResult::Outcome outcome;
        int moves;  // the lines the KIF written gives back
        QString message;
    };
    // The second player's bishop, taken before the record begins, dropped by
    // him in it, and then by the first player too.
    const test::BegunRecord exchanges = test::begunRecords().back();
    QStringList twoDrops = exchanges.lines(Player::First).mid(0, 2);
    shogi::Board drop = exchanges.game.moves()[7].after;
    drop.set(sq(5, 8), shogi::Cell::own(Kind::Ka));
    twoDrops.append(drop.positionString());
    shogi::Board thirdRook;
    ASSERT_FALSE(thirdRook.load(lines[2]));
    thirdRook.set({0, 0}, shogi::Cell::own(Kind::Hi));
    const QStringList tooMany{thirdRook.positionString()};
    const std::vector<Case> cases{
        {"begun during a game", lines.mid(2), ConversionResult::Outcome::Partial, 10,
         "game.sho:1: not one move from the starting position (a record begun during a game): "
         "kept as a set-up with the second player (後手) to move"},
        {"begun at the last line", lines.mid(11), ConversionResult::Outcome::Partial, 1,
         "game.sho:1: not one move from the starting position (a record begun during a game): "
         "kept as a set-up with the first player (先手) to move, which no move after it shows"},
        {"begun with a board no game has", tooMany, ConversionResult::Outcome::Failed, 0,
         "game.sho:1: not one move from the starting position, and no position of a game: 3 飛"},
        {"begun before a drop no hand can hold", twoDrops, ConversionResult::Outcome::Partial, 2,
         "game.sho:3: not one legal move after line 2 (a drop of a piece that is on the board "
         "or in the other hand)"},
        {"a move missing", gap, ConversionResult::Outcome::Partial, 3,
         "game.sho:4: not one legal move after line 3"},
        {"a damaged line", damaged, ConversionResult::Outcome::Partial, 2,
         "game.sho:3: not a position"},
        {"a second game", twoGames, ConversionResult::Outcome::Partial, 5,
         "game.sho:6: a new game starts here"},
        {"nothing in it",
         {},
         ConversionResult::Outcome::Failed,
         0,
         "game.sho: the record holds no position"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordFolder folder;
        folder.writeLines(QStringLiteral("game.sho"), c.lines);
        const ConversionResult result =
            folder.convert(QStringLiteral("game.sho"), QStringLiteral("game.kif"));
        EXPECT_EQ(result.outcome, c.outcome);
        ASSERT_GE(result.messages.size(), 1);
        EXPECT_TRUE(result.messages.back().startsWith(folder.path(c.message)))
            << result.messages.back().toStdString();
        if (c.outcome == ConversionResult::Outcome::Failed) {
            EXPECT_FALSE(folder.exists(QStringLiteral("game.kif")));
            continue;
        }
        // What was written is exactly the moves before the break.
        ASSERT_EQ(folder.convert(QStringLiteral("game.kif"), QStringLiteral("back.sho")).outcome,
                  ConversionResult::Outcome::Converted);
        EXPECT_EQ(folder.lines(QStringLiteral("back.sho")), c.lines.mid(0, c.moves));
    }
}

TEST(ShogiRecords, ARecordBegunDuringAGameIsSetUpAndComesBackLineForLine) {
    std::vector<std::pair<std::string, QStringList>> records;
    for (const test::BegunRecord& begun : test::begunRecords())
        for (Player recorder : {Player::First, Player::Second})
            records.emplace_back(begun.name, begun.lines(recorder));
    for (unsigned seed = 1; seed <= 6; ++seed)
        records.emplace_back("random game " + std::to_string(seed),
                             test::playShogiGame(seed, seed % 2 == 0, kMaxMoves)
                                 .lines.mid(static_cast<int>(seed) * 9));
    for (const auto& [name, lines] : records) {
        SCOPED_TRACE(name);
        RecordFolder folder;
        folder.writeLines(QStringLiteral("game.sho"), lines);
        for (const QString& format : {QStringLiteral("kif"), QStringLiteral("csa")}) {
            SCOPED_TRACE(format.toStdString());
            const ConversionResult result =
                folder.convert(QStringLiteral("game.sho"), "game." + format);
            EXPECT_EQ(result.outcome, ConversionResult::Outcome::Partial);
            EXPECT_TRUE(result.messages.value(0).startsWith(folder.path(
                "game.sho:1: not one move from the starting position (a record begun during a "
                "game): kept as a set-up with the ")))
                << result.messages.value(0).toStdString();
            EXPECT_EQ(folder.convert("game." + format, QStringLiteral("back.sho")).outcome,
                      ConversionResult::Outcome::Converted);
            EXPECT_EQ(folder.lines(QStringLiteral("back.sho")), lines);
        }
    }
}

}  // namespace
}  // namespace records
