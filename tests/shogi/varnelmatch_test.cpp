// Varnel on real loopback sockets: two programs playing each other, and the
// window activations that start (or do not start) a connection. What the
// flow does with each message is tested on scripted sockets in
// varnelwire_test.cpp.

#include <gtest/gtest.h>
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "diagram.h"
#include "loginsettings.h"
#include "refusingport.h"
#include "scriptedpeer.h"
#include "varneldriver.h"
#include "widgetdriver.h"

namespace shogi {
namespace {

using test::boardFromDiagram;
using test::VarnelDriver;
using testsupport::child;

void pointAtLocalServer(VarnelDriver& v) {
    ASSERT_TRUE(gamecommon::writeLoginSettings(
        v.folder.file(QStringLiteral("LOGIN.TXT")),
        {QStringLiteral("taro"), QStringLiteral("pw"), QStringLiteral("taro@example.jp"),
         QStringLiteral("127.0.0.1")}));
}

QString text2(VarnelDriver& v) {
    return child<QPlainTextEdit>(v.window, "Text2")->toPlainText();
}

TEST(VarnelMatch, TwoProgramsPlayOverTheNetwork) {
    qputenv("QUOR_PORT", "0");  // the listener takes any free port
    VarnelDriver a;             // listens
    VarnelDriver b;             // connects to it as its server
    child<QAction>(a.window, "mnuServer")->trigger();
    EXPECT_EQ(text2(a), u"クライアント待受");
    ASSERT_NE(a.window.match().listenPort(), 0);
    qputenv("QUOR_PORT", QByteArray::number(a.window.match().listenPort()));
    pointAtLocalServer(b);
    b.window.activated();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return a.window.state().IsConnected && b.window.state().IsConnected; }));
    EXPECT_EQ(text2(a), u"接続しました。");
    EXPECT_EQ(text2(b), u"サーバーと接続が完了しました。");
    EXPECT_TRUE(child<QPushButton>(a.window, "Command5")->isEnabled());
    EXPECT_TRUE(child<QMenu>(a.window, "mnuM")->isEnabled());
    // The login watchdog gives up server connections only: the peer that
    // connected to the listener stays.
    for (int i = 0; i < 3; ++i)
        a.window.match().watchdogTick();
    EXPECT_TRUE(a.window.state().IsConnected);
    EXPECT_NE(text2(a), u"CLOSE");

    // Move 1 by the listener: it becomes the first player.
    a.move({2, 6}, {2, 5});
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.window.state().MoveNo == 1; }));
    EXPECT_EQ(b.window.position().Ban.at({6, 3}), Cell::opp(Kind::Fu));
    EXPECT_TRUE(b.window.position().Ban.at({6, 2}).isEmpty());
    EXPECT_EQ(a.window.state().MySide, u"先手");
    EXPECT_EQ(b.window.state().MySide, u"後手");
    EXPECT_EQ(a.window.windowTitle(), u"通信将棋：あなた=先手:第 1手");
    EXPECT_EQ(b.window.windowTitle(), u"通信将棋：あなた=後手:第 1手");
    EXPECT_EQ(child<QLineEdit>(a.window, "Text1")->text(), u"相手は考え中");
    EXPECT_EQ(child<QLineEdit>(b.window, "Text1")->text(), u"あなたの番");
    EXPECT_TRUE(a.window.match().Timer1().isActive());
    EXPECT_TRUE(b.window.match().Timer1().isActive());
    a.window.match().clockTick();
    b.window.match().clockTick();
    b.window.match().clockTick();
    EXPECT_EQ(a.window.state().Clocks, (std::array<qint32, 2>{1, 0}));  // the opponent's
    EXPECT_EQ(b.window.state().Clocks, (std::array<qint32, 2>{0, 2}));  // its own

    // Out of turn nothing moves.
    a.move({3, 6}, {3, 5});
    EXPECT_EQ(a.window.position().Ban.at({3, 6}), Cell::own(Kind::Fu));

    // Move 2 arrives turned to the listener's view.
    b.move({2, 6}, {2, 5});
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.window.state().MoveNo == 2; }));
    EXPECT_EQ(a.window.position().Ban.at({6, 3}), Cell::opp(Kind::Fu));
    EXPECT_EQ(child<QLineEdit>(a.window, "Text1")->text(), u"あなたの番");
    EXPECT_EQ(b.window.windowTitle(), u"通信将棋：あなた=後手:第 2手");

    // A chat line, colon and all; the send button waits for the acknowledgement.
    child<QPlainTextEdit>(b.window, "Text2")->setPlainText(QStringLiteral("こんにちは:元気?"));
    child<QPushButton>(b.window, "Command5")->click();
    EXPECT_FALSE(child<QPushButton>(b.window, "Command5")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(a) == u"こんにちは:元気?"; }));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return child<QPushButton>(b.window, "Command5")->isEnabled(); }));
    EXPECT_FALSE(b.window.state().SendLock);

    // A canned line.
    child<QAction>(a.window, "mnuAis", 0)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(b) == u"宜しくお願いします。"; }));

    // The listener takes the king.
    ASSERT_TRUE(a.window.showPosition(boardFromDiagram({
                                                           " .   .   .   .  Ou2  .   .   .   . ",
                                                           " .   .   .   .   .   .   .   .   . ",
                                                           " .   .   .   .   .   .   .   .   . ",
                                                           " .   .   .   .  Hi1  .   .   .   . ",
                                                           " .   .   .   .   .   .   .   .   . ",
                                                           " .   .   .   .   .   .   .   .   . ",
                                                           " .   .   .   .   .   .   .   .   . ",
                                                           " .   .   .   .   .   .   .   .   . ",
                                                           " .   .   .   .  Gy1  .   .   .   . ",
                                                       })
                                          .positionString()));
    a.dialogs.yesNoAnswers = {false};
    a.move({4, 3}, {4, 0});
    EXPECT_EQ(text2(a), u"あなたの勝ちです。");
    EXPECT_FALSE(a.window.match().Timer1().isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(b) == u"あなたの負けです。"; }));
    EXPECT_EQ(b.window.state().MoveNo, 3);
    EXPECT_EQ(b.window.position().Ban.at({4, 8}), Cell::opp(Kind::Hi));  // its king is gone
    EXPECT_FALSE(b.window.match().Timer1().isActive());

    // A resignation is only a line for the other side.
    child<QAction>(b.window, "mnuToryou")->trigger();
    EXPECT_EQ(text2(b), u"あなたの負けです。");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return text2(a) == u"投了です。あなたの勝ちです。有り難うございました。"; }));

    // The listener disconnects; the other side sees the connection go.
    child<QAction>(a.window, "mnuClose")->trigger();
    EXPECT_EQ(child<QLineEdit>(a.window, "Text1")->text(), u"切断しました");
    EXPECT_EQ(text2(a), u"");
    EXPECT_TRUE(child<QAction>(a.window, "mnuServer")->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(b) == u"CLOSE"; }));
    EXPECT_FALSE(b.window.state().IsConnected);
    EXPECT_FALSE(child<QPushButton>(b.window, "Command5")->isEnabled());
    EXPECT_TRUE(child<QAction>(b.window, "mnuServer")->isEnabled());
}

using testsupport::ScriptedPeer;

// The program's windows as the platform activates them: another application
// taking the focus leaves the program without an active window; coming back
// gives the activation to the window clicked.
void focusToAnotherApplication() {
    QApplication::setActiveWindow(nullptr);
}
void focusBackTo(QWidget& window) {
    QApplication::setActiveWindow(&window);
}

// A window activation gets past the rule that ignores the one following a
// message box of ours only once that box is half a second gone: the player
// coming back after a while is what is played here, so the time really
// passes.
void letTheBoxEchoPass() {
    QTest::qWait(600);
}

TEST(VarnelActivation, SwitchingApplicationsStartsNoConnection) {
    VarnelDriver v;         // no "LOGIN.TXT" yet
    focusBackTo(v.window);  // the first display
    EXPECT_EQ(v.dialogs.texts.count(QStringLiteral("File Error")), 1);
    letTheBoxEchoPass();
    focusToAnotherApplication();
    focusBackTo(v.window);
    EXPECT_EQ(v.dialogs.texts.count(QStringLiteral("File Error")), 1);

    // A connection the player ended stays ended.
    ScriptedPeer peer;
    pointAtLocalServer(v);
    v.window.activated();
    ASSERT_TRUE(peer.accept());
    child<QAction>(v.window, "mnuClose")->trigger();
    focusToAnotherApplication();
    focusBackTo(v.window);
    EXPECT_EQ(v.window.match().DataSock(), 0);
    EXPECT_FALSE(child<QAction>(v.window, "mnuClose")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(v.window, "Text1")->text(), u"切断しました");
}

TEST(VarnelActivation, FocusBackFromAWindowOfOursConnects) {
    VarnelDriver v;
    focusBackTo(v.window);
    pointAtLocalServer(v);
    // Straight from a dialog; and from a dialog the player returned to from
    // another application.
    for (const bool viaAnotherApplication : {false, true}) {
        letTheBoxEchoPass();
        ScriptedPeer peer;
        if (viaAnotherApplication) focusToAnotherApplication();
        QDialog dialog(&v.window);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.isActiveWindow(); }));
        dialog.close();
        focusBackTo(v.window);
        ASSERT_TRUE(peer.accept()) << viaAnotherApplication;
        EXPECT_TRUE(peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
        child<QAction>(v.window, "mnuClose")->trigger();
    }
}

TEST(VarnelActivation, AMouseMoveOverTheBoardActivatesTheWindow) {
    VarnelDriver v;
    QWidget elsewhere;  // another window of the program has the focus
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return elsewhere.isActiveWindow(); }));
    const QPoint at = v.centreOf({4, 4});
    QMouseEvent move(QEvent::MouseMove, at, v.board()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(v.board(), &move);
    EXPECT_TRUE(QTest::qWaitFor([&] { return v.window.isActiveWindow(); }));
}

TEST(VarnelActivation, AFailedAttemptDoesNotBlockTheNextOne) {
    testsupport::RefusingPort nobody;
    qputenv("QUOR_PORT", QByteArray::number(nobody.port()));
    VarnelDriver v;
    pointAtLocalServer(v);
    v.window.activated();
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.window.match().DataSock() == 0; }, 2000));
    ScriptedPeer peer;  // the server is up now, on another port
    letTheBoxEchoPass();
    v.window.activated();
    ASSERT_TRUE(peer.accept());
    EXPECT_TRUE(peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
}

TEST(VarnelActivation, MissingLoginFileAndRepeatedActivations) {
    VarnelDriver v;
    v.window.activated();
    EXPECT_EQ(v.dialogs.texts.count(QStringLiteral("File Error")), 1);
    // The activation that comes back from closing that box is not a new one.
    v.window.activated();
    EXPECT_EQ(v.dialogs.texts.count(QStringLiteral("File Error")), 1);

    ScriptedPeer peer;
    pointAtLocalServer(v);
    letTheBoxEchoPass();
    v.window.activated();
    ASSERT_TRUE(peer.accept());
    const int socket = v.window.match().DataSock();
    v.window.activated();  // connected already: nothing new starts
    EXPECT_EQ(v.window.match().DataSock(), socket);
}

}  // namespace
}  // namespace shogi
