// The shogi program on the wire, against a scripted lobby server: scripted
// sockets and a hand-moved clock, no socket and no wait.

#include <gtest/gtest.h>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

#include "diagram.h"
#include "lobbymessages.h"
#include "loginsettings.h"
#include "scriptedvarnel.h"
#include "shogirules/movemessage.h"
#include "widgetdriver.h"

namespace shogi {
namespace {

using test::boardFromDiagram;
using test::ScriptedVarnel;
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

const QString kNoCaptures = QStringLiteral(
    "Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,");

QString moveText(const Board& receiverView, const QString& hands, int moveNo) {
    return QStringLiteral("SYOUGI_MSG2:") + receiverView.positionString() + u':' + hands +
           numberText(moveNo) + u':' + numberText(moveNo) + QStringLiteral(":END");
}

// A Varnel connected to a scripted lobby server, its game login received.
class VarnelWire : public ::testing::Test {
protected:
    void SetUp() override {
        pointAtLocalServer(v);
        v.window.activated();
        ASSERT_EQ(peer.servers, QStringList{QStringLiteral("127.0.0.1")});
        peer.connectDone();
        ASSERT_TRUE(peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
        ASSERT_TRUE(v.window.state().LoginDone);
    }

    ScriptedVarnel v;
    testsupport::ScriptedMatchTransport& peer = v.peer;
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
    EXPECT_TRUE(peer.receive(expected)) << peer.pending().toStdString();
}

// A program started again in the middle of a game is given its own last
// move by the server, as it sent it (turned for the opponent): it shows its
// own position with its hands, whose turn it is and its side.
TEST_F(VarnelWire, ItsOwnLastMoveGivenBackIsShownAsItsOwn) {
    ShogiPosition mine;  // the start, with two of its own pawns moved
    for (const int x : {2, 6}) {
        mine.Ban.set({x, 5}, mine.Ban.at({x, 6}));
        mine.Ban.set({x, 6}, Cell::empty());
    }
    mine.MyHand.entries[0].count = 2;
    mine.OppHand.entries[1].count = 1;
    peer.send(lobby::ownMoveMessage(BuildMoveMsg(mine, 3)));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(v.window.position().Ban, mine.Ban);
    EXPECT_EQ(v.window.position().MyHand.entries[0].count, 2);
    EXPECT_EQ(v.window.position().OppHand.entries[1].count, 1);
    EXPECT_EQ(v.window.state().MoveNo, 3);
    EXPECT_FALSE(v.window.state().MyTurn);
    EXPECT_EQ(v.window.state().MySide, u"先手");
    EXPECT_EQ(v.window.windowTitle(), u"通信将棋：あなた=先手:第 3手");
    EXPECT_EQ(child<QLineEdit>(v.window, "Text1")->text(), u"相手は考え中");
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
    EXPECT_FALSE(v.window.match().Timer1().isActive());
}

TEST_F(VarnelWire, OnlyAnAcknowledgementGoesUnanswered) {
    child<QPlainTextEdit>(v.window, "Text2")->setPlainText(QStringLiteral("hello"));
    child<QPushButton>(v.window, "Command5")->click();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG4:hello")));
    // A chat line that merely mentions the acknowledgement is answered.
    peer.send(QStringLiteral("SYOUGI_MSG4:I got SEND_OK"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(text2(v), u"I got SEND_OK");
    EXPECT_FALSE(
        child<QPushButton>(v.window, "Command5")->isEnabled());  // still waiting for its own
    peer.send(QStringLiteral("SYOUGI_MSG3:SEND_OK"));
    ASSERT_TRUE(child<QPushButton>(v.window, "Command5")->isEnabled());
    EXPECT_FALSE(peer.pending().contains(QStringLiteral("SEND_OK")));
}

TEST_F(VarnelWire, WatcherSeesTheSecondPlayersSide) {
    peer.send(QStringLiteral("WatchData|taro|jiro|END"));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(child<QLineEdit>(v.window, "Text3", 0)->text(), u"先手：taro");
    EXPECT_EQ(child<QLineEdit>(v.window, "Text3", 1)->text(), u"後手：jiro");

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
    child<QAction>(v.window, "mnuCom", 4)->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG6:いや－参りました。")));
    child<QAction>(v.window, "mnuKaomoji", 1)->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG6:m(_ _)m　申し訳ござらぬ。")));
    EXPECT_TRUE(child<QMenu>(v.window, "mnuStrong")->isEnabled());

    child<QAction>(v.window, "mnuSrtrong", 3)->trigger();
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG6:私の強さは中上級クラスです。")));
    EXPECT_TRUE(child<QAction>(v.window, "mnuSrtrong", 3)->isChecked());
    child<QAction>(v.window, "mnuSrtrong", 3)
        ->trigger();  // clicked again: stays ticked, sends nothing
    EXPECT_TRUE(child<QAction>(v.window, "mnuSrtrong", 3)->isChecked());
    for (int i : {0, 1, 2, 4, 5})
        EXPECT_FALSE(child<QAction>(v.window, "mnuSrtrong", i)->isEnabled()) << i;
    // The ticked class again sends nothing.
    v.window.match().chooseStrength(3);
    peer.send(QStringLiteral("SYOUGI_MSG6:x"));
    EXPECT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_FALSE(peer.pending().contains(QStringLiteral("私の強さ")));
    EXPECT_EQ(v.window.match().StrengthCount(), 5);

    child<QAction>(v.window, "mnuV")->trigger();
    EXPECT_EQ(v.dialogs.texts.last(), u"Varnel for Quor　Ver1.10");
}

TEST_F(VarnelWire, CannedLinesAreSentAsWrittenWhateverTheMenuNowReads) {
    // Some desktops insert "&" into menu texts to give them access keys.
    std::vector<QAction*> items;
    for (const char* menu : {"mnuAisatsu", "mnuComment", "mnuKao"}) {
        const QList<QAction*> picks = child<QMenu>(v.window, menu)->actions();
        items.insert(items.end(), picks.begin(), picks.end());
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
    EXPECT_EQ(peer.pending().toStdString(), expected.toStdString());
}

TEST_F(VarnelWire, APeerTakenByTheListenerReplacesTheServerConnection) {
    const net::SocketHandle server = v.window.match().DataSock();
    v.window.match().startListening();
    ASSERT_EQ(text2(v), u"クライアント待受");
    peer.knock();  // another program connects
    ASSERT_EQ(text2(v), u"接続しました。");
    // The lobby server sees the old connection go ...
    EXPECT_FALSE(peer.isOpen(server));
    // ... and what is sent now reaches the new peer.
    ASSERT_NE(peer.connection(), server);
    child<QAction>(v.window, "mnuAis", 0)->trigger();
    EXPECT_EQ(peer.take(), QStringList{QStringLiteral("SYOUGI_MSG6:宜しくお願いします。")});
}

TEST(VarnelWatchdog, GivesUpAServerThatNeverAnswersAfterThreeSeconds) {
    ScriptedVarnel v;
    pointAtLocalServer(v);
    v.window.activated();
    v.peer.connectDone(10061);  // nobody listens there
    EXPECT_NE(text2(v), u"CLOSE");
    v.clock.advance(2999);
    EXPECT_NE(text2(v), u"CLOSE");
    v.clock.advance(1);
    EXPECT_EQ(text2(v), u"CLOSE");
    EXPECT_FALSE(v.window.match().Timer2().isActive());
    EXPECT_EQ(v.window.match().DataSock(), 0);
    EXPECT_TRUE(v.dialogs.texts.isEmpty());  // the refused connection shows nothing itself
}

}  // namespace
}  // namespace shogi
