#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>

#include "clientlogindialog.h"
#include "gamefilelist.h"
#include "lobbywindow.h"
#include "programtexts.h"
#include "scriptedclienttransport.h"
#include "scripteddialogs.h"
#include "socketerrortext.h"
#include "textfile.h"
#include "userlines.h"
#include "widgetdriver.h"
#include "widgettexts.h"

namespace lobbyclient {
namespace {

using testsupport::child;

QString loginFile(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("LOGIN.TXT"));
}

TEST(ClientLoginDialog, SettingsFileRules) {
    QTemporaryDir dir;
    {
        ClientLoginDialog missing(loginFile(dir), nullptr);
        EXPECT_EQ(child<QLineEdit>(missing, "TxtID")->text(), u"LOGIN　デ－タがありません。");
        EXPECT_EQ(child<QComboBox>(missing, "GM")->count(), 2);
        EXPECT_EQ(child<QComboBox>(missing, "GM")->currentIndex(), -1);
        child<QLineEdit>(missing, "TxtID")->setText(QStringLiteral("taro"));
        child<QLineEdit>(missing, "TxtSV")->setText(QStringLiteral("127.0.0.1"));
        child<QPushButton>(missing, "BtnSave")->click();
    }
    EXPECT_EQ(platform::readTextLines(loginFile(dir)),
              QStringList{QStringLiteral("taro,,,127.0.0.1,-1")});
    {
        ClientLoginDialog reread(loginFile(dir), nullptr);
        EXPECT_EQ(reread.record(),
                  (LoginRecord{QStringLiteral("taro"), {}, {}, QStringLiteral("127.0.0.1"), -1}));
        child<QComboBox>(reread, "GM")->setCurrentIndex(1);
        child<QPushButton>(reread, "BtnSave")->click();
    }
    EXPECT_EQ(child<QComboBox>(ClientLoginDialog(loginFile(dir), nullptr), "GM")->currentText(),
              u"囲碁");

    // A game program's own four-field file leaves every box empty.
    ASSERT_TRUE(platform::writeTextLines(loginFile(dir), {QStringLiteral("a,b,c,d")}));
    EXPECT_EQ(ClientLoginDialog(loginFile(dir), nullptr).record(), (LoginRecord{}));

    // An ID holding a comma comes back with the fields shifted.
    ASSERT_TRUE(writeClientSettings(loginFile(dir), {QStringLiteral("ta,ro"), QStringLiteral("pw"),
                                                     QStringLiteral("m"), QStringLiteral("s"), 0}));
    const LoginRecord shifted = ClientLoginDialog(loginFile(dir), nullptr).record();
    EXPECT_EQ(shifted.ID, u"ta");
    EXPECT_EQ(shifted.PASS, u"ro");
    EXPECT_EQ(shifted.Server, u"m");
}

TEST(ClientLoginDialog, PasswordShowsAStarPerCharacter) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeClientSettings(loginFile(dir), {QStringLiteral("taro"), QStringLiteral("pw"),
                                                     QStringLiteral("m"), QStringLiteral("s"), 0}));
    ClientLoginDialog dialog(loginFile(dir), nullptr);
    dialog.show();
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtPASS")->displayText(), u"**");
    QTest::keyClicks(child<QLineEdit>(dialog, "TxtPASS"), QStringLiteral("ab3"));
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtPASS")->text(), u"pwab3");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtPASS")->displayText(), u"*****");
}

TEST(UserLines, AsTheListShowsThem) {
    EXPECT_EQ(userLine({QStringLiteral("taro"), 0, 3, false, false}, 3), u" 3 taro 将棋 Me");
    EXPECT_EQ(userLine({QStringLiteral("hana"), 0, 5, true, false}, 3), u" 5 hana 将棋  Battle!");
    EXPECT_EQ(userLine({QStringLiteral("jiro"), 1, 12, false, true}, 3), u" 12 jiro 囲碁  Watch");
    EXPECT_EQ(linePieces(QStringLiteral(" 5 hana 将棋  Battle!")).mid(0, 3),
              (QStringList{QString(), QStringLiteral("5"), QStringLiteral("hana")}));
}

// A lobby window in its own folder, talking to a server played by the test
// on scripted sockets, with a hand-moved clock: no socket, no wait.
class LobbyWire : public ::testing::Test, protected testsupport::ScriptedLobby {
protected:
    LobbyWire()
        : window(LobbyWindowOptions{dir.path(), &dialogs,
                                    [this](const QString& path, const QString& folder) {
                                        started << path + u'@' + folder;
                                        return true;
                                    },
                                    &peer, &clock}) {
        window.show();
    }

    void fillDialog(int kind = 0) {
        window.showLoginDialog();
        ClientLoginDialog* d = window.loginDialog();
        child<QLineEdit>(*d, "TxtID")->setText(QStringLiteral("taro"));
        child<QLineEdit>(*d, "TxtPASS")->setText(QStringLiteral("pw"));
        child<QLineEdit>(*d, "TxtMAIL")->setText(QStringLiteral("taro@example.jp"));
        child<QLineEdit>(*d, "TxtSV")->setText(QStringLiteral("127.0.0.1"));
        child<QComboBox>(*d, "GM")->setCurrentIndex(kind);
    }

    void logIn(int index = 3) {
        fillDialog();
        child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
        ASSERT_EQ(peer.servers.last(), u"127.0.0.1");
        peer.connectDone();
        ASSERT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|taro,pw,taro@example.jp, 0|END")));
        peer.send(QStringLiteral("LOGIN|OK| ") + QString::number(index) + QStringLiteral("|END"));
        ASSERT_FALSE(window.client().fLog());
    }

    // The dialog closed: it goes once the events posted for it are handled.
    bool dialogGone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.loginDialog() == nullptr;
    }

    QListWidget* list() const { return child<QListWidget>(window, "List1"); }

    QString topLine() const {
        return child<QPlainTextEdit>(window, "Msg")->toPlainText().section(u'\n', 0, 0);
    }

    void select(const QString& startOfLine) {
        for (int i = 0; i < list()->count(); ++i) {
            if (list()->item(i)->text().startsWith(startOfLine)) {
                list()->setCurrentRow(i);
                return;
            }
        }
        ADD_FAILURE() << "no line " << startOfLine.toStdString();
    }

    // A double-click on the selected line, or on the list when none is.
    void doubleClickSelected() {
        QListWidgetItem* item = list()->currentItem();
        const QPoint at = item ? list()->visualItemRect(item).center() : QPoint(5, 5);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    }

    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    QStringList started;
    LobbyWindow window;
};

// In English the logged-in window, its list and the server's notices show
// no Japanese (a received chat line is shown as it came); what goes out is
// the same.
struct EnglishFirst {
    testsupport::EnglishTexts english{platform::translationsFolder(QUOR_BIN_DIR)};
};
class EnglishLobbyWire : public EnglishFirst, public LobbyWire {};

TEST_F(EnglishLobbyWire, TheLoggedInWindowShowsNoJapanese) {
    ASSERT_TRUE(english.loaded());
    logIn();
    peer.send(
        QStringLiteral("AddFriends|hana,0, 2,False,False,taro,0, 3,False,False,jiro,1, "
                       "4,True,False|END"));
    peer.send(QStringLiteral("GAMESETOK|hana|END"));
    peer.send(QStringLiteral("HisNone|END"));
    EXPECT_EQ(testsupport::japaneseIn(testsupport::shownTexts(window)), QStringList());
    EXPECT_TRUE(topLine().startsWith(u"SERVER:>")) << topLine().toStdString();
    select(QStringLiteral(" 4 "));
    doubleClickSelected();
    EXPECT_EQ(dialogs.texts, QStringList{QStringLiteral("That user plays another game.")});
}

// The socket layer's sentences too (it hands out the Japanese, which logs
// keep; the window shows them translated).
TEST_F(EnglishLobbyWire, AFailedConnectIsToldInEnglish) {
    peer.connectErrorText = net::SocketErrorText(11001);
    fillDialog();
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    EXPECT_EQ(dialogs.texts, QStringList{QStringLiteral("The host was not found.")});
}

TEST_F(LobbyWire, LoginPollAndUserList) {
    EXPECT_EQ(window.windowTitle(), u"Client");
    EXPECT_FALSE(child<QPushButton>(window, "Start")->isEnabled());
    logIn(7);
    EXPECT_EQ(child<QPlainTextEdit>(window, "Msg")->toPlainText(),
              u"SERVER:>LOGINが許可されました。\nSERVER:>接続が完了しました。");
    EXPECT_EQ(window.client().MyIndex(), 7);
    EXPECT_EQ(child<QLabel>(window, "Label1")->text(), u"将棋");
    EXPECT_EQ(child<QPushButton>(window, "LOGINbtn")->text(), u"ログアウト");
    EXPECT_TRUE(child<QPushButton>(window, "SendBTN")->isEnabled());
    EXPECT_TRUE(window.client().Timer1().isActive());
    EXPECT_EQ(window.client().Timer1().interval(), 5000);
    EXPECT_TRUE(dialogGone());

    clock.advance(5000);  // the poll
    EXPECT_TRUE(peer.receive(QStringLiteral("GetGameData|taro|pw|7|END")));
    peer.send(QStringLiteral("AddFriends|taro,0, 7,False,False,hana,0, 9,True,False|END"));
    ASSERT_EQ(list()->count(), 2);
    EXPECT_EQ(list()->item(0)->text(), u" 7 taro 将棋 Me");
    EXPECT_EQ(list()->item(1)->text(), u" 9 hana 将棋  Battle!");
    peer.send(QStringLiteral("AddFriends|END"));
    ASSERT_EQ(list()->count(), 0);

    child<QPushButton>(window, "LOGINbtn")->click();
    EXPECT_TRUE(peer.receive(QStringLiteral("GameEnd|taro|END")));
    EXPECT_EQ(child<QPushButton>(window, "LOGINbtn")->text(), u"ログイン");
    EXPECT_FALSE(window.client().Timer1().isActive());
    EXPECT_FALSE(child<QPushButton>(window, "SendBTN")->isEnabled());

    // Logging in again before the server has closed the old connection.
    child<QPushButton>(window, "LOGINbtn")->click();
    ASSERT_NE(window.loginDialog(), nullptr);
    fillDialog();
    const net::SocketHandle old = peer.connection();
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    EXPECT_FALSE(peer.isOpen(old));
    peer.connectDone();
    EXPECT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|taro,pw,taro@example.jp, 0|END")));
}

TEST_F(LobbyWire, ChallengesWatchesAndTheirRefusals) {
    logIn(3);
    peer.send(QStringLiteral(
        "AddFriends|taro,0, 3,False,False,hana,0, 5,False,False,ken,1, 6,False,False,"
        "yumi,0, 8,True,False|END"));
    ASSERT_EQ(list()->count(), 4);

    doubleClickSelected();  // nothing selected yet
    select(QStringLiteral(" 3 "));
    doubleClickSelected();
    child<QAction>(window, "mnu_Watch")->trigger();
    select(QStringLiteral(" 6 "));
    doubleClickSelected();
    select(QStringLiteral(" 8 "));
    doubleClickSelected();
    select(QStringLiteral(" 5 "));
    child<QAction>(window, "mnu_Watch")->trigger();
    EXPECT_EQ(dialogs.texts, (QStringList{QStringLiteral("相手が選択されていません。"),
                                          QStringLiteral("自分は対戦相手にできません。"),
                                          QStringLiteral("自分を選択できません。"),
                                          QStringLiteral("ゲ－ム種別が間違っています。"),
                                          QStringLiteral("そのユ－ザ－は既に対戦中です。"),
                                          QStringLiteral("選択できません。")}));
    EXPECT_FALSE(peer.pending().contains(QStringLiteral("GameStart")));

    doubleClickSelected();
    EXPECT_TRUE(peer.receive(QStringLiteral("GameStart|taro|pw|5|END")));
    EXPECT_TRUE(window.client().InBattle());
    doubleClickSelected();
    EXPECT_EQ(dialogs.texts.last(), u"あなたは既に対戦中です。");

    // The server refuses: the line is logged and another challenge may follow.
    peer.send(QStringLiteral("GameMsg|相手は既に対戦中です。|END"));
    ASSERT_FALSE(window.client().InBattle());
    EXPECT_EQ(topLine(), u"相手は既に対戦中です。");
    doubleClickSelected();
    EXPECT_TRUE(peer.receive(QStringLiteral("GameStart|taro|pw|5|END")));

    peer.send(QStringLiteral("GameMsg|Battle|hana| 5|END"));
    EXPECT_TRUE(peer.receive(QStringLiteral("GMOK|受信しました。| 0|END")));
    EXPECT_EQ(topLine(), u"Battle");
    EXPECT_TRUE(child<QPushButton>(window, "Start")->isEnabled());
    child<QAction>(window, "mnu_Watch")->trigger();
    EXPECT_EQ(dialogs.texts.last(), u"あなたは、対戦中です。");

    peer.send(QStringLiteral("GameMsg|ShutDown|END"));
    EXPECT_TRUE(peer.receive(QStringLiteral("GMOK|受信しました。| 0|END")));
    EXPECT_FALSE(child<QPushButton>(window, "Start")->isEnabled());
    EXPECT_FALSE(window.client().InBattle());

    select(QStringLiteral(" 8 "));
    child<QAction>(window, "mnu_Watch")->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("WatchMsg|8|END")));
    EXPECT_TRUE(child<QPushButton>(window, "Start")->isEnabled());
}

// Who may be challenged or watched is decided by the list, not by words in a
// line: IDs hold "Me", "Battle" or a game's name too. The lines stay as shown.
TEST_F(LobbyWire, IdsThatHoldTheListsWordsDecideNothing) {
    logIn(3);
    peer.send(
        QStringLiteral("AddFriends|taro,0, 3,False,False,Battler,0, 5,False,False,"
                       "Meg,0, 6,True,False,将棋ken,1, 7,False,False|END"));
    ASSERT_EQ(list()->count(), 4);
    EXPECT_EQ(list()->item(2)->text(), u" 6 Meg 将棋  Battle!");

    select(QStringLiteral(" 6 "));
    child<QAction>(window, "mnu_Watch")->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("WatchMsg|6|END")));
    select(QStringLiteral(" 7 "));
    doubleClickSelected();
    EXPECT_EQ(dialogs.texts, QStringList{QStringLiteral("ゲ－ム種別が間違っています。")});
    select(QStringLiteral(" 5 "));
    doubleClickSelected();
    EXPECT_TRUE(peer.receive(QStringLiteral("GameStart|taro|pw|5|END")));
}

TEST_F(LobbyWire, ChatAndServerNotices) {
    logIn(3);
    child<QLineEdit>(window, "Status")->setText(QStringLiteral("a|b"));
    child<QPushButton>(window, "SendBTN")->click();
    EXPECT_TRUE(peer.receive(QStringLiteral("GameMsg|taro>a｜b| 0|END")));
    EXPECT_EQ(topLine(), u"taro>a｜b");
    EXPECT_EQ(child<QLineEdit>(window, "Status")->text(), u"a|b");

    // A chat line that mentions keywords is a chat line and nothing else.
    peer.send(QStringLiteral("GameMsg|hana>LOGIN Dead GameEnd| 0|END"));
    EXPECT_TRUE(peer.receive(QStringLiteral("GMOK|受信しました。| 0|END")));
    EXPECT_EQ(topLine(), u"hana>LOGIN Dead GameEnd");
    EXPECT_TRUE(dialogs.texts.isEmpty());
    EXPECT_FALSE(window.hasEnded());

    peer.send(QStringLiteral("GameMsg|NotStart|END"));
    peer.send(QStringLiteral("GAMESETOK|hana|END"));
    ASSERT_EQ(topLine(), u"SERVER:>hanaはゲ－ムを起動しました。");
    EXPECT_TRUE(
        child<QPlainTextEdit>(window, "Msg")
            ->toPlainText()
            .startsWith(QStringLiteral(
                "SERVER:>hanaはゲ－ムを起動しました。\nSERVER:>将棋ソフトを立ち上げてください。\n"
                "NotStart\n")));
    EXPECT_FALSE(peer.pending().contains(QStringLiteral("GMOK")));  // NotStart is not answered

    peer.send(QStringLiteral("GMOK|受信しました。|END"));
    peer.send(QStringLiteral("HisNone|END"));
    ASSERT_EQ(topLine(), u"SERVER:>相手が離籍してしまいました。");

    peer.send(QStringLiteral("Dead|END"));
    ASSERT_TRUE(window.hasEnded());
    EXPECT_EQ(dialogs.texts.last(),
              u"タイムオ－バ－のため、サ－バ－から切断されました。再度ログインしてください。");
}

TEST_F(LobbyWire, StartingTheGameProgram) {
    logIn(3);
    child<QPushButton>(window, "Start")->setEnabled(true);
    child<QPushButton>(window, "Start")->click();
    EXPECT_EQ(dialogs.texts.last(), u"GameFile.txtが存在しません。");
    EXPECT_FALSE(child<QPushButton>(window, "Start")->isEnabled());

    gamefile::GameFileList list;
    ASSERT_TRUE(gamefile::writeGameFile(dir.filePath(QStringLiteral("GameFile.txt")), list));
    child<QPushButton>(window, "Start")->setEnabled(true);
    child<QPushButton>(window, "Start")->click();
    EXPECT_EQ(dialogs.texts.last(),
              u"将棋ソフトが設定されていません。「ファイル設定」で設定してください。");

    list.paths[0] = dir.filePath(QStringLiteral("Varnel"));
    ASSERT_TRUE(gamefile::writeGameFile(dir.filePath(QStringLiteral("GameFile.txt")), list));
    child<QPushButton>(window, "Start")->setEnabled(true);
    child<QPushButton>(window, "Start")->click();
    EXPECT_EQ(started, QStringList{dir.filePath(QStringLiteral("Varnel")) + u'@' + dir.path()});
    EXPECT_TRUE(window.isVisible());
}

TEST_F(LobbyWire, RefusedLogins) {
    fillDialog();
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    child<QPushButton>(*window.loginDialog(), "BtnSend")
        ->click();  // a second press opens no second socket
    ASSERT_EQ(peer.servers.size(), 1);
    peer.connectDone();
    ASSERT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|")));
    peer.send(QStringLiteral("LOGIN|No|END"));
    ASSERT_FALSE(peer.isOpen(peer.connection()));
    EXPECT_EQ(dialogs.texts, QStringList{QStringLiteral("満員のためログインが拒否されました。No")});
    EXPECT_TRUE(window.client().fLog());
    EXPECT_NE(window.loginDialog(), nullptr);  // open for another try
    EXPECT_EQ(window.client().DataSock(), 0);
}

// A login attempt that gets no answer is given up after the login timeout,
// whether the connect itself never completes or a service takes the
// connection and stays silent: the socket is closed, a box says so, and
// "送　信" works again.
TEST_F(LobbyWire, UnansweredLoginIsGivenUp) {
    EXPECT_EQ(window.client().loginTimeout(), std::chrono::seconds(10));
    window.client().setLoginTimeout(std::chrono::milliseconds(300));
    const QString noAnswer = QStringLiteral("サ－バ－から応答がありません。");
    fillDialog();

    // The connect hangs, as to a host that drops packets.
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    EXPECT_NE(window.client().DataSock(), 0);
    clock.advance(299);
    EXPECT_TRUE(dialogs.texts.isEmpty());
    clock.advance(1);
    EXPECT_EQ(dialogs.texts, QStringList{noAnswer});
    EXPECT_EQ(window.client().DataSock(), 0);

    // A service that never replies; its answer comes only while the box is open.
    dialogs.onShow = [&](const QString&) {
        EXPECT_EQ(window.client().DataSock(), 0);
        peer.send(QStringLiteral("LOGIN|OK| 3|END"));
    };
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    peer.connectDone();
    ASSERT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|")));
    clock.advance(300);
    ASSERT_FALSE(peer.isOpen(peer.connection()));
    EXPECT_EQ(dialogs.texts, (QStringList{noAnswer, noAnswer}));
    EXPECT_TRUE(window.client().fLog());
    EXPECT_EQ(child<QPushButton>(window, "LOGINbtn")->text(), u"ログイン");
    dialogs.onShow = nullptr;

    // An answer in time logs in, and no box follows it.
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    peer.connectDone();
    ASSERT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|")));
    peer.send(QStringLiteral("LOGIN|OK| 3|END"));
    ASSERT_FALSE(window.client().fLog());
    clock.advance(500);
    EXPECT_EQ(dialogs.texts.size(), 2);
}

TEST_F(LobbyWire, ClosingTheDialogGivesTheAttemptUp) {
    window.client().setLoginTimeout(std::chrono::milliseconds(300));
    fillDialog();
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    peer.connectDone();
    ASSERT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|")));
    window.loginDialog()->close();
    ASSERT_FALSE(peer.isOpen(peer.connection()));
    EXPECT_EQ(window.client().DataSock(), 0);
    clock.advance(500);
    EXPECT_TRUE(dialogs.texts.isEmpty());

    child<QPushButton>(window, "LOGINbtn")->click();
    fillDialog();
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    peer.connectDone();
    ASSERT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|")));
    // "END" closes the dialog too, but still says goodbye on the open connection.
    child<QPushButton>(*window.loginDialog(), "BtnClose")->click();
    EXPECT_TRUE(peer.receive(QStringLiteral("GameEnd||END")));
    EXPECT_TRUE(window.hasEnded());
}

TEST_F(LobbyWire, NoGameChosenDoesNothingAndEndSaysGoodbye) {
    fillDialog(-1);
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    EXPECT_TRUE(peer.servers.isEmpty());
    EXPECT_EQ(window.client().DataSock(), 0);
    EXPECT_TRUE(child<QLineEdit>(window, "Status")->text().isEmpty());

    child<QComboBox>(*window.loginDialog(), "GM")->setCurrentIndex(0);
    child<QPushButton>(*window.loginDialog(), "BtnSend")->click();
    peer.connectDone();
    ASSERT_TRUE(peer.receive(QStringLiteral("SVMSG_LOGIN|")));
    peer.send(QStringLiteral("NoLogin|END"));
    ASSERT_FALSE(dialogs.texts.isEmpty());
    EXPECT_EQ(dialogs.texts.last(), u"既にログインしています。再ログインが拒否されました。");
    child<QPushButton>(*window.loginDialog(), "BtnClose")->click();
    EXPECT_TRUE(peer.receive(QStringLiteral("GameEnd||END")));
    EXPECT_TRUE(window.hasEnded());
}

}  // namespace
}  // namespace lobbyclient
