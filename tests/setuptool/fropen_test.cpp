// The file dialog "開く" on the offscreen platform, over a temporary folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "dialogdriver.h"
#include "filedialogcontrols.h"
#include "folderlisting.h"
#include "fropen.h"
#include "quenlistexts.h"
#include "scripteddialogs.h"
#include "setupfiles.h"
#include "widgetdriver.h"

namespace quenlis {
namespace {

using setuptest::clickItem;
using setuptest::doubleClickItem;
using setuptest::itemNamed;
using testsupport::child;
using testsupport::driveList;
using testsupport::fileList;
using testsupport::folderList;
using testsupport::nameBox;

QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text().trimmed();
    return texts;
}

class FrOpenTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = QFileInfo(dir.path()).canonicalFilePath();
    testsupport::ScriptedDialogs dialogs;

    void SetUp() override {
        const QDir d(folder);
        ASSERT_TRUE(setuptest::makeProgram(d.filePath(QStringLiteral("Varnel"))));
        ASSERT_TRUE(setuptest::makeProgram(d.filePath(QStringLiteral("ostrim"))));
        ASSERT_TRUE(setuptest::makeProgram(d.filePath(QStringLiteral(".hidden"))));
        ASSERT_TRUE(setuptest::makePlainFile(d.filePath(QStringLiteral("GameFile.txt"))));
        ASSERT_TRUE(d.mkpath(QStringLiteral("Games/chess")));
        ASSERT_TRUE(d.mkpath(QStringLiteral("assets")));
        ASSERT_TRUE(setuptest::makeProgram(d.filePath(QStringLiteral("Games/Chess"))));
    }
};

TEST_F(FrOpenTest, ShowsTheFolderItsProgramsAndItsFileSystem) {
    frOpen dialog(folder, dialogs);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"開く");
    EXPECT_EQ(child<QLabel>(dialog, "nameLabel")->text(), u"ファイル名(&N):");
    EXPECT_EQ(child<QLabel>(dialog, "nameLabel")->buddy(), nameBox(dialog));
    EXPECT_EQ(nameBox(dialog)->toolTip(), u"ファイル名の手動変更はできません。");
    EXPECT_EQ(child<QPushButton>(dialog, "Command2")->text(), u"設　定");
    EXPECT_EQ(child<QPushButton>(dialog, "Command3")->text(), u"キャンセル");

    EXPECT_EQ(dialog.folder(), folder);
    // Only what the user may run; hidden files and plain files are left out.
    EXPECT_EQ(lines(fileList(dialog)), (QStringList{"ostrim", "Varnel"}));
    // The way down from the root, then the subfolders, the current one chosen.
    const QStringList dirs = lines(folderList(dialog));
    EXPECT_EQ(dirs.first(), u"/");
    EXPECT_EQ(dirs.mid(dirs.size() - 3),
              (QStringList{QFileInfo(folder).fileName(), "assets", "Games"}));
    EXPECT_EQ(folderList(dialog)->currentItem()->text().trimmed(), QFileInfo(folder).fileName());
    EXPECT_GT(folderList(dialog)->currentItem()->text().size(),
              itemNamed(folderList(dialog), QStringLiteral("/"))->text().size());

    EXPECT_EQ(driveList(dialog)->currentData().toString(), platform::driveOf(folder));
    EXPECT_GE(driveList(dialog)->findData(platform::driveOf(folder)), 0);
}

TEST_F(FrOpenTest, OpeningAFolderListsItsProgramsAndClickingOneNamesIt) {
    frOpen dialog(folder, dialogs);
    dialog.show();
    ASSERT_TRUE(doubleClickItem(folderList(dialog), QStringLiteral("Games")));
    EXPECT_EQ(dialog.folder(), folder + QStringLiteral("/Games"));
    EXPECT_EQ(lines(fileList(dialog)), QStringList{"Chess"});
    EXPECT_EQ(lines(folderList(dialog)).last(), u"chess");

    ASSERT_TRUE(clickItem(fileList(dialog), QStringLiteral("Chess")));
    const QString chosen = folder + QStringLiteral("/Games/Chess");
    EXPECT_EQ(nameBox(dialog)->text(), chosen);

    // Typing into the name box is undone at once.
    nameBox(dialog)->setFocus();
    QTest::keyClicks(nameBox(dialog), QStringLiteral("xyz"));
    QTest::keyClick(nameBox(dialog), Qt::Key_Backspace);
    EXPECT_EQ(nameBox(dialog)->text(), chosen);

    // Back up through the folder list.
    ASSERT_TRUE(doubleClickItem(folderList(dialog), QFileInfo(folder).fileName()));
    EXPECT_EQ(dialog.folder(), folder);
    EXPECT_EQ(nameBox(dialog)->text(), chosen);

    QTest::mouseClick(child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.thisPath(), chosen);
}

TEST_F(FrOpenTest, NothingIsHandedBackWithoutAClickedFileOrOnCancel) {
    {
        frOpen dialog(folder, dialogs);
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
        EXPECT_EQ(dialog.thisPath(), QString());
    }
    {
        frOpen dialog(folder, dialogs);
        dialog.show();
        ASSERT_TRUE(clickItem(fileList(dialog), QStringLiteral("Varnel")));
        QTest::mouseClick(child<QPushButton>(dialog, "Command3"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.thisPath(), QString());
    }
    // A folder that is not there opens the current folder instead.
    frOpen dialog(folder + QStringLiteral("/gone"), dialogs);
    EXPECT_EQ(dialog.folder(), QDir::currentPath());
}

TEST_F(FrOpenTest, AFileSystemThatCannotBeShownIsToldAndTheFolderKept) {
    frOpen dialog(folder, dialogs);
    dialog.show();
    // As if it was unmounted after the list was made.
    driveList(dialog)->addItem(QStringLiteral("/gone-away"), QStringLiteral("/gone-away"));
    driveList(dialog)->setFocus();
    QTest::keyClick(driveList(dialog), Qt::Key_End);
    EXPECT_EQ(dialogs.shown, QStringList{"Quenlis|" + driveFailedText()});
    EXPECT_EQ(dialog.folder(), folder);
    EXPECT_EQ(driveList(dialog)->currentData().toString(), platform::driveOf(folder));
    EXPECT_EQ(lines(fileList(dialog)), (QStringList{"ostrim", "Varnel"}));
}

TEST_F(FrOpenTest, ChoosingAnotherFileSystemOpensItsRoot) {
    frOpen dialog(folder, dialogs);
    dialog.show();
    const QString here = platform::driveOf(folder);
    int other = -1;
    for (int i = 0; i < driveList(dialog)->count() && other < 0; ++i) {
        const QString root = driveList(dialog)->itemData(i).toString();
        if (root != here && platform::driveUsable(root)) other = i;
    }
    if (other < 0) GTEST_SKIP() << "only one file system is mounted here";
    driveList(dialog)->setFocus();
    driveList(dialog)->setCurrentIndex(other == 0 ? 1 : other - 1);
    QTest::keyClick(driveList(dialog), other == 0 ? Qt::Key_Up : Qt::Key_Down);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialog.folder(), driveList(dialog)->itemData(other).toString());
}

}  // namespace
}  // namespace quenlis
