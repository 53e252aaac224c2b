#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <span>
#include <vector>

#include "diagram.h"
#include "loginsettings.h"
#include "scriptedpeer.h"
#include "shogirules/movemessage.h"
#include "varneldriver.h"

namespace shogi {
namespace {

using test::boardFromDiagram;
using test::VarnelDriver;

// A free port for this test, handed to the programs through QUOR_PORT.
quint16 useFreePort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    qputenv("QUOR_PORT", QByteArray::number(port));
    return port;
}

void pointAtLocalServer(VarnelDriver& v, const QString& id = QStringLiteral("taro")) {
    ASSERT_TRUE(gamecommon::writeLoginSettings(
        v.folder.file(QStringLiteral("LOGIN.TXT")),
        {id, QStringLiteral("pw"), id + QStringLiteral("@example.jp"),
         QStringLiteral("127.0.0.1")}));
}

QString text2(VarnelDriver& v) {
    return v.window.Text2->toPlainText();
}

const QString kNoCaptures = QStringLiteral(
    "Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,");

TEST(VarnelMatch, TwoProgramsPlayOverTheNetwork) {
    useFreePort();
    VarnelDriver a;  // listens
    VarnelDriver b;  // connects to it as its server
    a.window.mnuServer->trigger();
    EXPECT_EQ(text2(a), u"クライアント待受");
    pointAtLocalServer(b);
    b.window.activated();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return a.window.state().IsConnected && b.window.state().IsConnected; }));
    EXPECT_EQ(text2(a), u"接続しました。");
    EXPECT_EQ(text2(b), u"サーバーと接続が完了しました。");
    EXPECT_TRUE(a.window.Command5->isEnabled());
    EXPECT_TRUE(a.window.mnuM->isEnabled());
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
    EXPECT_EQ(a.window.Text1->text(), u"相手は考え中");
    EXPECT_EQ(b.window.Text1->text(), u"あなたの番");
    EXPECT_TRUE(a.window.Timer1->isActive());
    EXPECT_TRUE(b.window.Timer1->isActive());
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
    EXPECT_EQ(a.window.Text1->text(), u"あなたの番");
    EXPECT_EQ(b.window.windowTitle(), u"通信将棋：あなた=後手:第 2手");

    // A chat line, colon and all; the send button waits for the acknowledgement.
    b.window.Text2->setPlainText(QStringLiteral("こんにちは:元気?"));
    b.window.Command5->click();
    EXPECT_FALSE(b.window.Command5->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(a) == u"こんにちは:元気?"; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.window.Command5->isEnabled(); }));
    EXPECT_FALSE(b.window.state().SendLock);

    // A canned line.
    a.window.mnuAis[0]->trigger();
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
    EXPECT_FALSE(a.window.Timer1->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(b) == u"あなたの負けです。"; }));
    EXPECT_EQ(b.window.state().MoveNo, 3);
    EXPECT_EQ(b.window.position().Ban.at({4, 8}), Cell::opp(Kind::Hi));  // its king is gone
    EXPECT_FALSE(b.window.Timer1->isActive());

    // A resignation is only a line for the other side.
    b.window.mnuToryou->trigger();
    EXPECT_EQ(text2(b), u"あなたの負けです。");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return text2(a) == u"投了です。あなたの勝ちです。有り難うございました。"; }));

    // The listener disconnects; the other side sees the connection go.
    a.window.mnuClose->trigger();
    EXPECT_EQ(a.window.Text1->text(), u"切断しました");
    EXPECT_EQ(text2(a), u"");
    EXPECT_TRUE(a.window.mnuServer->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(b) == u"CLOSE"; }));
    EXPECT_FALSE(b.window.state().IsConnected);
    EXPECT_FALSE(b.window.Command5->isEnabled());
    EXPECT_TRUE(b.window.mnuServer->isEnabled());
}

using testsupport::ScriptedPeer;

QString moveText(const Board& receiverView, const QString& hands, int moveNo) {
    return QStringLiteral("SYOUGI_MSG2:") + receiverView.positionString() + u':' + hands +
           numberText(moveNo) + u':' + numberText(moveNo) + QStringLiteral(":END");
}

class VarnelWire : public ::testing::Test {
protected:
    void SetUp() override {
        pointAtLocalServer(v);
        v.window.activated();
        ASSERT_TRUE(peer.accept());
        ASSERT_TRUE(peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return v.window.state().LoginDone; }));
    }

    ScriptedPeer peer;
    VarnelDriver v;
};

TEST_F(VarnelWire, MoveGoesOutAsTheWholeTurnedPosition) {
    v.move({2, 6}, {2, 5});
    const QString expected =
        QStringLiteral(
            "SYOUGI_MSG2:11,12,13,14,16,14,13,12,11,0F,17,0F,0F,0F,0F,0F,18,0F,"
            "10,10,10,10,10,10,0F,10,10,0F,0F,0F,0F,0F,0F,10,0F,0F,"
            "0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,"
            "00,00,00,00,00,00,00,00,00,0F,08,0F,0F,0F,0F,0F,07,0F,"
            "01,02,03,04,05,04,03,02,01:") +
        kNoCaptures + QStringLiteral(" 1: 1:END");
    EXPECT_TRUE(peer.receive(expected)) << peer.text().toStdString();
}

TEST_F(VarnelWire, OneDigitMoveIsShownAndAcknowledged) {
    // The initial string itself, with its one-digit items, as move 1 of the peer.
    peer.send(QStringLiteral("SYOUGI_MSG2:") + kInitialPositionString.toString() + u':' +
              kNoCaptures + QStringLiteral(" 1: 1:END"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(v.window.state().MoveNo, 1);
    EXPECT_EQ(v.window.state().MySide, u"後手");
    EXPECT_EQ(v.window.position().Ban, Board::initial());
    EXPECT_EQ(v.window.match().PositionString(), kInitialPositionString);
}

TEST_F(VarnelWire, MalformedMoveChangesNothingAndIsAcknowledged) {
    const QString before = v.window.match().PositionString();
    peer.send(QStringLiteral("SYOUGI_MSG2:0F,0F: 1: 1:END"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(v.window.match().PositionString(), before);
    EXPECT_EQ(v.window.state().MoveNo, 0);
    // Nor does a malformed watched move make this program a watcher.
    peer.send(QStringLiteral("WatchMsg|SYOUGI_MSG2:0F: 1: 1:END"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_FALSE(v.window.state().WatchMode);
    EXPECT_TRUE(v.dialogs.texts.isEmpty());
}

TEST_F(VarnelWire, ALostKingIsNoCheck) {
    // The king is gone; the corner (0, 0), where a missing king would be
    // looked for, lies on an opponent rook's line.
    const Board lost = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        "Hi2  .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
    });
    peer.send(moveText(lost, kNoCaptures, 1));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(v.window.position().Ban, lost);
    EXPECT_TRUE(v.dialogs.texts.isEmpty()) << v.dialogs.texts.join(u'|').toStdString();
}

TEST_F(VarnelWire, AMoveArrivingDuringADragEndsIt) {
    Board theirs = Board::initial();
    theirs.set({6, 3}, Cell::opp(Kind::Fu));
    theirs.set({6, 2}, Cell::empty());
    v.mouse(QEvent::MouseButtonPress, v.centreOf({2, 6}));
    v.mouse(QEvent::MouseMove, v.centreOf({2, 5}));
    ASSERT_TRUE(v.board()->isDragging());
    peer.send(moveText(theirs, kNoCaptures, 1));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_FALSE(v.board()->isDragging());
    v.mouse(QEvent::MouseMove, v.centreOf({2, 4}));
    v.mouse(QEvent::MouseButtonRelease, v.centreOf({2, 4}));
    EXPECT_EQ(v.window.position().Ban, theirs);
    EXPECT_EQ(v.board()->grab().toImage(), v.board()->backBuffer().toImage());

    // While "成りますか？" is open a move arrives: the move asked about is void.
    Board deep = Board::initial();
    deep.set({2, 3}, Cell::own(Kind::Fu));
    deep.set({2, 6}, Cell::empty());
    deep.set({2, 2}, Cell::empty());
    peer.send(moveText(deep, kNoCaptures, 3));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    Board next = deep;
    next.set({8, 3}, Cell::opp(Kind::Fu));
    next.set({8, 2}, Cell::empty());
    v.dialogs.yesNoAnswers = {true};
    v.dialogs.onShow = [&](const QString&) {
        peer.send(moveText(next, kNoCaptures, 5));
        ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    };
    v.move({2, 3}, {2, 2});
    v.dialogs.onShow = nullptr;
    EXPECT_EQ(v.dialogs.texts, QStringList{QStringLiteral("成りますか？")});
    EXPECT_EQ(v.window.position().Ban, next);
    EXPECT_EQ(v.window.state().MoveNo, 5);
    EXPECT_FALSE(peer.pending().contains(QStringLiteral("SYOUGI_MSG2")));
}

TEST_F(VarnelWire, KingTakingMoveAndEndOfGameReadTogether) {
    Board noKing = Board::initial();
    noKing.set({4, 8}, Cell::opp(Kind::Hi));
    peer.send(moveText(noKing, kNoCaptures, 1) + QStringLiteral("SYOUGI_MSG5:あなたの負けです。"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OKSYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(v.window.position().Ban, noKing);
    EXPECT_EQ(text2(v), u"あなたの負けです。");
    EXPECT_FALSE(v.window.Timer1->isActive());
}

TEST_F(VarnelWire, OnlyAnAcknowledgementGoesUnanswered) {
    v.window.Text2->setPlainText(QStringLiteral("hello"));
    v.window.Command5->click();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG4:hello")));
    // A chat line that merely mentions the acknowledgement is answered.
    peer.send(QStringLiteral("SYOUGI_MSG4:I got SEND_OK"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(text2(v), u"I got SEND_OK");
    EXPECT_FALSE(v.window.Command5->isEnabled());  // still waiting for its own
    peer.send(QStringLiteral("SYOUGI_MSG3:SEND_OK"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.window.Command5->isEnabled(); }));
    QTest::qWait(200);
    EXPECT_FALSE(peer.text().contains(QStringLiteral("SEND_OK")));
}

TEST_F(VarnelWire, WatcherSeesTheSecondPlayersSide) {
    peer.send(QStringLiteral("WatchData|taro|jiro|END"));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(v.window.Text3[0]->text(), u"先手：taro");
    EXPECT_EQ(v.window.Text3[1]->text(), u"後手：jiro");

    // Move 2 comes in the first player's frame, holding a captured pawn on
    // each side; the watcher turns it and exchanges the hands.
    Board firstView = Board::initial();
    firstView.set({2, 5}, Cell::own(Kind::Fu));
    firstView.set({2, 6}, Cell::empty());
    const QString hands = QStringLiteral(
        "Fu, 1,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 2,");
    peer.send(QStringLiteral("WatchMsg|") + moveText(firstView, hands, 2));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_TRUE(v.window.state().WatchMode);
    EXPECT_EQ(v.window.position().Ban, firstView.rotated());
    EXPECT_EQ(v.window.position().MyHand.count(Kind::Ka), 2);
    EXPECT_EQ(v.window.position().OppHand.count(Kind::Fu), 1);
    EXPECT_EQ(v.window.windowTitle(), u"通信将棋:第 2手");

    // Move 3 (the first player's) is shown as it comes.
    peer.send(QStringLiteral("WatchMsg|") + moveText(firstView, hands, 3));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(v.window.position().Ban, firstView);
    EXPECT_EQ(v.window.position().MyHand.count(Kind::Fu), 1);

    // A watcher never plays.
    v.move({3, 6}, {3, 5});
    EXPECT_EQ(v.window.position().Ban, firstView);
}

TEST_F(VarnelWire, ConversationMenusAndTheOneTimeStrength) {
    v.window.mnuCom[4]->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG6:いや－参りました。")));
    v.window.mnuKaomoji[1]->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG6:m(_ _)m　申し訳ござらぬ。")));
    EXPECT_TRUE(v.window.mnuStrong->isEnabled());

    v.window.mnuSrtrong[3]->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG6:私の強さは中上級クラスです。")));
    EXPECT_TRUE(v.window.mnuSrtrong[3]->isChecked());
    v.window.mnuSrtrong[3]->trigger();  // clicked again: stays ticked, sends nothing
    EXPECT_TRUE(v.window.mnuSrtrong[3]->isChecked());
    for (int i : {0, 1, 2, 4, 5})
        EXPECT_FALSE(v.window.mnuSrtrong[i]->isEnabled()) << i;
    // The ticked class again sends nothing.
    v.window.match().chooseStrength(3);
    peer.send(QStringLiteral("SYOUGI_MSG6:x"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_FALSE(peer.text().contains(QStringLiteral("私の強さ")));
    EXPECT_EQ(v.window.match().StrengthCount(), 5);

    v.window.mnuV->trigger();
    EXPECT_EQ(v.dialogs.texts.last(), u"Varnel for Quor　Ver1.10");
}

TEST_F(VarnelWire, CannedLinesAreSentAsWrittenWhateverTheMenuNowReads) {
    // Some desktops insert "&" into menu texts to give them access keys.
    std::vector<QAction*> items;
    for (const auto& menu :
         {std::span<QAction* const>(v.window.mnuAis), std::span<QAction* const>(v.window.mnuCom),
          std::span<QAction* const>(v.window.mnuKaomoji)}) {
        items.insert(items.end(), menu.begin(), menu.end());
    }
    for (QAction* item : items) {
        item->setText(u'&' + item->text());
        item->trigger();
    }
    const QStringList lines = {
        QStringLiteral("宜しくお願いします。"),
        QStringLiteral("ありがとうございました。"),
        QStringLiteral("それでは、始めます。"),
        QStringLiteral("長考中。しばらく考えさせてください。"),
        QStringLiteral("ちょっと（10分くらい？）中断します。"),
        QStringLiteral("それはいい手ですね。"),
        QStringLiteral("強いですね。"),
        QStringLiteral("いや－参りました。"),
        QStringLiteral("(^_^) わ－い"),
        QStringLiteral("m(_ _)m　申し訳ござらぬ。"),
        QStringLiteral("(T_T)　そんな－"),
        QStringLiteral("(>_<)　アイタ！"),
        QStringLiteral("(^_^)v　イエ－イ"),
        QStringLiteral("<(_ _)>　参り申した。"),
        QStringLiteral("(＾_^；　あの－・・・"),
    };
    QString expected;
    for (const QString& line : lines)
        expected += QStringLiteral("SYOUGI_MSG6:") + line;
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer.pending(0).size() >= expected.size(); }));
    EXPECT_EQ(peer.text().toStdString(), expected.toStdString());
}

TEST_F(VarnelWire, APeerTakenByTheListenerReplacesTheServerConnection) {
    // The listener gets a port of its own beside the scripted lobby server.
    useFreePort();
    v.window.match().startListening();
    ASSERT_EQ(text2(v), u"クライアント待受");
    VarnelDriver other;
    pointAtLocalServer(other, QStringLiteral("jiro"));
    other.window.activated();
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(v) == u"接続しました。"; }));
    // The lobby server sees the old connection go ...
    EXPECT_TRUE(peer.closedByPeer());
    // ... and what is sent now reaches the new peer.
    v.window.mnuAis[0]->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return text2(other) == u"宜しくお願いします。"; }));
}

TEST(VarnelWatchdog, GivesUpAServerThatNeverAnswersAfterThreeSeconds) {
    useFreePort();  // nobody listens there
    VarnelDriver v;
    pointAtLocalServer(v);
    v.window.activated();
    EXPECT_NE(text2(v), u"CLOSE");
    ASSERT_TRUE(QTest::qWaitFor([&] { return text2(v) == u"CLOSE"; }, 4500));
    EXPECT_FALSE(v.window.Timer2->isActive());
    EXPECT_EQ(v.window.match().DataSock(), 0);
    EXPECT_TRUE(v.dialogs.texts.isEmpty());  // the refused connection shows nothing itself
}

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
// message box of ours only once that box is a while gone.
void letTheBoxEchoPass() {
    QTest::qWait(600);
}

TEST(VarnelActivation, SwitchingApplicationsStartsNoConnection) {
    useFreePort();
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
    v.window.mnuClose->trigger();
    focusToAnotherApplication();
    focusBackTo(v.window);
    EXPECT_EQ(v.window.match().DataSock(), 0);
    EXPECT_FALSE(v.window.mnuClose->isEnabled());
    EXPECT_EQ(v.window.Text1->text(), u"切断しました");
}

TEST(VarnelActivation, FocusBackFromAWindowOfOursConnects) {
    useFreePort();
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
        v.window.mnuClose->trigger();
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
    useFreePort();  // nobody listens there
    VarnelDriver v;
    pointAtLocalServer(v);
    v.window.activated();
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.window.match().DataSock() == 0; }, 2000));
    ScriptedPeer peer;  // the server is up now, on another port
    QTest::qWait(600);
    v.window.activated();
    ASSERT_TRUE(peer.accept());
    EXPECT_TRUE(peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
}

TEST(VarnelActivation, MissingLoginFileAndRepeatedActivations) {
    useFreePort();
    VarnelDriver v;
    v.window.activated();
    EXPECT_EQ(v.dialogs.texts.count(QStringLiteral("File Error")), 1);
    // The activation that comes back from closing that box is not a new one.
    v.window.activated();
    EXPECT_EQ(v.dialogs.texts.count(QStringLiteral("File Error")), 1);

    ScriptedPeer peer;
    pointAtLocalServer(v);
    QTest::qWait(600);
    v.window.activated();
    ASSERT_TRUE(peer.accept());
    const int socket = v.window.match().DataSock();
    v.window.activated();  // connected already: nothing new starts
    EXPECT_EQ(v.window.match().DataSock(), socket);
}

}  // namespace
}  // namespace shogi
