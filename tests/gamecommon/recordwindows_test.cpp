// The record windows on the offscreen platform: the file dialog "開く", the
// replay window, the memo editor, and the menu items that open them.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "filedialogcontrols.h"
#include "folderlisting.h"
#include "listclicks.h"
#include "memoeditor.h"
#include "memofile.h"
#include "recordfiledialog.h"
#include "recordmenus.h"
#include "recordtexts.h"
#include "replaywindow.h"
#include "scripteddialogs.h"
#include "setupfiles.h"
#include "widgetdriver.h"

namespace gamecommon {
namespace {

using setuptest::fileBytes;
using setuptest::writeBytes;
using testsupport::child;
using testsupport::clickItem;
using testsupport::doubleClickItem;
using testsupport::driveList;
using testsupport::fileList;
using testsupport::folderList;
using testsupport::nameBox;
using testsupport::whenDialogOpens;

QStringList lines(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text().trimmed();
    return texts;
}

// The main board as the record windows see it: "pos" lines are positions, and
// so are lines of 361 items (go's), and what it was told to show is kept in
// order.
class FakeBoard : public RecordBoard {
public:
    QStringList shown;
    bool isPosition(QStringView line) const override {
        return line.startsWith(u"pos") || line.count(u',') == 360;
    }
    void showRecordedPosition(const QString& line) override { shown << line; }
};

// A program folder with texts, records of both games and a subfolder.
class RecordWindows : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = QFileInfo(dir.path()).canonicalFilePath();
    testsupport::ScriptedDialogs dialogs;
    FakeBoard board;
    RecordNames names = shogiRecordNames();

    QString file(const QString& name) const { return QDir(folder).filePath(name); }

    void SetUp() override {
        for (const char* name : {"memo.txt", "NOTES.TXT", "game.chs", ".hidden.sho"})
            ASSERT_TRUE(writeBytes(file(QString::fromLatin1(name)), "x\r\n"));
        ASSERT_TRUE(writeBytes(file(QStringLiteral("game1.sho")), "pos1\r\npos2\r\n"));
        ASSERT_TRUE(writeBytes(file(QStringLiteral("GAME2.SHO")), "pos1\r\n"));
        ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("sub.d")));
        ASSERT_TRUE(writeBytes(file(QStringLiteral("sub.d/other.sho")), "pos9\r\n"));
    }
};

TEST_F(RecordWindows, TheFileDialogShowsTheButtonAndTheFilesOfItsMode) {
    struct Mode {
        int mnuFlag;
        bool openVisible;
        bool optionsEnabled;
        QStringList files;
    };
    const QList<Mode> modes = {
        {kMnuFlagMemo, true, true, {"memo.txt", "NOTES.TXT"}},
        {kMnuFlagReplay, false, false, {"game1.sho", "GAME2.SHO"}},
    };
    for (const Mode& m : modes) {
        RecordFileDialog dialog(m.mnuFlag, folder, names, dialogs);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), u"開く");
        EXPECT_EQ(child<QLabel>(dialog, "nameLabel")->text(), u"ファイル名(&N):");
        EXPECT_EQ(nameBox(dialog)->toolTip(), u"ファイル名の手動変更はできません。");
        EXPECT_EQ(child<QRadioButton>(dialog, "Option1")->text(), u".TXT");
        EXPECT_EQ(child<QRadioButton>(dialog, "Option2")->text(), u".SHO");
        EXPECT_EQ(child<QPushButton>(dialog, "Command1")->text(), u"開　く");
        EXPECT_EQ(child<QPushButton>(dialog, "Command2")->text(), u"実　行");
        EXPECT_EQ(child<QPushButton>(dialog, "Command1")->isVisible(), m.openVisible);
        EXPECT_EQ(child<QPushButton>(dialog, "Command2")->isVisible(), !m.openVisible);
        EXPECT_EQ(child<QRadioButton>(dialog, "Option1")->isChecked(), m.openVisible);
        EXPECT_EQ(child<QRadioButton>(dialog, "Option2")->isChecked(), !m.openVisible);
        EXPECT_EQ(child<QRadioButton>(dialog, "Option1")->isEnabled(), m.optionsEnabled);
        EXPECT_EQ(child<QRadioButton>(dialog, "Option2")->isEnabled(), m.optionsEnabled);
        EXPECT_EQ(lines(fileList(dialog)), m.files);
        EXPECT_EQ(dialog.folder(), folder);
        EXPECT_EQ(lines(folderList(dialog)).last(), u"sub.d");
        EXPECT_EQ(driveList(dialog)->currentData().toString(), platform::driveOf(folder));
    }
    // The go program lists its own records.
    RecordFileDialog go(kMnuFlagReplay, folder, goRecordNames(), dialogs);
    EXPECT_EQ(child<QRadioButton>(go, "Option2")->text(), u".CHS");
    EXPECT_EQ(lines(fileList(go)), QStringList{"game.chs"});
}

TEST_F(RecordWindows, OnlyAClickOnAFileNamesItAndOpenHandsItsPathBack) {
    RecordFileDialog dialog(kMnuFlagMemo, folder, names, dialogs);
    dialog.show();
    nameBox(dialog)->setFocus();
    QTest::keyClicks(nameBox(dialog), QStringLiteral("typed.txt"));
    EXPECT_EQ(nameBox(dialog)->text(), u"");
    QTest::mouseClick(child<QPushButton>(dialog, "Command1"), Qt::LeftButton);
    EXPECT_EQ(dialogs.shown, QStringList{"Varnel|ファイルを指定してください。"});
    EXPECT_TRUE(dialog.isVisible());

    // The record filter lists the records; a click names one.
    QTest::mouseClick(child<QRadioButton>(dialog, "Option2"), Qt::LeftButton);
    EXPECT_EQ(lines(fileList(dialog)), (QStringList{"game1.sho", "GAME2.SHO"}));
    ASSERT_TRUE(clickItem(fileList(dialog), QStringLiteral("game1.sho")));
    EXPECT_EQ(nameBox(dialog)->text(), u"game1.sho");
    QTest::keyClick(nameBox(dialog), Qt::Key_Backspace);
    QTest::keyClicks(nameBox(dialog), QStringLiteral("x"));
    EXPECT_EQ(nameBox(dialog)->text(), u"game1.sho");

    // Going into another folder keeps the file that was clicked.
    ASSERT_TRUE(doubleClickItem(folderList(dialog), QStringLiteral("sub.d")));
    EXPECT_EQ(lines(fileList(dialog)), QStringList{"other.sho"});
    QTest::mouseClick(child<QRadioButton>(dialog, "Option1"), Qt::LeftButton);
    EXPECT_TRUE(lines(fileList(dialog)).isEmpty());
    QTest::mouseClick(child<QPushButton>(dialog, "Command1"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.openPath(), file(QStringLiteral("game1.sho")));
    EXPECT_EQ(dialog.exFile(), u"");
}

TEST_F(RecordWindows, RunHandsBackTheClickedRecordOrNothing) {
    {
        RecordFileDialog dialog(kMnuFlagReplay, folder, names, dialogs);
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
        EXPECT_EQ(dialog.exFile(), u"");
        EXPECT_FALSE(dialog.isVisible());
    }
    RecordFileDialog dialog(kMnuFlagReplay, folder, names, dialogs);
    dialog.show();
    ASSERT_TRUE(doubleClickItem(folderList(dialog), QStringLiteral("sub.d")));
    ASSERT_TRUE(clickItem(fileList(dialog), QStringLiteral("other.sho")));
    QTest::mouseClick(child<QPushButton>(dialog, "Command2"), Qt::LeftButton);
    // The whole path: the record replayed is the one clicked, wherever it is.
    EXPECT_EQ(dialog.exFile(), file(QStringLiteral("sub.d/other.sho")));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(RecordWindows, AnUnusableDriveIsToldAndNothingChanges) {
    RecordFileDialog dialog(kMnuFlagReplay, folder, names, dialogs);
    dialog.show();
    driveList(dialog)->addItem(QStringLiteral("/gone-away"), QStringLiteral("/gone-away"));
    driveList(dialog)->setFocus();
    QTest::keyClick(driveList(dialog), Qt::Key_End);
    EXPECT_EQ(dialogs.shown, QStringList{"Varnel|デバイスが使用できません。"});
    EXPECT_EQ(dialog.folder(), folder);
    EXPECT_EQ(driveList(dialog)->currentData().toString(), platform::driveOf(folder));
    EXPECT_EQ(lines(fileList(dialog)), (QStringList{"game1.sho", "GAME2.SHO"}));
}

TEST_F(RecordWindows, TheReplayStepsTheBoardAndSkipsWhatIsNoPosition) {
    ASSERT_TRUE(writeBytes(file(QStringLiteral("rec.sho")), "pos1\r\npos2\r\nbroken\r\npos4\r\n"));
    // A bare name is the program folder's.
    ReplayWindow replay(QStringLiteral("rec.sho"), folder, board, names, dialogs);
    ASSERT_TRUE(replay.LoadFile());
    EXPECT_EQ(replay.windowTitle(), u"PLAY:rec.sho");
    EXPECT_EQ(child<QLabel>(replay, "Label1")->text(), u"1");
    EXPECT_EQ(board.shown, QStringList{"pos1"});
    EXPECT_EQ(dialogs.texts, QStringList{"rec.shoの3行目は局面ではないため、飛ばします。"});

    replay.setWindowModality(Qt::ApplicationModal);
    replay.show();
    struct Step {
        QPushButton* button;
        QString label;
    };
    const QList<Step> steps = {{child<QPushButton>(replay, "Command2"), "1"},
                               {child<QPushButton>(replay, "Command3"), "2"},
                               {child<QPushButton>(replay, "Command3"), "4"},
                               {child<QPushButton>(replay, "Command3"), "4"},
                               {child<QPushButton>(replay, "Command2"), "2"},
                               {child<QPushButton>(replay, "Command1"), "1"},
                               {child<QPushButton>(replay, "Command3"), "2"}};
    for (const Step& s : steps) {
        QTest::mouseClick(s.button, Qt::LeftButton);
        EXPECT_EQ(child<QLabel>(replay, "Label1")->text(), s.label)
            << s.button->text().toStdString();
    }
    EXPECT_EQ(board.shown,
              (QStringList{"pos1", "pos1", "pos2", "pos4", "pos4", "pos2", "pos1", "pos2"}));
    // From its first step on the main window can be used beside it.
    EXPECT_EQ(replay.windowModality(), Qt::NonModal);
    EXPECT_TRUE(replay.isVisible());
    EXPECT_EQ(child<QPushButton>(replay, "Command1")->text(), u"<<");
    EXPECT_EQ(child<QPushButton>(replay, "Command2")->text(), u"<");
    EXPECT_EQ(child<QPushButton>(replay, "Command3")->text(), u">");
}

TEST_F(RecordWindows, ARecordThatCannotBeReplayedLeavesTheBoardAsItWas) {
    ASSERT_TRUE(writeBytes(file(QStringLiteral("empty.sho")), ""));
    const QList<std::pair<QString, QString>> cases = {
        {file(QStringLiteral("gone.sho")), file(QStringLiteral("gone.sho")) + "が存在しません。"},
        {QStringLiteral("empty.sho"), "empty.shoは空のファイルです。"},
        {QStringLiteral("memo.txt"), "memo.txtには再生できる局面がありません。"},
    };
    for (const auto& [exFile, text] : cases) {
        dialogs.texts.clear();
        ReplayWindow replay(exFile, folder, board, names, dialogs);
        EXPECT_FALSE(replay.LoadFile());
        EXPECT_EQ(dialogs.texts, QStringList{text});
    }
    EXPECT_TRUE(board.shown.isEmpty());
}

TEST_F(RecordWindows, TheMemoEditorLoadsSavesAndSavesUnderANameWithTheExtension) {
    const QString memo = file(QStringLiteral("memo.txt"));
    ASSERT_TRUE(writeBytes(memo, "\x8F\xAB\x8A\xFB\r\nline 2\r\n"));
    MemoEditor editor(memo, folder, names, dialogs);
    ASSERT_TRUE(editor.LoadFile());
    editor.show();
    EXPECT_EQ(editor.windowTitle(), memo + QStringLiteral(":将棋メモ帳：ロ－ドした行数=2"));
    EXPECT_EQ(child<QPlainTextEdit>(editor, "Text1")->toPlainText(), u"将棋\nline 2");
    EXPECT_EQ(child<QAction>(editor, "nmuNameChangeSave")->text(), u"名前を変えて保存(&S)");
    EXPECT_EQ(child<QAction>(editor, "mnuRewrite")->text(), u"上書保存");
    EXPECT_EQ(child<QAction>(editor, "mnuQuit")->text(), u"終了(&Q)");
    // The text box fills the window below its menu, whatever its size.
    editor.resize(700, 500);
    // The layout follows once the resize has been handled.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return child<QPlainTextEdit>(editor, "Text1")->width() == editor.width(); }));
    EXPECT_EQ(child<QPlainTextEdit>(editor, "Text1")->geometry().bottom(), editor.rect().bottom());

    child<QPlainTextEdit>(editor, "Text1")->setPlainText(QStringLiteral("将棋\nline 2\nline 3"));
    child<QAction>(editor, "mnuRewrite")->trigger();
    EXPECT_EQ(fileBytes(memo), QByteArray("\x8F\xAB\x8A\xFB\r\nline 2\r\nline 3\r\n"));

    dialogs.textAnswers = {"memo2", "memo3.txt", "", QString()};
    for (const char* written : {"memo2.sho", "memo3.txt.sho"}) {
        child<QAction>(editor, "nmuNameChangeSave")->trigger();
        EXPECT_EQ(fileBytes(file(QString::fromLatin1(written))),
                  QByteArray("\x8F\xAB\x8A\xFB\r\nline 2\r\nline 3\r\n"));
        EXPECT_EQ(editor.fileN(), QString::fromLatin1(written));
    }
    child<QAction>(editor, "nmuNameChangeSave")->trigger();  // an empty answer
    child<QAction>(editor, "nmuNameChangeSave")->trigger();  // Cancel
    EXPECT_EQ(editor.fileN(), u"memo3.txt.sho");
    EXPECT_EQ(dialogs.texts.count(names.memoSavePrompt), 4);
    EXPECT_EQ(dialogs.texts.size(), 4);

    child<QAction>(editor, "mnuQuit")->trigger();
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(RecordWindows, MemoFilesThatCannotBeUsedAreTold) {
    const QList<std::tuple<QString, bool, QString>> cases = {
        {file(QStringLiteral("gone.txt")), false,
         file(QStringLiteral("gone.txt")) + "が存在しません。"},
        {folder, false, folder + "を読み込めません。"},
        {file(QStringLiteral("huge.txt")), false,
         file(QStringLiteral("huge.txt")) + "は大きすぎるため、メモ帳では開けません。"},
    };
    {
        // Past what an editor box can hold; the file takes no room on disk.
        QFile huge(file(QStringLiteral("huge.txt")));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(kMaxMemoBytes + 1));
    }
    for (const auto& [path, opens, text] : cases) {
        dialogs.texts.clear();
        MemoEditor editor(path, folder, names, dialogs);
        EXPECT_EQ(editor.LoadFile(), opens) << path.toStdString();
        EXPECT_EQ(dialogs.texts, QStringList{text}) << path.toStdString();
    }

    // An empty file is told and opens empty, ready to be written.
    ASSERT_TRUE(writeBytes(file(QStringLiteral("empty.txt")), ""));
    dialogs.texts.clear();
    MemoEditor editor(file(QStringLiteral("empty.txt")), folder, names, dialogs);
    ASSERT_TRUE(editor.LoadFile());
    EXPECT_EQ(dialogs.texts,
              QStringList{file(QStringLiteral("empty.txt")) + "は空のファイルです。"});
    EXPECT_TRUE(editor.windowTitle().endsWith(u"行数=0"));

    // A name that cannot be written is told, and the editor keeps its file.
    dialogs.texts.clear();
    dialogs.textAnswers = {"no/such/folder/memo"};
    child<QAction>(editor, "nmuNameChangeSave")->trigger();
    EXPECT_EQ(dialogs.texts.last(), u"no/such/folder/memo.shoに書き込めません。");
    EXPECT_EQ(editor.fileN(), file(QStringLiteral("empty.txt")));
}

// The four menu items, as the main window attaches them.
class RecordMenuItems : public RecordWindows {
protected:
    QWidget window;
    bool connected = false;
    RecordMenus menus{names, folder, dialogs, board, [this] { return connected; }, &window};
    QAction open{QStringLiteral("開く...(&F)")};
    QAction save{QStringLiteral("名前を付けて保存...")};
    QAction vsave{QStringLiteral("全手保存")};
    QAction play{QStringLiteral("起動")};

    void SetUp() override {
        RecordWindows::SetUp();
        for (QAction* a : {&open, &save, &vsave, &play})
            a->setEnabled(false);
        menus.attach(&open, &save, &vsave, &play);
    }
};

TEST_F(RecordMenuItems, RecordingIsSwitchedOnOnceAndSavedUnderAName) {
    for (QAction* a : {&open, &save, &vsave, &play})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    // Before any running record there is nothing to save.
    dialogs.textAnswers = {"game9"};
    save.trigger();
    EXPECT_EQ(dialogs.shown,
              (QStringList{"Varnel|" + saveRecordPrompt(),
                           "Varnel|ShougiAll.shoがありません。「全手保存」で棋譜を記録してから保存"
                           "してください。"}));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("game9.sho"))));

    ASSERT_TRUE(writeBytes(file(QStringLiteral("ShougiAll.sho")), "an earlier game\r\n"));
    vsave.trigger();
    EXPECT_TRUE(vsave.isChecked());
    EXPECT_FALSE(vsave.isEnabled());
    EXPECT_TRUE(menus.record().isOn());
    EXPECT_EQ(fileBytes(file(QStringLiteral("ShougiAll.sho"))), QByteArray());

    menus.record().append(QStringLiteral("pos1"));
    dialogs.textAnswers = {"game9"};
    save.trigger();
    EXPECT_EQ(fileBytes(file(QStringLiteral("game9.sho"))), QByteArray("pos1\r\n"));
    EXPECT_EQ(dialogs.shown.size(), 3);  // the question only
}

TEST_F(RecordMenuItems, AReplayIsRefusedWhileConnected) {
    connected = true;
    play.trigger();
    EXPECT_EQ(dialogs.shown, QStringList{"Varnel|通信を切断しなければ実行できません。"});
    EXPECT_EQ(menus.replayWindow(), nullptr);
    EXPECT_TRUE(board.shown.isEmpty());
}

TEST_F(RecordMenuItems, AReplayRunsFromTheFileDialogAndLeavesItsLastPosition) {
    window.show();
    whenDialogOpens<RecordFileDialog>([](RecordFileDialog& d) {
        EXPECT_EQ(d.MnuFlag, kMnuFlagReplay);
        ASSERT_TRUE(clickItem(fileList(d), QStringLiteral("game1.sho")));
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
    });
    play.trigger();
    EXPECT_EQ(menus.MnuFlag, kMnuFlagReplay);
    ReplayWindow* replay = menus.replayWindow();
    ASSERT_NE(replay, nullptr);
    EXPECT_TRUE(replay->isVisible());
    EXPECT_EQ(replay->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(replay->windowTitle(), "PLAY:" + file(QStringLiteral("game1.sho")));
    QTest::mouseClick(child<QPushButton>(*replay, "Command3"), Qt::LeftButton);
    replay->close();
    EXPECT_EQ(board.shown, (QStringList{"pos1", "pos2"}));

    // A dialog closed without a record replays nothing.
    whenDialogOpens<RecordFileDialog>([](RecordFileDialog& d) { d.reject(); });
    play.trigger();
    EXPECT_EQ(board.shown.size(), 2);
}

TEST_F(RecordMenuItems, OpenShowsTheChosenFileInTheMemoEditor) {
    window.show();
    whenDialogOpens<RecordFileDialog>([](RecordFileDialog& d) {
        EXPECT_EQ(d.MnuFlag, kMnuFlagMemo);
        ASSERT_TRUE(clickItem(fileList(d), QStringLiteral("NOTES.TXT")));
        QTest::mouseClick(child<QPushButton>(d, "Command1"), Qt::LeftButton);
    });
    QString caption;
    whenDialogOpens<MemoEditor>([&](MemoEditor& editor) {
        caption = editor.windowTitle();
        child<QAction>(editor, "mnuQuit")->trigger();
    });
    open.trigger();
    EXPECT_EQ(menus.MnuFlag, kMnuFlagMemo);
    EXPECT_EQ(caption, file(QStringLiteral("NOTES.TXT")) + ":将棋メモ帳：ロ－ドした行数=1");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// Recording is never switched off while a program runs, and a go record grows
// by some 230 KB a game: one of more than 10 MB replays to its last line and
// opens in the memo editor.
TEST_F(RecordMenuItems, ARecordOfTenMegabytesReplaysToItsLastLineAndOpensInTheMemoEditor) {
    // Lines after own go moves: 361 two-digit items, each line with a black
    // and a white stone of its own.
    constexpr int kLines = 10000;
    QByteArray emptyBoard = "02";
    for (int k = 1; k < 361; ++k)
        emptyBoard += ",02";
    const auto line = [&](int i) {
        QByteArray text = emptyBoard;
        text[3 * (i % 361) + 1] = '0';
        text[3 * ((i / 361 * 7 + 100) % 361) + 1] = '1';
        return text;
    };
    QByteArray record;
    for (int i = 0; i < kLines; ++i)
        record += line(i) + "\r\n";
    ASSERT_GT(record.size(), 10 * 1024 * 1024);
    ASSERT_TRUE(writeBytes(file(QStringLiteral("games.sho")), record));
    window.show();

    whenDialogOpens<RecordFileDialog>([](RecordFileDialog& d) {
        ASSERT_TRUE(clickItem(fileList(d), QStringLiteral("games.sho")));
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
    });
    play.trigger();
    ReplayWindow* replay = menus.replayWindow();
    ASSERT_NE(replay, nullptr);
    EXPECT_EQ(child<QLabel>(*replay, "Label1")->text(), u"1");
    for (int i = 1; i < kLines; ++i)
        child<QPushButton>(*replay, "Command3")->click();
    EXPECT_EQ(child<QLabel>(*replay, "Label1")->text(), QString::number(kLines));
    child<QPushButton>(*replay, "Command3")->click();  // ">" on the last line stays there
    EXPECT_EQ(child<QLabel>(*replay, "Label1")->text(), QString::number(kLines));
    ASSERT_EQ(board.shown.size(), kLines + 1);
    EXPECT_EQ(board.shown.first(), QString::fromLatin1(line(0)));
    EXPECT_EQ(board.shown[kLines / 2], QString::fromLatin1(line(kLines / 2)));
    EXPECT_EQ(board.shown.last(), QString::fromLatin1(line(kLines - 1)));
    replay->close();

    whenDialogOpens<RecordFileDialog>([](RecordFileDialog& d) {
        QTest::mouseClick(child<QRadioButton>(d, "Option2"), Qt::LeftButton);
        ASSERT_TRUE(clickItem(fileList(d), QStringLiteral("games.sho")));
        QTest::mouseClick(child<QPushButton>(d, "Command1"), Qt::LeftButton);
    });
    QString caption, lastLine;
    int blocks = 0;
    whenDialogOpens<MemoEditor>([&](MemoEditor& editor) {
        caption = editor.windowTitle();
        blocks = child<QPlainTextEdit>(editor, "Text1")->blockCount();
        lastLine = child<QPlainTextEdit>(editor, "Text1")->document()->lastBlock().text();
        child<QAction>(editor, "mnuQuit")->trigger();
    });
    open.trigger();
    EXPECT_EQ(caption, file(QStringLiteral("games.sho")) + ":将棋メモ帳：ロ－ドした行数=10000");
    EXPECT_EQ(blocks, kLines);
    EXPECT_EQ(lastLine, QString::fromLatin1(line(kLines - 1)));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join(u'\n').toStdString();
}

}  // namespace
}  // namespace gamecommon
