#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <map>

#include "begunrecords.h"
#include "gnugogames.h"
#include "gorules/positionstring.h"
#include "recordfiles.h"
#include "shogigames.h"
#include "tsshogireader.h"

// The exported files read by readers nobody here wrote: KIF and CSA by the
// npm package tsshogi under Node, SGF by GNU Go. And the tool itself, as a
// user runs it.

namespace records {
namespace {

using test::RecordFolder;

constexpr int kGames = 20;

using test::nodeProgram;
using test::Positions;
using test::readWithTsshogi;
using test::runProgram;
using test::whyNoTsshogi;

TEST(RecordCrossCheck, TsshogiReadsOurKifAndCsaToThePositionsThePlayersHad) {
    const QString node = nodeProgram();
    if (const QString why = whyNoTsshogi(node); !why.isEmpty()) GTEST_SKIP() << why.toStdString();

    RecordFolder folder;
    const QString start = test::sfenOf(shogi::Board::initial(), {}, {}, Player::First);
    std::map<QString, std::vector<QString>> expected;
    QStringList files;
    for (unsigned seed = 1; seed <= kGames; ++seed) {
        const test::PlayedShogiGame played = test::playShogiGame(seed, seed % 2 == 1, 160);
        const QString name = QStringLiteral("game%1").arg(seed);
        folder.writeLines(name + ".sho", played.lines);
        for (const QString& format : {QStringLiteral(".kif"), QStringLiteral(".csa")}) {
            ASSERT_EQ(folder.convert(name + ".sho", name + format).outcome,
                      ConversionResult::Outcome::Converted);
            files.append(folder.path(name + format));
            expected[files.back()] = {start};
            expected[files.back()].insert(expected[files.back()].end(), played.sfens.begin(),
                                          played.sfens.end());
        }
    }
    Positions theirs;
    readWithTsshogi(node, files, theirs);
    ASSERT_FALSE(HasFatalFailure());
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(theirs[file], expected[file]);
    }
}

TEST(RecordCrossCheck, TsshogiReadsOurSetUpsOfRecordsBegunDuringAGame) {
    const QString node = nodeProgram();
    if (const QString why = whyNoTsshogi(node); !why.isEmpty()) GTEST_SKIP() << why.toStdString();

    RecordFolder folder;
    // Whole positions for the scripted games, whose hands the records show;
    // boards and turns for random ones, whose hands they need not.
    Positions expected;
    std::map<QString, bool> boardsOnly;
    QStringList files;
    const auto convert = [&](const QStringList& lines, const std::vector<QString>& positions,
                             bool boards) {
        const QString name = QStringLiteral("begun%1").arg(files.size());
        folder.writeLines(name + ".sho", lines);
        for (const QString& format : {QStringLiteral(".kif"), QStringLiteral(".csa")}) {
            EXPECT_EQ(folder.convert(name + ".sho", name + format).outcome,
                      ConversionResult::Outcome::Partial);
            files.append(folder.path(name + format));
            expected[files.back()] = positions;
            boardsOnly[files.back()] = boards;
        }
    };
    for (const test::BegunRecord& begun : test::begunRecords())
        for (Player recorder : {Player::First, Player::Second})
            convert(begun.lines(recorder), begun.positions(), false);
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const test::PlayedShogiGame played = test::playShogiGame(seed, seed % 2 == 0, 160);
        const int before = static_cast<int>(seed) * 9;
        convert(played.lines.mid(before), {played.sfens.begin() + before, played.sfens.end()},
                true);
    }
    Positions theirs;
    readWithTsshogi(node, files, theirs);
    ASSERT_FALSE(HasFatalFailure());
    const auto boardsOf = [](std::vector<QString> sfens) {
        for (QString& sfen : sfens)
            sfen = sfen.section(u' ', 0, 1);
        return sfens;
    };
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        if (boardsOnly[file])
            EXPECT_EQ(boardsOf(theirs[file]), boardsOf(expected[file]));
        else
            EXPECT_EQ(theirs[file], expected[file]);
    }
}

TEST(RecordCrossCheck, GnuGoLoadsOurSgfToTheBoardsOfTheGnuGoGames) {
    const QString program = go::test::gnugoProgram();
    ASSERT_FALSE(program.isEmpty()) << go::test::gnugoMissing().toStdString();
    go::test::GtpClient gnugo;
    ASSERT_TRUE(gnugo.start(program, {"--mode", "gtp"})) << gnugo.error().toStdString();
    RecordFolder folder;
    for (unsigned seed = go::test::kFirstGnuGoSeed;
         seed < go::test::kFirstGnuGoSeed + go::test::kGnuGoGames; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        // Black keeps the record of odd games, white of even ones.
        const go::Stone recorder = seed % 2 == 1 ? go::Stone::Black : go::Stone::White;
        QStringList lines;
        std::vector<go::Ban> boards;
        go::test::playGnuGoGame(gnugo, seed, {}, [&](const go::test::GnuGoMove& move) {
            boards.push_back(*move.ban);
            lines.append(move.colour == recorder ? go::recordLine(*move.ban)
                                                 : go::positionString(*move.ban, move.point));
        });
        ASSERT_FALSE(HasFatalFailure());

        folder.writeLines(QStringLiteral("game.chs"), lines);
        ASSERT_EQ(folder.convert(QStringLiteral("game.chs"), QStringLiteral("game.sgf")).outcome,
                  ConversionResult::Outcome::Converted);
        ASSERT_EQ(folder.convert(QStringLiteral("game.sgf"), QStringLiteral("back.chs")).outcome,
                  ConversionResult::Outcome::Converted);
        ASSERT_EQ(folder.lines(QStringLiteral("back.chs")), lines);

        // "loadsgf FILE n" stops before move n; without n it plays them all.
        QStringList commands;
        std::vector<std::size_t> after;
        const QString sgf = folder.path(QStringLiteral("game.sgf"));
        for (std::size_t n = 10; n <= boards.size(); n += 10) {
            commands += {QStringLiteral("loadsgf %1 %2").arg(sgf).arg(n + 1), "list_stones black",
                         "list_stones white"};
            after.push_back(n);
        }
        commands += {"loadsgf " + sgf, "list_stones black", "list_stones white"};
        after.push_back(boards.size());
        const auto answers = gnugo.ask(commands);
        ASSERT_TRUE(answers) << gnugo.error().toStdString();
        for (std::size_t i = 0; i < after.size(); ++i) {
            const auto theirs = go::test::banOf((*answers)[3 * i + 1], (*answers)[3 * i + 2]);
            ASSERT_TRUE(theirs);
            EXPECT_TRUE(*theirs == boards[after[i] - 1]) << "after move " << after[i];
        }
    }
}

TEST(RecordTool, ItsExitStatusAndMessagesSayWhatWasWritten) {
    RecordFolder folder;
    QStringList lines = test::playShogiGame(3, true, 8).lines;
    folder.writeLines(QStringLiteral("whole.sho"), lines);
    lines.removeAt(5);
    folder.writeLines(QStringLiteral("gap.sho"), lines);
    folder.write(QStringLiteral("bad.csa"), "V2.2\r\nPI\r\n+\r\n+7775FU\r\n");
    struct Case {
        QStringList arguments;
        int status;
        QString err;  // the start of standard error
        const char* written;
    };
    const std::vector<Case> cases{
        {{"whole.sho", "whole.kif"}, 0, "", "whole.kif"},
        {{"gap.sho", "gap.csa"}, 2, "gap.sho:6: not one legal move after line 5", "gap.csa"},
        {{"--view", "second", "bad.csa", "bad.sho"},
         1,
         "bad.csa:4: move 1 is not allowed",
         nullptr},
        {{"whole.sho", "whole.sgf"}, 1, "cannot convert", nullptr},
        {{"whole.sho"}, 1, "usage: quor-record", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        QStringList arguments;
        for (const QString& a : c.arguments)
            arguments.append(a.contains(u'.') ? folder.path(a) : a);
        const test::ProcessRun r = runProgram(QStringLiteral(QUOR_RECORD_TOOL), arguments);
        EXPECT_EQ(r.status, c.status);
        const QString err =
            QString(r.err).replace(folder.path(QStringLiteral("x")).chopped(1), QString());
        if (c.err.isEmpty()) {
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        } else {
            EXPECT_TRUE(err.startsWith(c.err)) << r.err.toStdString();
        }
        if (c.written) {
            EXPECT_TRUE(folder.exists(QString::fromLatin1(c.written)));
        }
    }
}

}  // namespace
}  // namespace records
