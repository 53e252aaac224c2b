// The game records without windows: the running record, save-as, the name
// rules, the replay's cursor over a record, and the memo files.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "memofile.h"
#include "recordfile.h"
#include "recordnamerules.h"
#include "replaycursor.h"
#include "runningrecord.h"
#include "setupfiles.h"

namespace gamecommon {
namespace {

using setuptest::fileBytes;
using setuptest::writeBytes;

// Record lines for the tests: "pos" and a number is a position, anything
// else is not.
bool isTestPosition(QStringView line) {
    return line.startsWith(u"pos");
}

QStringList positions(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("pos%1").arg(i);
    return lines;
}

QByteArray crLfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

class RecordFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file(const QString& name) const { return dir.filePath(name); }
};

TEST_F(RecordFolder, RecordingEmptiesTheOldRecordThenAddsOneCrLfLinePerPosition) {
    ASSERT_TRUE(writeBytes(file(QStringLiteral("ShougiAll.sho")), "an earlier game\r\n"));
    RunningRecord record(dir.path(), shogiRecordNames());
    // Off: nothing is written.
    EXPECT_EQ(record.append(QStringLiteral("0F,01")), RecordProblem::None);
    EXPECT_EQ(fileBytes(record.path()), QByteArray("an earlier game\r\n"));

    EXPECT_EQ(record.switchOn(), RecordProblem::None);
    EXPECT_TRUE(record.isOn());
    EXPECT_EQ(fileBytes(record.path()), QByteArray());
    EXPECT_EQ(record.append(QStringLiteral("11,0F,1A")), RecordProblem::None);
    EXPECT_EQ(record.append(QStringLiteral("2,2,9")), RecordProblem::None);
    EXPECT_EQ(fileBytes(file(QStringLiteral("ShougiAll.sho"))),
              QByteArray("11,0F,1A\r\n2,2,9\r\n"));
}

TEST_F(RecordFolder, TheRunningRecordIsFoundWhateverTheCaseOfItsName) {
    ASSERT_TRUE(writeBytes(file(QStringLiteral("CHESSALL.CHS")), "old\r\n"));
    RunningRecord record(dir.path(), goRecordNames());
    ASSERT_EQ(record.switchOn(), RecordProblem::None);
    record.append(QStringLiteral("2,2"));
    EXPECT_EQ(fileBytes(file(QStringLiteral("CHESSALL.CHS"))), QByteArray("2,2\r\n"));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("ChessAll.chs"))));
}

TEST_F(RecordFolder, AFailingRecordIsToldOnceUntilItWorksAgain) {
    RunningRecord record(dir.path(), shogiRecordNames());
    ASSERT_EQ(record.switchOn(), RecordProblem::None);
    // The record is taken away and a folder put in its place.
    ASSERT_TRUE(QFile::remove(record.path()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("ShougiAll.sho")));
    EXPECT_EQ(record.append(QStringLiteral("a")), RecordProblem::NotWritten);
    EXPECT_EQ(record.append(QStringLiteral("b")), RecordProblem::None);
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("ShougiAll.sho")));
    EXPECT_EQ(record.append(QStringLiteral("c")), RecordProblem::None);
    EXPECT_EQ(fileBytes(record.path()), QByteArray("c\r\n"));

    // A record that cannot be made at all leaves recording off.
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir(QStringLiteral("ShougiAll.sho")));
    RunningRecord blocked(other.path(), shogiRecordNames());
    EXPECT_EQ(blocked.switchOn(), RecordProblem::NotWritten);
    EXPECT_FALSE(blocked.isOn());
}

TEST_F(RecordFolder, SaveAsCopiesTheRunningRecordUnderTheCompletedName) {
    const QString elsewhere = dir.filePath(QStringLiteral("my.games"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("my.games")));
    struct Case {
        RecordNames names;
        QString answer;
        QString written;  // where the copy is expected, empty for none
        RecordProblem problem;
    };
    const QList<Case> cases = {
        {shogiRecordNames(), QStringLiteral("game1"), file(QStringLiteral("game1.sho")),
         RecordProblem::None},
        {shogiRecordNames(), QStringLiteral("game1.kif"), file(QStringLiteral("game1.kif")),
         RecordProblem::None},
        {goRecordNames(), QStringLiteral("game1"), file(QStringLiteral("game1.chs")),
         RecordProblem::None},
        // A dot in a folder name is no extension.
        {shogiRecordNames(), elsewhere + QStringLiteral("/game2"),
         elsewhere + QStringLiteral("/game2.sho"), RecordProblem::None},
        {shogiRecordNames(), QString(), QString(), RecordProblem::None},
        {shogiRecordNames(), QStringLiteral("no/such/folder/g"), QString(),
         RecordProblem::NotWritten},
    };
    for (const Case& c : cases) {
        RunningRecord record(dir.path(), c.names);
        ASSERT_EQ(record.switchOn(), RecordProblem::None);
        record.append(QStringLiteral("line of ") + c.answer);
        const RunningRecord::SaveAs saved = record.saveAs(c.answer);
        EXPECT_EQ(saved.problem, c.problem) << c.answer.toStdString();
        if (!c.written.isEmpty()) {
            EXPECT_EQ(fileBytes(c.written), "line of " + c.answer.toUtf8() + "\r\n")
                << c.answer.toStdString();
        }
    }
    // Saving again replaces the copy.
    RunningRecord record(dir.path(), shogiRecordNames());
    ASSERT_EQ(record.switchOn(), RecordProblem::None);
    EXPECT_EQ(record.saveAs(QStringLiteral("game1")).problem, RecordProblem::None);
    EXPECT_EQ(fileBytes(file(QStringLiteral("game1.sho"))), QByteArray());
}

TEST_F(RecordFolder, SaveAsWithoutARunningRecordSaysSoAndWritesNothing) {
    RunningRecord record(dir.path(), shogiRecordNames());
    const RunningRecord::SaveAs saved = record.saveAs(QStringLiteral("game1"));
    EXPECT_EQ(saved.problem, RecordProblem::NoRunningRecord);
    EXPECT_EQ(saved.name, u"ShougiAll.sho");
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(RecordNameRules, TheExtensionIsAddedWhereTheNameLacksIt) {
    const RecordNames shogi = shogiRecordNames();
    const QList<std::pair<QString, QString>> saved = {
        {"game1", "game1.sho"}, {"game1.kif", "game1.kif"}, {"a.b/game1", "a.b/game1.sho"}};
    for (const auto& [answer, name] : saved)
        EXPECT_EQ(savedRecordName(answer, shogi), name) << answer.toStdString();
    const QList<std::pair<QString, QString>> memo = {{"memo", "memo.sho"},
                                                     {"memo.txt", "memo.txt.sho"},
                                                     {"memo.sho", "memo.sho"},
                                                     {"x.sho/memo", "x.sho/memo.sho"}};
    for (const auto& [answer, name] : memo)
        EXPECT_EQ(memoSaveName(answer, shogi), name) << answer.toStdString();
    EXPECT_EQ(memoSaveName(QStringLiteral("memo.txt"), goRecordNames()), u"memo.txt.chs");
}

// A cursor over a record held in memory, read as the replay reads a file.
ReplayCursor cursorOver(const QByteArray& record) {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(record);
    buffer->open(QIODevice::ReadOnly);
    return ReplayCursor(std::move(buffer), isTestPosition);
}

TEST(ReplayCursor, StepsThroughEveryLineOfLongRecordsAndStopsAtBothEnds) {
    for (int length : {1, 301, 500}) {
        ReplayCursor cursor = cursorOver(crLfLines(positions(length)));
        ASSERT_EQ(cursor.count(), length);
        EXPECT_EQ(cursor.lineNumber(), 1);
        cursor.back();  // "<" on line 1
        EXPECT_EQ(cursor.lineNumber(), 1);
        QStringList seen{cursor.position().value_or(QString())};
        for (int i = 1; i < length + 5; ++i) {
            cursor.forward();
            const QString shown = cursor.position().value_or(QString());
            if (shown != seen.last()) seen << shown;
        }
        EXPECT_EQ(seen, positions(length));
        EXPECT_EQ(cursor.lineNumber(), length);  // ">" on the last line stays
        cursor.back();
        EXPECT_EQ(cursor.lineNumber(), std::max(1, length - 1));
        cursor.first();  // "<<"
        EXPECT_EQ(cursor.lineNumber(), 1);
        EXPECT_EQ(cursor.position(), u"pos1");
    }
}

TEST(ReplayCursor, LinesThatAreNoPositionAreSkippedAndNamed) {
    // A line far longer than any position is passed over, not held.
    const QByteArray huge = "pos" + QByteArray(200 * 1024, '9');
    ReplayCursor cursor = cursorOver("damaged\r\npos2\r\n\r\npos4\n0F,0F\r\n" + huge + "\r\npos7");
    EXPECT_EQ(cursor.lineCount(), 7);
    EXPECT_EQ(cursor.skippedLines(), (QList<int>{1, 3, 5, 6}));
    EXPECT_EQ(cursor.lineNumber(), 2);
    cursor.forward();
    EXPECT_EQ(cursor.lineNumber(), 4);
    EXPECT_EQ(cursor.position(), u"pos4");  // a line feed alone ends a line too
    cursor.forward();
    EXPECT_EQ(cursor.lineNumber(), 7);
    EXPECT_EQ(cursor.position(), u"pos7");  // the last line needs no line end
    cursor.forward();
    EXPECT_EQ(cursor.lineNumber(), 7);
}

// The replay reads each position from the record when it comes to it: a
// line that is no longer there, or no longer a position, is not shown.
TEST_F(RecordFolder, TheReplayReadsThePositionsAsItComesToThem) {
    const QString path = file(QStringLiteral("running.sho"));
    ASSERT_TRUE(writeBytes(path, "pos1\r\npos2\r\npos3\r\n"));
    ReplayLoad load = loadReplay(path, isTestPosition);
    ASSERT_EQ(load.problem, RecordProblem::None);
    ASSERT_TRUE(writeBytes(path, "pos1\r\nPOS2\r\n"));  // cleared and written again
    EXPECT_EQ(load.cursor.position(), u"pos1");
    load.cursor.forward();
    EXPECT_EQ(load.cursor.position(), std::nullopt);
    load.cursor.forward();
    EXPECT_EQ(load.cursor.lineNumber(), 3);
    EXPECT_EQ(load.cursor.position(), std::nullopt);
}

TEST_F(RecordFolder, ARecordThatCannotBeReplayedSaysWhy) {
    ASSERT_TRUE(writeBytes(file(QStringLiteral("empty.sho")), ""));
    ASSERT_TRUE(writeBytes(file(QStringLiteral("text.sho")), "hello\r\nworld\r\n"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.sho")));
    ASSERT_TRUE(writeBytes(file(QStringLiteral("good.sho")), crLfLines(positions(3))));
    const QList<std::pair<QString, RecordProblem>> cases = {
        {"gone.sho", RecordProblem::Missing},      {"empty.sho", RecordProblem::Empty},
        {"folder.sho", RecordProblem::Unreadable}, {"text.sho", RecordProblem::NoPosition},
        {"good.sho", RecordProblem::None},
    };
    for (const auto& [name, problem] : cases) {
        const ReplayLoad load = loadReplay(file(name), isTestPosition);
        EXPECT_EQ(load.problem, problem) << name.toStdString();
        EXPECT_EQ(load.cursor.count(), problem == RecordProblem::None ? 3 : 0);
    }
}

TEST_F(RecordFolder, MemosAreReadAsLinesAndWrittenWithCrLf) {
    const QString path = file(QStringLiteral("memo.txt"));
    ASSERT_TRUE(writeBytes(path, "\x8F\xAB\x8A\xFB\r\nline 2\r\n"));
    const MemoRead read = readMemo(path);
    EXPECT_EQ(read.problem, RecordProblem::None);
    EXPECT_EQ(read.text, u"将棋\nline 2");
    EXPECT_EQ(read.lines, 2);

    EXPECT_EQ(writeMemo(path, QStringLiteral("将棋\nline 2\nline 3")), RecordProblem::None);
    EXPECT_EQ(fileBytes(path), QByteArray("\x8F\xAB\x8A\xFB\r\nline 2\r\nline 3\r\n"));
    // What Shift-JIS cannot hold is not written over a good file.
    EXPECT_EQ(writeMemo(path, QStringLiteral("a?😀")), RecordProblem::Unstorable);
    EXPECT_EQ(writeMemo(path, QStringLiteral("a?b")), RecordProblem::None);
    EXPECT_EQ(fileBytes(path), QByteArray("a?b\r\n"));

    ASSERT_TRUE(writeBytes(file(QStringLiteral("empty.txt")), ""));
    EXPECT_EQ(readMemo(file(QStringLiteral("empty.txt"))).problem, RecordProblem::Empty);
    EXPECT_EQ(readMemo(file(QStringLiteral("gone.txt"))).problem, RecordProblem::Missing);
    EXPECT_EQ(readMemo(dir.path()).problem, RecordProblem::Unreadable);
    EXPECT_EQ(writeMemo(file(QStringLiteral("no/such/memo.txt")), QStringLiteral("x")),
              RecordProblem::NotWritten);
}

}  // namespace
}  // namespace gamecommon
