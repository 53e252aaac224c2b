// Game records in Varnel: what the match flow records, and the record menu
// items on the real board. The connection is scripted: no socket is opened.

#include <gtest/gtest.h>

#include <QAction>
#include <QRegularExpression>
#include <QTest>

#include "filedialogcontrols.h"
#include "listclicks.h"
#include "loginsettings.h"
#include "recordfiledialog.h"
#include "replaywindow.h"
#include "scriptedvarnel.h"
#include "setupfiles.h"
#include "shogirules/movemessage.h"
#include "textfile.h"
#include "widgetdriver.h"

namespace shogi {
namespace {

using test::VarnelDriver;
using testsupport::child;
using testsupport::fileList;

const QString kNoCaptures = QStringLiteral(
    "Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,");

QString moveText(const QString& board, int moveNo) {
    return QStringLiteral("SYOUGI_MSG2:") + board + u':' + kNoCaptures + numberText(moveNo) + u':' +
           numberText(moveNo) + QStringLiteral(":END");
}

// A position string with one-digit items where they fit, as other programs
// may send it ("0F" -> "F").
QString oneDigitItems(const QString& positionString) {
    QString text = positionString;
    return text.replace(QRegularExpression(QStringLiteral("(^|,)0([0-9A-F])")),
                        QStringLiteral("\\1\\2"));
}

QStringList recordLines(VarnelDriver& v) {
    return platform::readTextLines(v.folder.file(QStringLiteral("ShougiAll.sho")))
        .value_or(QStringList{});
}

// One Varnel logged in to a scripted server, recording.
class VarnelRecording : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gamecommon::writeLoginSettings(
            v.folder.file(QStringLiteral("LOGIN.TXT")),
            {QStringLiteral("taro"), QStringLiteral("pw"), QStringLiteral("taro@example.jp"),
             QStringLiteral("127.0.0.1")}));
        v.window.activated();
        peer.connectDone();
        ASSERT_TRUE(peer.receive(QStringLiteral("GameLogin|taro|pw|taro@example.jp|END")));
        ASSERT_TRUE(v.window.state().LoginDone);
        child<QAction>(v.window, "mnuVSave")->trigger();
        ASSERT_TRUE(child<QAction>(v.window, "mnuVSave")->isChecked());
        ASSERT_FALSE(child<QAction>(v.window, "mnuVSave")->isEnabled());
    }

    test::ScriptedVarnel v;
    testsupport::ScriptedMatchTransport& peer = v.peer;
};

TEST_F(VarnelRecording, OwnAndReceivedPositionsAlternateInTheOwnFrame) {
    // Both sides push pawns; the board below is what this player sees.
    Board seen = Board::initial();
    QStringList expected;
    for (int i = 0; i < 3; ++i) {
        v.move({2 + i, 6}, {2 + i, 5});
        ASSERT_TRUE(peer.receive(QStringLiteral(":END")));
        seen.set({2 + i, 5}, Cell::own(Kind::Fu));
        seen.set({2 + i, 6}, Cell::empty());
        expected << seen.positionString();

        seen.set({6 - i, 3}, Cell::opp(Kind::Fu));
        seen.set({6 - i, 2}, Cell::empty());
        const QString received = oneDigitItems(seen.positionString());
        peer.send(moveText(received, 2 * i + 2));
        ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
        expected << received;  // as it came
    }
    EXPECT_EQ(recordLines(v), expected);
    EXPECT_EQ(setuptest::fileBytes(v.folder.file(QStringLiteral("ShougiAll.sho"))),
              expected.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
    EXPECT_TRUE(v.dialogs.texts.isEmpty()) << v.dialogs.texts.join(u'|').toStdString();
}

TEST_F(VarnelRecording, AWatchedGameIsRecordedAsShown) {
    Board second = Board::initial();  // move 2 in the first player's frame
    second.set({2, 5}, Cell::own(Kind::Fu));
    second.set({2, 6}, Cell::empty());
    Board third = second;
    third.set({6, 5}, Cell::own(Kind::Fu));
    third.set({6, 6}, Cell::empty());
    peer.send(QStringLiteral("WatchMsg|") + moveText(second.positionString(), 2));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    peer.send(QStringLiteral("WatchMsg|") + moveText(third.positionString(), 3));
    ASSERT_TRUE(peer.receive(QStringLiteral("SYOUGI_MSG3:SEND_OK")));
    EXPECT_EQ(recordLines(v),
              (QStringList{second.rotated().positionString(), third.positionString()}));
}

TEST_F(VarnelRecording, SavedAndReplayedOnTheBoardOnceDisconnected) {
    v.move({2, 6}, {2, 5});
    Board after = Board::initial();
    after.set({2, 5}, Cell::own(Kind::Fu));
    after.set({2, 6}, Cell::empty());
    ASSERT_TRUE(peer.receive(QStringLiteral(":END")));
    v.dialogs.textAnswers = {QStringLiteral("game1")};
    child<QAction>(v.window, "mnuSave")->trigger();
    EXPECT_EQ(setuptest::fileBytes(v.folder.file(QStringLiteral("game1.sho"))),
              after.positionString().toLatin1() + "\r\n");

    child<QAction>(v.window, "mnuPlay")->trigger();
    EXPECT_EQ(v.dialogs.texts.last(), u"通信を切断しなければ実行できません。");
    child<QAction>(v.window, "mnuClose")->trigger();

    // A long record with a damaged line, replayed to its end.
    QStringList lines;
    Board walk;
    for (int i = 0; i < 500; ++i) {
        walk.set({i % 9, (i / 9) % 9}, Cell::own(static_cast<Kind>(i % 15)));
        lines << (i == 249 ? QStringLiteral("0F,0F") : walk.positionString());
    }
    ASSERT_TRUE(platform::writeTextLines(v.folder.file(QStringLiteral("long.sho")), lines));
    testsupport::whenDialogOpens<gamecommon::RecordFileDialog>([](gamecommon::RecordFileDialog& d) {
        ASSERT_TRUE(testsupport::clickItem(fileList(d), QStringLiteral("long.sho")));
        QTest::mouseClick(child<QPushButton>(d, "Command2"), Qt::LeftButton);
    });
    v.dialogs.texts.clear();
    child<QAction>(v.window, "mnuPlay")->trigger();
    gamecommon::ReplayWindow* replay = v.window.findChild<gamecommon::ReplayWindow*>();
    ASSERT_NE(replay, nullptr);
    EXPECT_TRUE(v.dialogs.texts.contains(
        replay->exFile() + QStringLiteral("の250行目は局面ではないため、飛ばします。")))
        << v.dialogs.texts.join(u'|').toStdString();
    Board first;
    ASSERT_FALSE(first.load(lines[0]));
    EXPECT_EQ(v.window.position().Ban, first);
    for (int i = 0; i < 520; ++i)
        QTest::mouseClick(child<QPushButton>(*replay, "Command3"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>(*replay, "Label1")->text(), u"500");
    replay->close();
    Board last;
    ASSERT_FALSE(last.load(lines[499]));
    EXPECT_EQ(v.window.position().Ban, last);
}

TEST(VarnelRecordBoxes, ClosingOneIsNoNewActivation) {
    // Without "LOGIN.TXT" an activation that connects says "File Error".
    test::ScriptedVarnel v;
    v.dialogs.textAnswers = {QStringLiteral("game1")};
    child<QAction>(v.window, "mnuSave")->trigger();
    v.window.activated();
    EXPECT_EQ(v.dialogs.texts.size(), 2);
    EXPECT_FALSE(v.dialogs.texts.contains(QStringLiteral("File Error")));
}

}  // namespace
}  // namespace shogi
