// "GameFile.txt" as the setup tool writes it and the lobby client reads it.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "gamefilelist.h"
#include "installedgamefile.h"
#include "programcheck.h"
#include "setupfiles.h"
#include "startprogram.h"

namespace gamefile {
namespace {

using setuptest::fileBytes;
using setuptest::writeBytes;

class GameFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("GameFile.txt"));
};

TEST_F(GameFileTest, FourLinesInShiftJisWithCrLfAndEmptySlotsAsNumberAndComma) {
    GameFileList list;
    list.paths[kShogiSlot] = QStringLiteral("/home/太郎/Varnel");
    list.paths[kGoSlot] = QStringLiteral("/opt/quor/Ostrim");
    ASSERT_TRUE(writeGameFile(file, list));
    EXPECT_EQ(fileBytes(file), QByteArray("0,/home/\x91\xBE\x98\x59/Varnel\r\n"
                                          "1,/opt/quor/Ostrim\r\n"
                                          "2,\r\n"
                                          "3,\r\n"));

    const GameFileRead read = readGameFile(file);
    EXPECT_EQ(read.status, GameFileStatus::Complete);
    EXPECT_EQ(read.lines, 4);
    EXPECT_EQ(read.list.paths, list.paths);
    EXPECT_EQ(read.list.programFor(kShogiSlot), QStringLiteral("/home/太郎/Varnel"));
    EXPECT_EQ(read.list.programFor(kReversiSlot), QString());
}

TEST_F(GameFileTest, LinesAreReadAsCommaFieldsAndTheNumberIsNotChecked) {
    // Bare line feeds, a number that is not the slot's, a path with blanks
    // inside, a quoted path, a line without a comma, blanks around a path as a
    // hand-edited file has them, and more lines than slots.
    ASSERT_TRUE(writeBytes(file,
                           "7,/a b/Varnel\n"
                           "1,\"/x,y/Ostrim\"\n"
                           "no comma here\n"
                           "3,  /c/Reversi \t\n"
                           "4,/ignored\n"));
    const GameFileRead read = readGameFile(file);
    EXPECT_EQ(read.status, GameFileStatus::Complete);
    EXPECT_EQ(read.list.programFor(0), QStringLiteral("/a b/Varnel"));
    EXPECT_EQ(read.list.programFor(1), QStringLiteral("/x,y/Ostrim"));
    EXPECT_EQ(read.list.programFor(2), QString());
    EXPECT_EQ(read.list.programFor(3), QStringLiteral("/c/Reversi"));
}

TEST_F(GameFileTest, MissingShortAndUnreadableFilesAreToldApart) {
    EXPECT_EQ(readGameFile(file).status, GameFileStatus::Missing);
    EXPECT_EQ(readGameFile(file).lines, 0);

    ASSERT_TRUE(writeBytes(file, "0,/q/Varnel\r\n1,\r\n"));
    GameFileRead read = readGameFile(file);
    EXPECT_EQ(read.status, GameFileStatus::Short);
    EXPECT_EQ(read.lines, 2);
    EXPECT_EQ(read.list.programFor(0), QStringLiteral("/q/Varnel"));
    EXPECT_EQ(read.list.programFor(2), QString());

    ASSERT_TRUE(writeBytes(file, ""));
    read = readGameFile(file);
    EXPECT_EQ(read.status, GameFileStatus::Short);
    EXPECT_EQ(read.lines, 0);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    EXPECT_EQ(readGameFile(dir.filePath(QStringLiteral("folder"))).status,
              GameFileStatus::Unreadable);
}

TEST_F(GameFileTest, GameKindsOutsideTheSlotsNameNoProgram) {
    GameFileList list;
    list.paths.fill(QStringLiteral("/p/prog"));
    EXPECT_EQ(list.programFor(-1), QString());
    EXPECT_EQ(list.programFor(4), QString());
    EXPECT_EQ(list.programFor(1000000), QString());
}

TEST_F(GameFileTest, PathsTheFileCannotHoldAreRefusedAndTheOldFileKept) {
    ASSERT_TRUE(writeBytes(file, "0,/old\r\n1,\r\n2,\r\n3,\r\n"));
    const QByteArray before = fileBytes(file);
    for (const QString& bad :
         {QStringLiteral("/a,b/Varnel"), QStringLiteral("/a\nb"), QStringLiteral("/a\rb"),
          QStringLiteral("/emoji😀/Varnel"), QStringLiteral("/한/Varnel")}) {
        EXPECT_FALSE(canStorePath(bad)) << bad.toStdString();
        GameFileList list;
        list.paths[kChessSlot] = bad;
        EXPECT_FALSE(writeGameFile(file, list));
        EXPECT_EQ(fileBytes(file), before);
    }
    EXPECT_TRUE(canStorePath(QString()));
    EXPECT_TRUE(canStorePath(QStringLiteral("/ユ－ザ－/将棋～/Varnel ?")));
    EXPECT_FALSE(writeGameFile(dir.filePath(QStringLiteral("no/such/GameFile.txt")), {}));
}

TEST(InstalledGameFile, NamesTheInstalledGameProgramsOnlyWhereNoListIsThere) {
    struct Case {
        const char* name;
        std::vector<const char*> programs;  // made in the program folder
        bool executable;
        const char* listBefore;  // nullptr: no list in the data folder
        bool written;
        std::array<bool, 2> named;  // shogi, go
    };
    const Case cases[] = {
        {"a first start", {"Varnel", "Ostrim"}, true, nullptr, true, {true, true}},
        {"only the shogi program", {"Varnel"}, true, nullptr, true, {true, false}},
        {"nothing that runs", {"Varnel", "Ostrim"}, false, nullptr, false, {false, false}},
        {"the user's own list",
         {"Varnel", "Ostrim"},
         true,
         "0,/opt/mine/Varnel\r\n",
         false,
         {false, false}},
        {"an empty list the user saved", {"Varnel", "Ostrim"}, true, "", false, {false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir bin;
        QTemporaryDir data;
        for (const char* name : c.programs) {
            const QString path = bin.filePath(QString::fromLatin1(name));
            writeBytes(path, "#!/bin/sh\n");
            if (c.executable)
                QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        }
        const QString list = data.filePath(QStringLiteral("GameFile.txt"));
        if (c.listBefore) writeBytes(list, c.listBefore);
        const QByteArray before = fileBytes(list);

        EXPECT_EQ(provideInstalledGameFile(data.path(), bin.path()), c.written);
        if (!c.written) {
            EXPECT_EQ(fileBytes(list), before);
            continue;
        }
        const GameFileRead read = readGameFile(list);
        EXPECT_EQ(read.status, GameFileStatus::Complete);
        EXPECT_EQ(read.list.programFor(kShogiSlot),
                  c.named[0] ? bin.filePath(QStringLiteral("Varnel")) : QString());
        EXPECT_EQ(read.list.programFor(kGoSlot),
                  c.named[1] ? bin.filePath(QStringLiteral("Ostrim")) : QString());
    }
}

TEST(ProgramPath, FolderPartWithEitherSeparator) {
    EXPECT_EQ(platform::programFolderOf(QStringLiteral("/opt/quor/Varnel")), u"/opt/quor");
    EXPECT_EQ(platform::programFolderOf(QStringLiteral("C:\\Quor\\Varnel.exe")), u"C:\\Quor");
    EXPECT_EQ(platform::programFolderOf(QStringLiteral("/a\\b/c\\Varnel")), u"/a\\b/c");
    EXPECT_EQ(platform::programFolderOf(QStringLiteral("bin/Varnel")), u"bin");
    EXPECT_EQ(platform::programFolderOf(QStringLiteral("/Varnel")), u"/");
    EXPECT_EQ(platform::programFolderOf(QStringLiteral("Varnel")), QString());
    EXPECT_EQ(platform::programFolderOf(QString()), QString());
}

TEST(ProgramPath, WhatCannotBeStarted) {
    EXPECT_EQ(startProblem(QString()), StartProblem::Empty);
    EXPECT_EQ(startProblem(QStringLiteral("Varnel")), StartProblem::NoFolder);
    EXPECT_EQ(startProblem(QStringLiteral("/a,b/Varnel")), StartProblem::Comma);
    EXPECT_EQ(startProblem(QStringLiteral("Var,nel")), StartProblem::Comma);
    EXPECT_EQ(startProblem(QStringLiteral("/opt/quor/Varnel")), StartProblem::None);
    EXPECT_EQ(startProblem(QStringLiteral("C:\\Quor\\Varnel.exe")), StartProblem::None);
}

}  // namespace
}  // namespace gamefile
