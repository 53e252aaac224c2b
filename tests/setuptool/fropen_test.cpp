// The file dialog "開く" on the offscreen platform, over a temporary folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "dialogdriver.h"
#include "folderlisting.h"
#include "fropen.h"
#include "quenlistexts.h"
#include "scripteddialogs.h"
#include "setupfiles.h"

namespace quenlis {
namespace {

using setuptest::clickItem;
using setuptest::doubleClickItem;
using setuptest::itemNamed;

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
    EXPECT_EQ(dialog.nameLabel->text(), u"ファイル名(&N):");
    EXPECT_EQ(dialog.nameLabel->buddy(), dialog.Text1);
    EXPECT_EQ(dialog.Text1->toolTip(), u"ファイル名の手動変更はできません。");
    EXPECT_EQ(dialog.Command2->text(), u"設　定");
    EXPECT_EQ(dialog.Command3->text(), u"キャンセル");

    EXPECT_EQ(dialog.folder(), folder);
    // Only what the user may run; hidden files and plain files are left out.
    EXPECT_EQ(lines(dialog.File1), (QStringList{"ostrim", "Varnel"}));
    // The way down from the root, then the subfolders, the current one chosen.
    const QStringList dirs = lines(dialog.Dir1);
    EXPECT_EQ(dirs.first(), u"/");
    EXPECT_EQ(dirs.mid(dirs.size() - 3),
              (QStringList{QFileInfo(folder).fileName(), "assets", "Games"}));
    EXPECT_EQ(dialog.Dir1->currentItem()->text().trimmed(), QFileInfo(folder).fileName());
    EXPECT_GT(dialog.Dir1->currentItem()->text().size(),
              itemNamed(dialog.Dir1, QStringLiteral("/"))->text().size());

    EXPECT_EQ(dialog.Drive1->currentData().toString(), platform::driveOf(folder));
    EXPECT_GE(dialog.Drive1->findData(platform::driveOf(folder)), 0);
}

TEST_F(FrOpenTest, OpeningAFolderListsItsProgramsAndClickingOneNamesIt) {
    frOpen dialog(folder, dialogs);
    dialog.show();
    ASSERT_TRUE(doubleClickItem(dialog.Dir1, QStringLiteral("Games")));
    EXPECT_EQ(dialog.folder(), folder + QStringLiteral("/Games"));
    EXPECT_EQ(lines(dialog.File1), QStringList{"Chess"});
    EXPECT_EQ(lines(dialog.Dir1).last(), u"chess");

    ASSERT_TRUE(clickItem(dialog.File1, QStringLiteral("Chess")));
    const QString chosen = folder + QStringLiteral("/Games/Chess");
    EXPECT_EQ(dialog.Text1->text(), chosen);

    // Typing into the name box is undone at once.
    dialog.Text1->setFocus();
    QTest::keyClicks(dialog.Text1, QStringLiteral("xyz"));
    QTest::keyClick(dialog.Text1, Qt::Key_Backspace);
    EXPECT_EQ(dialog.Text1->text(), chosen);

    // Back up through the folder list.
    ASSERT_TRUE(doubleClickItem(dialog.Dir1, QFileInfo(folder).fileName()));
    EXPECT_EQ(dialog.folder(), folder);
    EXPECT_EQ(dialog.Text1->text(), chosen);

    QTest::mouseClick(dialog.Command2, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ThisPath, chosen);
}

TEST_F(FrOpenTest, NothingIsHandedBackWithoutAClickedFileOrOnCancel) {
    {
        frOpen dialog(folder, dialogs);
        dialog.show();
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        EXPECT_EQ(dialog.ThisPath, QString());
    }
    {
        frOpen dialog(folder, dialogs);
        dialog.show();
        ASSERT_TRUE(clickItem(dialog.File1, QStringLiteral("Varnel")));
        QTest::mouseClick(dialog.Command3, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(dialog.ThisPath, QString());
    }
    // A folder that is not there opens the current folder instead.
    frOpen dialog(folder + QStringLiteral("/gone"), dialogs);
    EXPECT_EQ(dialog.folder(), QDir::currentPath());
}

TEST_F(FrOpenTest, AFileSystemThatCannotBeShownIsToldAndTheFolderKept) {
    frOpen dialog(folder, dialogs);
    dialog.show();
    // As if it was unmounted after the list was made.
    dialog.Drive1->addItem(QStringLiteral("/gone-away"), QStringLiteral("/gone-away"));
    dialog.Drive1->setFocus();
    QTest::keyClick(dialog.Drive1, Qt::Key_End);
    EXPECT_EQ(dialogs.shown, QStringList{"Quenlis|" + kDriveFailedText});
    EXPECT_EQ(dialog.folder(), folder);
    EXPECT_EQ(dialog.Drive1->currentData().toString(), platform::driveOf(folder));
    EXPECT_EQ(lines(dialog.File1), (QStringList{"ostrim", "Varnel"}));
}

TEST_F(FrOpenTest, ChoosingAnotherFileSystemOpensItsRoot) {
    frOpen dialog(folder, dialogs);
    dialog.show();
    const QString here = platform::driveOf(folder);
    int other = -1;
    for (int i = 0; i < dialog.Drive1->count() && other < 0; ++i) {
        const QString root = dialog.Drive1->itemData(i).toString();
        if (root != here && platform::driveUsable(root)) other = i;
    }
    if (other < 0) GTEST_SKIP() << "only one file system is mounted here";
    dialog.Drive1->setFocus();
    dialog.Drive1->setCurrentIndex(other == 0 ? 1 : other - 1);
    QTest::keyClick(dialog.Drive1, other == 0 ? Qt::Key_Up : Qt::Key_Down);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialog.folder(), dialog.Drive1->itemData(other).toString());
}

}  // namespace
}  // namespace quenlis
