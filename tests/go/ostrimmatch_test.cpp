// The go program on the wire, against a scripted lobby server: scripted
// sockets and a hand-moved clock, no socket and no wait.

#include <gtest/gtest.h>
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "filedialogcontrols.h"
#include "gorules/movemessage.h"
#include "listclicks.h"
#include "lobbymessages.h"
#include "loginsettings.h"
#include "ostrimdriver.h"
#include "recordfiledialog.h"
#include "replaywindow.h"
#include "scriptedmatchtransport.h"
#include "textfile.h"
#include "widgetdriver.h"

namespace go {
namespace {

using testsupport::child;
using testsupport::fileList;

const QString kAck = QStringLiteral("SYOUGI_MSG3:SEND_OK");

// A move message as the other program sends it: `stones` are (point of the
// receiver, digit) pairs; every other point is empty.
QString moveFrom(std::initializer_list<std::pair<int, char>> stones, int moveNo, int captured) {
    QString points(kPointCount, u'2');
    // The sender writes from its point 360 down: the receiver's point k is
    // character k.
    for (const auto& [k, digit] : stones)
        points[k] = QChar::fromLatin1(digit);
    return QStringLiteral("SYOUGI_MSG2:") + points + QStringLiteral(": ") +
           QString::number(moveNo) + u':' + QString::number(captured);
}

// An Ostrim connected to a scripted lobby server, its game login received.
class OstrimWire : public ::testing::Test,
                   protected testsupport::ScriptedNetwork,
                   protected test::OstrimDriver {
protected:
    OstrimWire() : OstrimDriver(&peer, &clock) {}

    void SetUp() override {
        // The lobby client's file, whatever the case of its name.
        ASSERT_TRUE(gamecommon::writeLoginSettings(
            folder.file(QStringLiteral("LogIn.txt")),
            {QStringLiteral("taro"), QStringLiteral("pw"), QStringLiteral("taro@example.jp"),
             QStringLiteral("127.0.0.1")}));
        window.activated();
        ASSERT_EQ(peer.servers, QStringList{QStringLiteral("127.0.0.1")})
            << dialogs.shown.join(u'\n').toStdString();
        peer.connectDone();
        ASSERT_TRUE(peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
        ASSERT_TRUE(window.state().IsConnected);
    }

    QString text2() const { return child<QPlainTextEdit>(window, "Text2")->toPlainText(); }
};

TEST_F(OstrimWire, TheFirstStoneGoesOutMarkedAndNumbered) {
    place({3, 15});  // point 288
    const QString sent = peer.pending();
    const QStringList fields = sent.split(u':');
    ASSERT_EQ(fields.size(), 4) << sent.toStdString();
    EXPECT_EQ(fields[0], u"SYOUGI_MSG2");
    ASSERT_EQ(fields[1].size(), kPointCount);
    // Point 360 first: point 288 is the 73rd character.
    EXPECT_EQ(fields[1][72], u'9');
    EXPECT_EQ(fields[1].count(u'2'), kPointCount - 1);
    EXPECT_EQ(fields[2], u" 1");
    EXPECT_EQ(fields[3], u"0");
    EXPECT_EQ(window.state().MySide, u"先手");
    EXPECT_FALSE(window.state().MyTurn);
    EXPECT_EQ(child<QLineEdit>(window, "Text1")->text(), u"相手は考え中");
    EXPECT_EQ(window.windowTitle(), u"通信将棋：あなた=先手:第 1手");
    EXPECT_TRUE(window.match().Timer1().isActive());
}

TEST_F(OstrimWire, ReceivingTheFirstMoveMakesThisPlayerWhite) {
    peer.send(moveFrom({{72, '9'}}, 1, 0));
    ASSERT_TRUE(peer.receive(kAck));
    EXPECT_EQ(window.position().ban.at(15, 3), Stone::Black);
    EXPECT_EQ(window.position().LastMove, (Point{15, 3}));
    EXPECT_EQ(window.position().ownColour, Stone::White);
    EXPECT_EQ(window.state().MySide, u"後手");
    EXPECT_EQ(window.windowTitle(), u"通信囲碁：あなた=後手:第 1手");
    EXPECT_EQ(child<QLineEdit>(window, "Text1")->text(), u"あなたの番");
    EXPECT_TRUE(window.state().MyTurn);
    EXPECT_TRUE(window.match().Timer1().isActive());

    // The answer is white, and the opponent's count arrives with his moves.
    place({3, 3});
    EXPECT_EQ(window.position().ban.at(3, 3), Stone::White);
    const QString answer = peer.pending();
    EXPECT_EQ(answer.split(u':').value(1).at(kPointCount - 1 - Point{3, 3}.number()), u'8');
    peer.send(moveFrom({{72, '0'}, {Point{3, 3}.number(), '1'}, {100, '9'}}, 3, 2));
    ASSERT_TRUE(peer.receive(kAck));
    EXPECT_EQ(window.position().OppCaptured, 2);
    EXPECT_EQ(window.windowTitle(), u"通信囲碁：あなた=後手:第 3手");
}

// A program started again in the middle of a game is given its own last
// move by the server, as it sent it (turned for the opponent): it shows its
// own board without the cross (that marks the opponent's stone), its count,
// its colour, whose turn it is and its side.
TEST_F(OstrimWire, ItsOwnLastMoveGivenBackIsShownAsItsOwn) {
    Ban mine;
    mine.set({3, 3}, Stone::White);
    mine.set({4, 4}, Stone::White);
    mine.set({15, 15}, Stone::Black);
    peer.send(lobby::ownMoveMessage(BuildMoveMsg(mine, {4, 4}, 4, 1)));
    ASSERT_TRUE(peer.receive(kAck));
    EXPECT_EQ(window.position().ban, mine);
    EXPECT_FALSE(window.position().LastMove.has_value());
    EXPECT_EQ(window.position().MyCaptured, 1);
    EXPECT_EQ(window.position().ownColour, Stone::White);
    EXPECT_EQ(window.state().MoveNo, 4);
    EXPECT_FALSE(window.state().MyTurn);
    EXPECT_EQ(window.state().MySide, u"後手");
    EXPECT_EQ(child<QLineEdit>(window, "Text1")->text(), u"相手は考え中");
}

TEST_F(OstrimWire, AWatcherSeesTheFirstMoversViewAndTheirCounts) {
    peer.send(QStringLiteral("WatchData|taro|hana|END"));
    // Move 3 comes from the first mover, turned for his opponent: the watcher
    // turns it back. Its count is the first mover's.
    peer.send(QStringLiteral("WatchMsg|") + moveFrom({{0, '9'}, {360, '1'}}, 3, 4));
    ASSERT_EQ(window.state().MoveNo, 3);
    EXPECT_TRUE(window.state().WatchMode);
    EXPECT_EQ(window.position().ban.at(18, 18), Stone::Black);
    EXPECT_EQ(window.position().ban.at(0, 0), Stone::White);
    EXPECT_EQ(window.position().MyCaptured, 4);
    EXPECT_EQ(window.windowTitle(), u"通信将棋:第 3手");
    EXPECT_EQ(child<QLineEdit>(window, "Text3", 0)->text(), u"先手：taro　　後手：hana");
    // Move 4 comes from the second mover, already in the first mover's view.
    peer.send(QStringLiteral("WatchMsg|") + moveFrom({{360, '0'}, {0, '8'}}, 4, 1));
    ASSERT_EQ(window.state().MoveNo, 4);
    EXPECT_EQ(window.position().ban.at(18, 18), Stone::Black);
    EXPECT_EQ(window.position().ban.at(0, 0), Stone::White);
    EXPECT_EQ(window.position().LastMove, (Point{0, 0}));
    EXPECT_EQ(window.position().MyCaptured, 4);
    EXPECT_EQ(window.position().OppCaptured, 1);
    EXPECT_EQ(window.position().ownColour, Stone::Black);
    // The watcher cannot place a stone.
    place({9, 9});
    EXPECT_EQ(window.position().ban.at(9, 9), Stone::Empty);
}

// The go window has one player box for both players: the watcher's names
// go there, two ideographic spaces apart, and the second box keeps its text.
TEST_F(OstrimWire, AWatcherShowsBothPlayersInTheOnePlayerBox) {
    peer.send(QStringLiteral("WatchData|太郎|hana|END"));
    ASSERT_TRUE(peer.receive(kAck));
    peer.send(QStringLiteral("WatchMsg|") + moveFrom({{0, '9'}}, 1, 0));
    ASSERT_TRUE(peer.receive(kAck));
    EXPECT_EQ(child<QLineEdit>(window, "Text3", 0)->text(),
              QStringLiteral("先手：太郎\u3000\u3000後手：hana"));
    EXPECT_EQ(child<QLineEdit>(window, "Text3", 1)->text(), u"");
    EXPECT_EQ(window.match().firstPlayer(), u"太郎");
    EXPECT_EQ(window.match().secondPlayer(), u"hana");
    EXPECT_TRUE(window.state().WatchMode);
}

TEST_F(OstrimWire, ANoticeShowsItsFirstFieldWithDesuInItsBox) {
    peer.send(QStringLiteral("SYOUGI_MSG7:メンテナンス:more"));
    ASSERT_TRUE(peer.receive(kAck));
    EXPECT_EQ(text2(), u"メンテナンス");
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("Ostrim|メンテナンスです。")});
}

TEST_F(OstrimWire, ResignationIsAnEndOfGameMessage) {
    peer.send(moveFrom({{72, '9'}}, 1, 0));
    ASSERT_TRUE(peer.receive(kAck));
    child<QAction>(window, "mnuToryou")->trigger();
    ASSERT_TRUE(peer.receive(
        QStringLiteral("SYOUGI_MSG5:投了です。あなたの勝ちです。有り難うございました。")));
    EXPECT_EQ(text2(), u"あなたの負けです。");
    EXPECT_FALSE(window.match().Timer1().isActive());
}

// The go records: own moves with two digits a point, received ones as they
// came with the cross's 9; both replay on the board, in "ChessAll.chs" and
// ".chs" files.
TEST_F(OstrimWire, RecordsAreKeptInTheGoFilesAndReplay) {
    child<QAction>(window, "mnuVSave")->trigger();
    place({3, 15});
    ASSERT_TRUE(peer.receive(QStringLiteral(":0")));
    const QString received = moveFrom({{Point{15, 3}.number(), '0'}, {100, '9'}}, 2, 0);
    peer.send(received);
    ASSERT_TRUE(peer.receive(kAck));
    const QStringList lines = platform::readTextLines(folder.file(QStringLiteral("ChessAll.chs")))
                                  .value_or(QStringList{});
    ASSERT_EQ(lines.size(), 2);
    const QStringList own = lines[0].split(u',');
    ASSERT_EQ(own.size(), kPointCount);
    EXPECT_EQ(own[(Point{3, 15}).number()], u"00");
    EXPECT_EQ(own.count(QStringLiteral("02")), kPointCount - 1);
    EXPECT_EQ(lines[1], window.position().positionString);
    EXPECT_EQ(lines[1].split(u',').value(100), u"9");

    dialogs.textAnswers = {QStringLiteral("game1")};
    child<QAction>(window, "mnuSave")->trigger();
    ASSERT_EQ(platform::readTextLines(folder.file(QStringLiteral("game1.chs"))), lines);

    child<QAction>(window, "mnuClose")->trigger();
    child<QAction>(window, "mnuInit")->trigger();
    testsupport::whenDialogOpens<gamecommon::RecordFileDialog>([](gamecommon::RecordFileDialog& d) {
        EXPECT_EQ(child<QRadioButton>(d, "Option2")->text(), u".CHS");
        ASSERT_TRUE(testsupport::clickItem(fileList(d), QStringLiteral("game1.chs")));
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
    });
    child<QAction>(window, "mnuPlay")->trigger();
    auto* replay = window.findChild<gamecommon::ReplayWindow*>();
    ASSERT_NE(replay, nullptr);
    EXPECT_EQ(window.position().ban.at(3, 15), Stone::Black);
    QTest::mouseClick(child<QPushButton>(*replay, "Command3"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(*replay, "Label1")->text(), u"2");
    EXPECT_EQ(window.position().ban.at(Point::fromNumber(100)), Stone::Black);
    EXPECT_EQ(window.position().LastMove, std::optional<Point>(Point::fromNumber(100)));
    replay->close();
}

TEST_F(OstrimWire, MalformedMovesChangeNothingAndThereIsNoWatchdog) {
    const Ban before = window.position().ban;
    for (const QString& bad :
         {QStringLiteral("SYOUGI_MSG2:") + QString(361, u'3') + ": 1:0",
          moveFrom({{5, '9'}, {6, '8'}}, 1, 0), moveFrom({}, 0, 0), moveFrom({{5, '7'}}, 1, 0)}) {
        peer.send(bad);
        ASSERT_TRUE(peer.receive(kAck));
    }
    EXPECT_EQ(window.position().ban, before);
    EXPECT_EQ(window.state().MoveNo, 0);
    EXPECT_EQ(window.position().ownColour, Stone::Black);
    EXPECT_FALSE(window.match().Timer2().isActive());
    for (int i = 0; i < 5; ++i)
        window.match().watchdogTick();
    clock.advance(5000);
    EXPECT_TRUE(window.state().IsConnected);
}

}  // namespace
}  // namespace go
