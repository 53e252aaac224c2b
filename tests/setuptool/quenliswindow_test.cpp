// The setup tool's window on the offscreen platform, in a temporary folder
// that stands for the lobby client's folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dialogdriver.h"
#include "filedialogcontrols.h"
#include "gamefilelist.h"
#include "quenlistexts.h"
#include "quenliswindow.h"
#include "scripteddialogs.h"
#include "setupfiles.h"
#include "widgetdriver.h"

namespace quenlis {
namespace {

using setuptest::fileBytes;
using setuptest::writeBytes;
using testsupport::child;
using testsupport::fileList;

class QuenlisWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = QFileInfo(dir.path()).canonicalFilePath();
    QString listFile = QDir(folder).filePath(QStringLiteral("GameFile.txt"));
    testsupport::ScriptedDialogs dialogs;

    std::unique_ptr<QuenlisWindow> openWindow() {
        auto window = std::make_unique<QuenlisWindow>(QuenlisOptions{folder, &dialogs});
        window->show();
        return window;
    }

    QString path(const QString& name) const { return QDir(folder).filePath(name); }

    // "設定" of `slot`, picking `name` in the dialog's start folder.
    static void choose(QuenlisWindow& window, int slot, const QString& name) {
        setuptest::whenFileDialogOpens([name](frOpen& dialog) {
            EXPECT_TRUE(setuptest::clickItem(fileList(dialog), name)) << name.toStdString();
            QTest::mouseClick(child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(window, "Option1", static_cast<std::size_t>(slot)),
                          Qt::LeftButton);
    }

    static void typePath(QuenlisWindow& window, int slot, const QString& text) {
        QLineEdit* box = child<QLineEdit>(window, "Text1", static_cast<std::size_t>(slot));
        box->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Delete);
            return;
        }
        // Typed as one key press carrying the whole text, as an input method
        // delivers it; the key helpers know ASCII only.
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
    }

    static std::array<QString, 4> shownPaths(const QuenlisWindow& window) {
        std::array<QString, 4> paths;
        for (std::size_t i = 0; i < paths.size(); ++i)
            paths[i] = child<QLineEdit>(window, "Text1", i)->text();
        return paths;
    }

    static std::array<bool, 4> startEnabled(const QuenlisWindow& window) {
        std::array<bool, 4> enabled{};
        for (std::size_t i = 0; i < enabled.size(); ++i)
            enabled[i] = child<QPushButton>(window, "Option2", i)->isEnabled();
        return enabled;
    }
};

TEST_F(QuenlisWindowTest, AMissingListFileIsToldAndEverySlotStartsEmpty) {
    auto window = openWindow();
    EXPECT_EQ(dialogs.shown, QStringList{"Quenlis|GameFile.txtが存在しません。"});

    EXPECT_EQ(window->windowTitle(), u"Quenlis");
    const QStringList labels{"将棋", "囲碁", "チェス", "リバ－シ"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(child<QLabel>(*window, "slotLabel", i)->text(),
                  labels[static_cast<qsizetype>(i)]);
        EXPECT_EQ(child<QPushButton>(*window, "Option1", i)->text(), u"設定");
        EXPECT_EQ(child<QPushButton>(*window, "Option2", i)->text(), u"起動");
        EXPECT_EQ(child<QLineEdit>(*window, "Text1", i)->text(), QString());
    }
    EXPECT_EQ(child<QLabel>(*window, "nameLabel")->text(), u"ファイル名");
    EXPECT_EQ(child<QLineEdit>(*window, "Text2")->text(), u"GameFile.txt");
    EXPECT_EQ(child<QPushButton>(*window, "SaveBTN")->text(), u"保　存");
    EXPECT_EQ(child<QPushButton>(*window, "SetBTN")->text(), u"終　了");
    EXPECT_FALSE(child<QPushButton>(*window, "SaveBTN")->isEnabled());
    // Nothing was read, so nothing was marked as unstartable.
    EXPECT_EQ(startEnabled(*window), (std::array<bool, 4>{true, true, true, true}));
    EXPECT_FALSE(QFileInfo::exists(listFile));
}

TEST_F(QuenlisWindowTest, SlotsReadWithoutAProgramCannotBeStarted) {
    ASSERT_TRUE(
        writeBytes(listFile, "0,/q/Varnel\r\n1,\r\n2,/q/\x83\x60\x83\x46\x83\x58\r\n3,\r\n"));
    auto window = openWindow();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(shownPaths(*window), (std::array<QString, 4>{"/q/Varnel", "", "/q/チェス", ""}));
    EXPECT_EQ(startEnabled(*window), (std::array<bool, 4>{true, false, true, false}));
    EXPECT_FALSE(child<QPushButton>(*window, "SaveBTN")->isEnabled());

    // A short file: the slots it does not reach stay startable.
    ASSERT_TRUE(writeBytes(listFile, "0,/q/Varnel\n1,\n"));
    window = openWindow();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(startEnabled(*window), (std::array<bool, 4>{true, false, true, true}));

    // The client finds its file whatever the case of its name; so does the tool.
    ASSERT_TRUE(QFile::remove(listFile));
    ASSERT_TRUE(writeBytes(path("GAMEFILE.TXT"), "0,/upper/Varnel\r\n1,\r\n2,\r\n3,\r\n"));
    window = openWindow();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(child<QLineEdit>(*window, "Text1", 0)->text(), u"/upper/Varnel");
}

TEST_F(QuenlisWindowTest, ChoosingAProgramFillsTheSlotAndAllowsSaving) {
    ASSERT_TRUE(setuptest::makeProgram(path("Ostrim")));
    ASSERT_TRUE(writeBytes(listFile, "0,/q/Varnel\r\n1,\r\n2,\r\n3,\r\n"));
    auto window = openWindow();

    // Cancelled, or set without a file clicked: nothing changes.
    setuptest::whenFileDialogOpens([](frOpen& dialog) {
        QTest::mouseClick(child<QPushButton>(dialog, "Command3"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(*window, "Option1", 1), Qt::LeftButton);
    setuptest::whenFileDialogOpens([](frOpen& dialog) {
        QTest::mouseClick(child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(*window, "Option1", 1), Qt::LeftButton);
    EXPECT_EQ(window->thisPath(), QString());
    EXPECT_EQ(child<QLineEdit>(*window, "Text1", 1)->text(), QString());
    EXPECT_FALSE(child<QPushButton>(*window, "SaveBTN")->isEnabled());

    choose(*window, 1, QStringLiteral("Ostrim"));
    EXPECT_EQ(window->thisPath(), path("Ostrim"));
    EXPECT_EQ(child<QLineEdit>(*window, "Text1", 1)->text(), path("Ostrim"));
    EXPECT_TRUE(child<QPushButton>(*window, "SaveBTN")->isEnabled());
    // Read without a program, this slot stays unstartable until the next run.
    EXPECT_FALSE(child<QPushButton>(*window, "Option2", 1)->isEnabled());
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    EXPECT_FALSE(child<QPushButton>(*window, "Option2", 1)->isEnabled());
    EXPECT_TRUE(child<QPushButton>(*window, "SaveBTN")->isEnabled());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(QuenlisWindowTest, SavedPathsReadBackTheSameInTheToolAndForTheClient) {
    ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("将棋")));
    ASSERT_TRUE(setuptest::makeProgram(path("Varnel")));
    auto window = openWindow();
    dialogs.shown.clear();

    choose(*window, 0, QStringLiteral("Varnel"));
    typePath(*window, 1, path("将棋/Ostrim"));
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    const QByteArray folderBytes = folder.toLocal8Bit();
    EXPECT_EQ(fileBytes(listFile), "0," + folderBytes + "/Varnel\r\n1," + folderBytes +
                                       "/\x8F\xAB\x8A\xFB/Ostrim\r\n2,\r\n3,\r\n");

    const std::array<QString, 4> expected{path("Varnel"), path("将棋/Ostrim"), "", ""};
    const gamefile::GameFileRead read = gamefile::readGameFile(listFile);
    EXPECT_EQ(read.status, gamefile::GameFileStatus::Complete);
    EXPECT_EQ(read.list.paths, expected);

    // Choosing again starts where the slot's program is.
    QString openedIn;
    setuptest::whenFileDialogOpens([&openedIn](frOpen& dialog) {
        openedIn = dialog.folder();
        QTest::mouseClick(child<QPushButton>(dialog, "Command3"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(*window, "Option1", 1), Qt::LeftButton);
    EXPECT_EQ(openedIn, path("将棋"));
    EXPECT_EQ(child<QLineEdit>(*window, "Text1", 1)->text(), path("将棋/Ostrim"));

    // "終　了" ends without saving what was typed since.
    typePath(*window, 2, QStringLiteral("/not/saved"));
    QTest::mouseClick(child<QPushButton>(*window, "SetBTN"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());

    window = openWindow();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(shownPaths(*window), expected);
    EXPECT_EQ(startEnabled(*window), (std::array<bool, 4>{true, true, false, false}));
}

TEST_F(QuenlisWindowTest, TheListFileNameBoxChoosesWhereToSave) {
    ASSERT_TRUE(setuptest::makeProgram(path("Varnel")));
    ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("sub")));
    auto window = openWindow();
    choose(*window, 0, QStringLiteral("Varnel"));

    child<QLineEdit>(*window, "Text2")->setText(QStringLiteral("sub/Other.txt"));
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    EXPECT_EQ(gamefile::readGameFile(path("sub/Other.txt")).list.programFor(0), path("Varnel"));
    EXPECT_FALSE(QFileInfo::exists(listFile));

    const QString elsewhere = QDir(folder).filePath(QStringLiteral("sub/Absolute.txt"));
    child<QLineEdit>(*window, "Text2")->setText(elsewhere);
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    EXPECT_EQ(gamefile::readGameFile(elsewhere).status, gamefile::GameFileStatus::Complete);
}

TEST_F(QuenlisWindowTest, FailingOrRefusedSavesAreToldAndWriteNothing) {
    ASSERT_TRUE(setuptest::makeProgram(path("Varnel")));
    ASSERT_TRUE(writeBytes(listFile, "0,\r\n1,\r\n2,\r\n3,\r\n"));
    const QByteArray before = fileBytes(listFile);
    auto window = openWindow();
    choose(*window, 0, QStringLiteral("Varnel"));

    typePath(*window, 2, QStringLiteral("/games/a,b/Chess"));
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    typePath(*window, 2, QStringLiteral("/games/😀/Chess"));
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts,
              (QStringList{"チェスのファイル名に「,」が含まれているため保存できません。",
                           "チェスのファイル名に保存できない文字が含まれています。"}));
    EXPECT_EQ(fileBytes(listFile), before);
    dialogs.shown.clear();
    dialogs.texts.clear();

    typePath(*window, 2, QString());
    child<QLineEdit>(*window, "Text2")->setText(QStringLiteral("no/such/folder/GameFile.txt"));
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    child<QLineEdit>(*window, "Text2")->clear();
    QTest::mouseClick(child<QPushButton>(*window, "SaveBTN"), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts, (QStringList{"no/such/folder/GameFile.txtに保存できません。",
                                          "ファイル名が入力されていません。"}));
    EXPECT_EQ(fileBytes(listFile), before);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(QuenlisWindowTest, PathsThatCannotBeStartedAreRefusedAndTheToolGoesOn) {
    auto window = openWindow();
    dialogs.shown.clear();
    QTest::mouseClick(child<QPushButton>(*window, "Option2", 0), Qt::LeftButton);  // empty
    typePath(*window, 1, QStringLiteral("Varnel"));
    QTest::mouseClick(child<QPushButton>(*window, "Option2", 1), Qt::LeftButton);
    typePath(*window, 2, QStringLiteral("/games/a,b/Chess"));
    QTest::mouseClick(child<QPushButton>(*window, "Option2", 2), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown, (QStringList{
                                 "Quenlis|起動するファイルが設定されていません。",
                                 "Quenlis|フォルダ名のないファイル名は起動できません。",
                                 "Quenlis|ファイル名に「,」が含まれているため起動できません。",
                             }));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(startEnabled(*window), (std::array<bool, 4>{true, true, true, true}));

    // A program that is not there does not start, and that is not told.
    typePath(*window, 3, path("missing/Reversi"));
    QTest::mouseClick(child<QPushButton>(*window, "Option2", 3), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown.size(), 3);
}

TEST_F(QuenlisWindowTest, StartRunsTheProgramInItsOwnFolder) {
    ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("shogi")));
    ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("go")));
    ASSERT_TRUE(setuptest::makeProgram(path("shogi/Varnel")));
    ASSERT_TRUE(setuptest::makeProgram(path("go/Ostrim")));
    // A relative path is taken from the tool's working folder, which here is
    // not the test's own.
    ASSERT_TRUE(writeBytes(
        listFile, "0," + path("shogi/Varnel").toLocal8Bit() + "\r\n1,go/Ostrim\r\n2,\r\n3,\r\n"));
    ASSERT_NE(QDir::currentPath(), folder);
    auto window = openWindow();

    QTest::mouseClick(child<QPushButton>(*window, "Option2", 0), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*window, "Option2", 1), Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(setuptest::startedIn(path("shogi")), path("shogi"));
    EXPECT_EQ(setuptest::startedIn(path("go")), path("go"));
}

}  // namespace
}  // namespace quenlis
