#include <gtest/gtest.h>

#include "recordexport.h"
#include "recordfiles.h"
#include "recordlines.h"
#include "recordtext.h"
#include "relayedgames.h"
#include "sholines.h"

namespace web::test {
namespace {

using records::test::RecordFolder;

struct Export {
    RecordFileFormat format;
    QString toolOutput;  // the file the tool writes from the program's record
};

// The tool's file with the players of `game` named in its header, as the
// web offers it.
QByteArray withPlayers(QByteArray file, RecordFileFormat format, const GameSummary& game) {
    const auto text = [format](const QString& s) {
        return records::encodeText(s, format == RecordFileFormat::Sgf
                                          ? records::TextEncoding::Utf8
                                          : records::TextEncoding::ShiftJis);
    };
    switch (format) {
        case RecordFileFormat::Kif:
            return file.replace(
                "first\r\n",
                "first\r\n" + text("先手：" + game.black + "\r\n後手：" + game.white + "\r\n"));
        case RecordFileFormat::Csa:
            return file.replace("N+\r\nN-\r\n",
                                text("N+" + game.black + "\r\nN-" + game.white + "\r\n"));
        case RecordFileFormat::Sgf:
            return file.replace("QV[first]",
                                text("QV[first]PB[" + game.black + "]PW[" + game.white + "]"));
        default:
            return file;
    }
}

// Writes the program's record, lets the record tool convert it, and compares
// the files the web offers with the tool's, the players named.
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
        EXPECT_EQ(recordFile(game, e.format),
                  withPlayers(folder.read(e.toolOutput), e.format, game.summary));
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
