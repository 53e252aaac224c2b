// Starting a program file in its own folder, as the setup tool and the lobby
// client do.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "setupfiles.h"
#include "startprogram.h"

namespace platform {
namespace {

TEST(StartProgram, RunsInTheFolderOfItsPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("games/shogi")));
    const QString folder = dir.filePath(QStringLiteral("games/shogi"));
    const QString program = QDir(folder).filePath(QStringLiteral("Varnel"));
    ASSERT_TRUE(setuptest::makeProgram(program));

    ASSERT_TRUE(startProgram(program));
    EXPECT_EQ(setuptest::startedIn(folder), QFileInfo(folder).canonicalFilePath());
}

TEST(StartProgram, ARelativePathIsTakenFromTheCurrentFolderNotTheProgramsOwn) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(setuptest::makeProgram(dir.filePath(QStringLiteral("bin/Varnel"))));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool started = startProgram(QStringLiteral("bin/Varnel"));
    QDir::setCurrent(previous);
    ASSERT_TRUE(started);
    EXPECT_EQ(setuptest::startedIn(dir.filePath(QStringLiteral("bin"))),
              QFileInfo(dir.filePath(QStringLiteral("bin"))).canonicalFilePath());
}

TEST(StartProgram, WhatCannotRunIsNotStarted) {
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("readme"));
    ASSERT_TRUE(setuptest::makePlainFile(plain));
    EXPECT_FALSE(startProgram(plain));
    EXPECT_FALSE(startProgram(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(startProgram(QString()));
    // No folder part: nothing to run it in.
    EXPECT_FALSE(startProgram(QStringLiteral("sh")));
    // A folder that is not there.
    const QString program = dir.filePath(QStringLiteral("Varnel"));
    ASSERT_TRUE(setuptest::makeProgram(program));
    EXPECT_FALSE(startProgram(program, dir.filePath(QStringLiteral("gone"))));
}

}  // namespace
}  // namespace platform
