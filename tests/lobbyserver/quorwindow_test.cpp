// The server's window on the offscreen platform, with its real server.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "quorwindow.h"
#include "rawclient.h"
#include "scripteddialogs.h"
#include "textfile.h"
#include "widgetdriver.h"

namespace lobbytest {
namespace {

using testsupport::child;

const QString kInvalid = QStringLiteral("不正なデ－タが送信されました。");

class QuorWindowTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    quint16 port = 0;  // where the window's server listens
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<brellow::Quor> window;

    void SetUp() override {
        platform::writeTextLines(QDir(folder.path()).filePath("BrellowLogIn.txt"),
                                 {"1,taro,pw1,t@x,"});
        qputenv("QUOR_PORT", "0");  // any free port
        window = std::make_unique<brellow::Quor>(folder.path(), dialogs);
        window->show();
        // It listens once shown; the clients, and a second server, go there.
        port = window->host().listeningPort();
        qputenv("QUOR_PORT", QByteArray::number(port));
    }
    void TearDown() override {
        window.reset();
        qunsetenv("QUOR_PORT");
    }
};

TEST_F(QuorWindowTest, ShowsItsElementsAndListensOnceShown) {
    EXPECT_EQ(window->windowTitle(), u"Brellow Ver1.00");
    EXPECT_EQ(child<QPushButton>(*window, "SerVerBTN")->text(), u"SerVer");
    EXPECT_EQ(child<QPushButton>(*window, "TRYbtn")->text(), u"トレイに格納");
    EXPECT_EQ(child<QPushButton>(*window, "EndBTN")->text(), u"END");
    EXPECT_EQ(child<QLabel>(*window, "LFtime")->text(), u"0");
    EXPECT_EQ(child<QAction>(*window, "mnu_DISP")->text(), u"表　示");
    EXPECT_EQ(child<QAction>(*window, "mnu_END")->text(), u"終了");
    EXPECT_EQ(child<QMenu>(*window, "mun_MENU")->actions().size(), 3);
    EXPECT_TRUE(child<QMenu>(*window, "mun_MENU")->actions()[1]->isSeparator());
    EXPECT_EQ(window->trayTip(), u"Brellow1.00-0");

    EXPECT_TRUE(window->host().isListening());
    EXPECT_EQ(child<QLineEdit>(*window, "Msg")->text(), u"クライアント待受");
    EXPECT_FALSE(child<QLineEdit>(*window, "GetTXT")->text().isEmpty());

    RawClient c(port);
    ASSERT_TRUE(c.connected());
    c.send("SVMSG_LOGIN|taro,pw1,t@x, 0|END");
    EXPECT_TRUE(c.next("LOGIN|OK| 1|END"));
    EXPECT_EQ(child<QLineEdit>(*window, "Status")->text(), u"127.0.0.1のログイン許可");
}

TEST_F(QuorWindowTest, SerVerAgainKeepsTheRunningListenerAndSaysSo) {
    QTest::mouseClick(child<QPushButton>(*window, "SerVerBTN"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>(*window, "Msg")->text(), u"既にクライアント待受中です。");
    EXPECT_TRUE(dialogs.shown.isEmpty());
    RawClient c(port);
    ASSERT_TRUE(c.connected());
    c.send("SVMSG_LOGIN|taro,pw1,t@x, 0|END");
    EXPECT_TRUE(c.next("LOGIN|OK| 1|END"));
}

TEST_F(QuorWindowTest, ASecondServerOnThePortShowsWhyItCannotListen) {
    testsupport::ScriptedDialogs otherDialogs;
    brellow::Quor other(folder.path(), otherDialogs);
    // Closing the box makes the window active again; that must not bring the
    // same box back.
    otherDialogs.onShow = [&](const QString&) {
        QApplication::setActiveWindow(window.get());
        QApplication::setActiveWindow(&other);
        QTest::qWait(20);  // a real box stays open a moment, and events flow meanwhile
    };
    other.show();
    QApplication::setActiveWindow(window.get());
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(waitUntil([&] { return other.isActiveWindow(); }, 5000));
    EXPECT_FALSE(other.host().isListening());
    EXPECT_EQ(otherDialogs.shown, QStringList{"Brellow|指定されたアドレスは使用中。"});
    EXPECT_EQ(child<QLineEdit>(other, "Msg")->text(), u"BINDできません。");
    EXPECT_TRUE(window->host().isListening());

    // "SerVer" tries again, and once the port is free it listens.
    QTest::mouseClick(child<QPushButton>(other, "SerVerBTN"), Qt::LeftButton);
    EXPECT_EQ(otherDialogs.shown.size(), 2);
    window.reset();
    otherDialogs.onShow = nullptr;
    QTest::mouseClick(child<QPushButton>(other, "SerVerBTN"), Qt::LeftButton);
    EXPECT_TRUE(other.host().isListening());
    EXPECT_EQ(child<QLineEdit>(other, "Msg")->text(), u"クライアント待受");
    EXPECT_EQ(otherDialogs.shown.size(), 2);
}

TEST_F(QuorWindowTest, ActivationStartsTheServerQuietly) {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(waitUntil([&] { return window->isActiveWindow(); }, 5000));
    EXPECT_EQ(child<QLineEdit>(*window, "Msg")->text(), u"クライアント待受");
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(QuorWindowTest, InvalidDataBoxesComeOneAtATimeWithACount) {
    RawClient c(port);
    ASSERT_TRUE(c.connected());
    // A real box keeps events flowing while it is open: each stays open a
    // while, as one the user reads.
    int open = 0;
    dialogs.onShow = [&](const QString&) {
        ++open;
        QTest::qWait(300);
        --open;
    };
    c.send("SVMSG_LOGIN|x|END");
    c.send("SVMSG_LOGIN|a|END");
    c.send("SVMSG_LOGIN|b|END");
    c.send("SVMSG_LOGIN|c|END");
    // A logout after them closes the connection once they have all been
    // handled; the boxes are done when none is open (the next one opens as
    // the last closes).
    c.send("LOGOUT|END");
    ASSERT_TRUE(c.closed());
    ASSERT_TRUE(waitUntil([&] { return dialogs.texts.size() >= 2 && open == 0; }, 5000));
    EXPECT_EQ(dialogs.texts, (QStringList{kInvalid, kInvalid + "（3回）"}));
    // Afterwards the next report opens a box of its own again.
    RawClient after(port);
    ASSERT_TRUE(after.connected());
    after.send("SVMSG_LOGIN|d|END");
    ASSERT_TRUE(waitUntil([&] { return dialogs.texts.size() >= 3; }, 5000));
    EXPECT_EQ(dialogs.texts.last(), kInvalid);
}

TEST_F(QuorWindowTest, TheMinuteTickShowsInTheLabelAndTheTrayTip) {
    window->host().server().minuteTick();
    window->host().server().minuteTick();
    EXPECT_EQ(child<QLabel>(*window, "LFtime")->text(), u"2");
    EXPECT_EQ(window->trayTip(), u"Brellow1.00-2");
    EXPECT_EQ(child<QSystemTrayIcon>(*window, "tray")->toolTip(), u"Brellow1.00-2");
}

TEST_F(QuorWindowTest, TheTrayButtonPutsTheWindowAway) {
    QTest::mouseClick(child<QPushButton>(*window, "TRYbtn"), Qt::LeftButton);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        EXPECT_TRUE(window->trayShown());
        EXPECT_FALSE(window->isVisible());
        child<QAction>(*window, "mnu_DISP")->trigger();
        EXPECT_FALSE(window->trayShown());
        EXPECT_TRUE(window->isVisible());
    } else {
        // No notification area to hide in: the window is only minimised,
        // so it can always be found again.
        EXPECT_FALSE(window->trayShown());
        EXPECT_TRUE(window->isMinimized());
    }
    EXPECT_TRUE(window->host().isListening());
}

TEST_F(QuorWindowTest, EndClosesEverythingAndEndsTheProgram) {
    RawClient c(port);
    ASSERT_TRUE(c.connected());
    QSignalSpy finished(window.get(), &brellow::Quor::finished);
    QTest::mouseClick(child<QPushButton>(*window, "EndBTN"), Qt::LeftButton);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->host().isListening());
    EXPECT_TRUE(c.closed());
}

TEST_F(QuorWindowTest, TheTrayMenusEndDoesTheSame) {
    QSignalSpy finished(window.get(), &brellow::Quor::finished);
    child<QAction>(*window, "mnu_END")->trigger();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(window->host().isListening());
}

}  // namespace
}  // namespace lobbytest
