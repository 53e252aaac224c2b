// The two game programs in English: the main window, its menus, the login
// settings, the file dialog, the memo editor, the replay window and the boxes
// show no Japanese once the English texts are installed, through a game
// against a scripted server. What they send stays as it was.

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>

#include "filedialogcontrols.h"
#include "gorules/positionstring.h"
#include "listclicks.h"
#include "logindialog.h"
#include "loginsettings.h"
#include "memoeditor.h"
#include "ostrimdriver.h"
#include "programtexts.h"
#include "recordfiledialog.h"
#include "recordmenus.h"
#include "replaywindow.h"
#include "scriptedmatchtransport.h"
#include "shogirules/board.h"
#include "shogirules/rulemessages.h"
#include "textfile.h"
#include "varneldriver.h"
#include "widgetdriver.h"
#include "widgettexts.h"

namespace {

using testsupport::child;

// The English texts are installed before the window is built.
struct EnglishFirst {
    testsupport::EnglishTexts english{platform::translationsFolder(QUOR_BIN_DIR)};
};

struct Varnel : EnglishFirst, testsupport::ScriptedNetwork, shogi::test::VarnelDriver {
    Varnel() : VarnelDriver(&peer, &clock) {}
    static constexpr const char* kRecord = "game.sho";
    static QString position() { return shogi::Board::initial().positionString(); }
    static QString opponentsMove() {
        return QStringLiteral("SYOUGI_MSG2:") + shogi::kInitialPositionString.toString() +
               QStringLiteral(
                   ":Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,Fu, 0,Ky, 0,Ke, 0,Gi, "
                   "0,Ki, 0,Hi, 0,Ka, 0, 1: 1:END");
    }
    static constexpr const char* kTitle = "Network shogi: you play Gote: move 1";
};

struct Ostrim : EnglishFirst, testsupport::ScriptedNetwork, go::test::OstrimDriver {
    Ostrim() : OstrimDriver(&peer, &clock) {}
    static constexpr const char* kRecord = "game.chs";
    static QString position() { return go::emptyBoardText(); }
    static QString opponentsMove() {
        return QStringLiteral("SYOUGI_MSG2:") + QString(go::kPointCount, u'2') +
               QStringLiteral(": 1:0");
    }
    static constexpr const char* kTitle = "Network go: you play White: move 1";
};

template <class Program>
class GameInEnglish : public ::testing::Test {
protected:
    // Every text of a window or dialog with a Japanese character in it,
    // said with where it was seen.
    void noJapanese(const QWidget& widget, const char* where) {
        EXPECT_EQ(testsupport::japaneseIn(testsupport::shownTexts(widget)), QStringList()) << where;
        ++looked;
    }

    int looked = 0;  // windows and dialogs looked at
    Program p;
};

using Programs = ::testing::Types<Varnel, Ostrim>;
TYPED_TEST_SUITE(GameInEnglish, Programs);

TYPED_TEST(GameInEnglish, EveryWindowAndBoxShowsNoJapanese) {
    auto& p = this->p;
    ASSERT_TRUE(p.english.loaded());
    this->noJapanese(p.window, "main window");

    // A game: logged in, the opponent's first move, a canned line.
    ASSERT_TRUE(gamecommon::writeLoginSettings(
        p.folder.file(QStringLiteral("LOGIN.TXT")),
        {QStringLiteral("taro"), QStringLiteral("pw"), QStringLiteral("taro@example.jp"),
         QStringLiteral("127.0.0.1")}));
    p.window.activated();
    p.peer.connectDone();
    ASSERT_TRUE(p.peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
    p.peer.send(TypeParam::opponentsMove());
    ASSERT_TRUE(p.peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(p.window.windowTitle(), QString::fromLatin1(TypeParam::kTitle));
    EXPECT_EQ(child<QLineEdit>(p.window, "Text1")->text(), u"Your move");
    child<QAction>(p.window, "mnuAis", 0)->trigger();
    EXPECT_TRUE(p.peer.receive(QStringLiteral("SYOUGI_MSG6:宜しくお願いします。")));
    child<QAction>(p.window, "mnuPlay")->trigger();  // refused while connected
    child<QAction>(p.window, "mnuToryou")->trigger();
    EXPECT_TRUE(p.peer.pending().contains(u"投了です。あなたの勝ちです。有り難うございました。"));
    this->noJapanese(p.window, "main window in a game");
    child<QAction>(p.window, "mnuClose")->trigger();
    child<QAction>(p.window, "mnuV")->trigger();

    // The record windows once disconnected: the file dialog, the memo
    // editor, a replay.
    ASSERT_TRUE(platform::writeTextLines(p.folder.file(QString::fromLatin1(TypeParam::kRecord)),
                                         {TypeParam::position(), QStringLiteral("0F,0F")}));
    testsupport::whenDialogOpens<gamecommon::RecordFileDialog>(
        [this](gamecommon::RecordFileDialog& d) { this->noJapanese(d, "file dialog"); });
    child<QAction>(p.window, "nmuFileOpen")->trigger();
    testsupport::whenDialogOpens<gamecommon::MemoEditor>(
        [this](gamecommon::MemoEditor& d) { this->noJapanese(d, "memo editor"); });
    p.window.records()->FileOpen(p.folder.file(QString::fromLatin1(TypeParam::kRecord)));
    testsupport::whenDialogOpens<gamecommon::RecordFileDialog>([](gamecommon::RecordFileDialog& d) {
        ASSERT_TRUE(testsupport::clickItem(testsupport::fileList(d),
                                           QString::fromLatin1(TypeParam::kRecord)));
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
    });
    child<QAction>(p.window, "mnuPlay")->trigger();
    auto* replay = p.window.template findChild<gamecommon::ReplayWindow*>();
    ASSERT_NE(replay, nullptr);
    this->noJapanese(*replay, "replay window");
    replay->close();
    if (auto* login = p.window.template findChild<QAction*>(QStringLiteral("LogIn"))) {
        testsupport::whenDialogOpens<gamecommon::LoginDialog>(
            [this](gamecommon::LoginDialog& d) { this->noJapanese(d, "login settings"); });
        login->trigger();
    }

    EXPECT_EQ(this->looked, p.window.template findChild<QAction*>(QStringLiteral("LogIn")) ? 6 : 5);
    // The boxes: the refused replay, the version, the skipped record line.
    EXPECT_EQ(p.dialogs.texts.size(), 3) << p.dialogs.texts.join(u'|').toStdString();
    EXPECT_EQ(testsupport::japaneseIn(p.dialogs.shown), QStringList());
}

}  // namespace

// The rules hand out their texts in Japanese; the window shows them through
// their translation, found by the text itself.
TEST(ShogiRulesInEnglish, EveryTextTheRulesHandOutIsShownInEnglish) {
    const EnglishFirst english;
    ASSERT_TRUE(english.english.loaded());
    for (const QUtf8StringView text :
         {shogi::kMsgMoveLeavesCheck, shogi::kMsgKingCannotEscape, shogi::kMsgCannotDropThere,
          shogi::kMsgTwoPawns, shogi::kMsgCheck, shogi::kMsgPromote, shogi::kMsgYouWin}) {
        const QString shown = shogi::shownRuleText(text.toString());
        EXPECT_EQ(testsupport::japaneseIn({shown}), QStringList()) << shown.toStdString();
    }
}
