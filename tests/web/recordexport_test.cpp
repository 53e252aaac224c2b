#include <gtest/gtest.h>

#include "recordexport.h"
#include "recordfiles.h"
#include "recordlines.h"
#include "relayedgames.h"
#include "sholines.h"

namespace web::test {
namespace {

using records::test::RecordFolder;

struct Export {
    RecordFileFormat format;
    QString toolOutput;  // the file the tool writes from the program's record
};

// Writes the program's record, lets the record tool convert it, and compares
// the files the web offers with the tool's.
void expectAsTheToolMakes(const GameRecord& game, const QString& record,
                          const std::vector<Export>& exports) {
    RecordFolder folder;
    folder.writeLines(record, recordLines(game));
    const auto own = recordFormatOfExtension(QFileInfo(record).suffix());
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(recordFile(game, *own), folder.read(record));
    for (const Export& e : exports) {
        SCOPED_TRACE(e.toolOutput.toStdString());
        ASSERT_EQ(folder.convert(record, e.toolOutput).outcome,
                  records::ConversionResult::Outcome::Converted);
        EXPECT_EQ(recordFile(game, e.format), folder.read(e.toolOutput));
    }
}

TEST(WebRecords, AreTheFirstPlayersProgramRecordAndWhatTheToolMakesOfIt) {
    WatchedGame shogi = begunGame(GameKind::Shogi, 12);
    ShogiPlay play(shogi);
    for (const records::ShogiMove& move : kShogiMoves)
        play.play(move);
    EXPECT_EQ(recordLines(shogi.record()), records::shoLines(play.game(), records::Player::First));
    expectAsTheToolMakes(shogi.record(), QStringLiteral("game.sho"),
                         {{RecordFileFormat::Kif, QStringLiteral("game.kif")},
                          {RecordFileFormat::Csa, QStringLiteral("game.csa")}});

    WatchedGame go = begunGame(GameKind::Go, 13);
    GoPlay stones(go);
    for (const auto& [colour, p] : kGoStones)
        stones.place(colour, p);
    EXPECT_EQ(recordLines(go.record()), records::chsLines(stones.game(), go::Stone::Black));
    expectAsTheToolMakes(go.record(), QStringLiteral("game.chs"),
                         {{RecordFileFormat::Sgf, QStringLiteral("game.sgf")}});

    EXPECT_EQ(recordFileName(12, RecordFileFormat::Kif), QStringLiteral("quor-12.kif"));
}

TEST(WebRecords, NoneForAnotherGamesFormatOrAGameWithoutMoves) {
    const WatchedGame shogi = begunGame(GameKind::Shogi);
    WatchedGame go = begunGame(GameKind::Go);
    GoPlay(go).place(go::Stone::Black, {3, 3});
    EXPECT_FALSE(recordFile(shogi.record(), RecordFileFormat::Kif));
    EXPECT_FALSE(recordFile(go.record(), RecordFileFormat::Kif));
    EXPECT_FALSE(recordFile(go.record(), RecordFileFormat::Sho));
    EXPECT_TRUE(recordFile(go.record(), RecordFileFormat::Sgf));
    EXPECT_FALSE(recordFormatOfExtension(u"kifu"));
}

}  // namespace
}  // namespace web::test
