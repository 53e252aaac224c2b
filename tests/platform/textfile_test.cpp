#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "commafields.h"
#include "programfolder.h"
#include "shiftjis.h"
#include "textfile.h"

namespace platform {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(ShiftJis, JapaneseTextIsEncodedInCodePage932) {
    // "将棋" is 8F AB 8A FB in Shift-JIS; ASCII stays one byte; the full-width
    // blank and the wave dash of code page 932 survive the round trip.
    EXPECT_EQ(toShiftJis(u"将棋a"), QByteArray("\x8F\xAB\x8A\xFB"
                                               "a"));
    const QString text = QStringLiteral("ユ－ザ－ID　保　存～①");
    EXPECT_EQ(fromShiftJis(toShiftJis(text)), text);
}

TEST(ShiftJis, WhatCannotBeHeldOrReadIsReplacedNotDropped) {
    EXPECT_EQ(toShiftJis(QStringLiteral("a😀b")), QByteArray("a?b"));
    EXPECT_EQ(toShiftJis(QStringLiteral("한")), QByteArray("?"));
    // A lone lead byte at the end and a bad byte in the middle.
    EXPECT_EQ(fromShiftJis(QByteArray("ab\x81")), QStringLiteral("ab\uFFFD"));
    EXPECT_EQ(fromShiftJis(QByteArray("a\xA0z")), QStringLiteral("a\uFFFDz"));
}

TEST(TextFile, LinesAreWrittenInShiftJisWithCrLfAndReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LOGIN.TXT"));
    ASSERT_TRUE(writeTextLines(path, {QStringLiteral("太郎,pass,,127.0.0.1")}));
    EXPECT_EQ(fileBytes(path), QByteArray("\x91\xBE\x98\x59,pass,,127.0.0.1\r\n"));
    EXPECT_EQ(readTextLines(path), QStringList{QStringLiteral("太郎,pass,,127.0.0.1")});

    // Overwriting leaves only the new lines.
    ASSERT_TRUE(writeTextLines(path, {QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(fileBytes(path), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(readTextLines(path), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(TextFile, MissingFilesAndBareLineFeeds) {
    QTemporaryDir dir;
    EXPECT_FALSE(readTextLines(dir.filePath(QStringLiteral("none.txt"))));
    EXPECT_FALSE(writeTextLines(dir.filePath(QStringLiteral("no/such/folder.txt")), {}));

    const QString path = dir.filePath(QStringLiteral("unix.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("one\ntwo");
    f.close();
    EXPECT_EQ(readTextLines(path), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));

    const QString empty = dir.filePath(QStringLiteral("empty.txt"));
    ASSERT_TRUE(writeTextLines(empty, {}));
    EXPECT_EQ(readTextLines(empty), QStringList{});
}

TEST(CommaFields, BlanksQuotesAndEmptyFields) {
    const struct {
        const char16_t* line;
        QStringList fields;
    } cases[] = {
        {u"id,pass,mail,server", {"id", "pass", "mail", "server"}},
        {u"  id , pass\t,mail ,  server  ", {"id", "pass", "mail", "server"}},
        {u"id,,mail,", {"id", "", "mail", ""}},
        {u"\"a,b\",\" c \",d", {"a,b", " c ", "d"}},
        {u"\"quoted\"  ,x", {"quoted", "x"}},
        {u"\"unclosed,x", {"unclosed,x"}},
        {u"", {""}},
        {u"1,太郎,秘密,taro@example.jp,メモ", {"1", "太郎", "秘密", "taro@example.jp", "メモ"}},
        // Only blanks are dropped: other spaces belong to the field.
        {u"\u3000id\u3000 ,\u00a0pw\u2003", {"\u3000id\u3000", "\u00a0pw\u2003"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitCommaFields(c.line), c.fields) << QString::fromUtf16(c.line).toStdString();
    }
}

TEST(ProgramFolder, FilesAreFoundWhateverTheirCase) {
    QTemporaryDir dir;
    EXPECT_EQ(fileInFolder(dir.path(), QStringLiteral("LOGIN.TXT")),
              QDir(dir.path()).filePath(QStringLiteral("LOGIN.TXT")));
    ASSERT_TRUE(writeTextLines(dir.filePath(QStringLiteral("LogIn.txt")), {QStringLiteral("x")}));
    const QString found = fileInFolder(dir.path(), QStringLiteral("LOGIN.TXT"));
    EXPECT_EQ(QFileInfo(found).fileName(), u"LogIn.txt");
    EXPECT_EQ(readTextLines(found), QStringList{QStringLiteral("x")});
}

}  // namespace
}  // namespace platform
