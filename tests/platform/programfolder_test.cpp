#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "programfolder.h"

namespace platform {
namespace {

TEST(ProgramFolders, ACopyWhereItWasBuiltKeepsEverythingWhereItAlwaysHas) {
    struct Case {
        const char* name;
        FolderFacts facts;
        ProgramFolders expected;
    };
    const FolderFacts build{"/home/taro/quor/build/bin", true, false, "", "/home/taro"};
    FolderFacts installed{"/usr/bin", false, true, "", "/home/taro"};
    FolderFacts installedWithXdg = installed;
    installedWithXdg.xdgDataHome = "/data/taro";
    FolderFacts relativeXdg = installed;
    relativeXdg.xdgDataHome = "data";  // not absolute: the XDG rules say to ignore it
    FolderFacts writablePrefix = installed;
    writablePrefix.programFolder = "/home/taro/.local/bin";
    writablePrefix.programFolderWritable = true;
    FolderFacts readOnlyCopy = build;
    readOnlyCopy.programFolderWritable = false;
    const std::vector<Case> cases{
        {"build folder", build, {"/work", "/home/taro/quor/build/bin", false}},
        {"installed", installed, {"/home/taro/.local/share/quor", "/usr/share/quor", true}},
        {"installed, XDG_DATA_HOME set",
         installedWithXdg,
         {"/data/taro/quor", "/usr/share/quor", true}},
        {"installed, XDG_DATA_HOME relative",
         relativeXdg,
         {"/home/taro/.local/share/quor", "/usr/share/quor", true}},
        {"installed in the user's own prefix",
         writablePrefix,
         {"/home/taro/.local/share/quor", "/home/taro/.local/share/quor", true}},
        {"a server copied where the user cannot write",
         readOnlyCopy,
         {"/work", "/home/taro/quor/build/bin", false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseFolders(c.facts, QStringLiteral("/work")), c.expected);
    }
    // A game program keeps its files in its own folder: where it cannot, they
    // go to the per-user folder, and its images stay where it is.
    EXPECT_EQ(chooseFolders(readOnlyCopy, readOnlyCopy.programFolder),
              (ProgramFolders{"/home/taro/.local/share/quor", "/home/taro/quor/build/bin", true}));
    EXPECT_EQ(chooseFolders(build, build.programFolder),
              (ProgramFolders{build.programFolder, build.programFolder, false}));
}

TEST(ProgramFolders, AnInstalledCopyIsKnownByTheImagesBesideItsFolder) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    EXPECT_FALSE(folderFactsFor(bin).installedAssets);
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("share/quor")));
    const FolderFacts facts = folderFactsFor(bin);
    EXPECT_TRUE(facts.installedAssets);
    EXPECT_EQ(chooseFolders(facts, bin).assets, prefix.filePath(QStringLiteral("share/quor")));
}

}  // namespace
}  // namespace platform
