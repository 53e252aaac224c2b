#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "diagram.h"
#include "scripteddialogs.h"
#include "shogirules/rulemessages.h"
#include "varneldriver.h"
#include "varnelwindow.h"
#include "widgetdriver.h"

namespace shogi {
namespace {

using test::boardFromDiagram;
using testsupport::child;

class VarnelBoard : public ::testing::Test, protected test::VarnelDriver {
protected:
    // The position as a fresh window draws it from scratch: what the board
    // must look like after any sequence of drags.
    QImage drawnFromScratch() {
        testsupport::ScriptedDialogs quiet;
        VarnelWindow fresh(VarnelOptions{folder.path(), &quiet});
        fresh.position().MyHand = window.position().MyHand;
        fresh.position().OppHand = window.position().OppHand;
        fresh.board()->grab();
        EXPECT_TRUE(fresh.showPosition(window.position().Ban.positionString()));
        return fresh.board()->backBuffer().toImage();
    }

    // The screen shows the back buffer, and the back buffer shows the position.
    void expectPictureOfPosition() {
        const QImage back = board()->backBuffer().toImage();
        EXPECT_EQ(board()->grab().toImage(), back);
        EXPECT_TRUE(back == drawnFromScratch())
            << test::diagramOf(window.position().Ban).toStdString();
    }

    void setPosition(const Board& b) { ASSERT_TRUE(window.showPosition(b.positionString())); }
};

TEST_F(VarnelBoard, PawnMovesOneCellForward) {
    drag(centreOf({2, 6}), centreOf({2, 5}));
    EXPECT_EQ(window.position().Ban.at({2, 5}), Cell::own(Kind::Fu));
    EXPECT_TRUE(window.position().Ban.at({2, 6}).isEmpty());
    EXPECT_TRUE(dialogs.texts.isEmpty());
    EXPECT_FALSE(board()->isDragging());
    expectPictureOfPosition();
}

TEST_F(VarnelBoard, RefusedMovesPutThePieceBack) {
    const QImage before = board()->backBuffer().toImage();
    drag(centreOf({2, 6}), centreOf({2, 3}));  // a pawn does not run
    drag(centreOf({4, 8}), centreOf({4, 8}));  // released where it stands
    const BoardGeometry& g = board()->geometry();
    drag(centreOf({7, 7}), QPoint(BoardGeometry::kBoardLeft + g.boardWidth(), 10));  // frame line
    EXPECT_EQ(window.position().Ban, Board::initial());
    EXPECT_TRUE(dialogs.texts.isEmpty());
    EXPECT_EQ(board()->backBuffer().toImage(), before);
    expectPictureOfPosition();
}

TEST_F(VarnelBoard, CaptureFillsTheHandAndTheHandPieceDrops) {
    setPosition(boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Ka2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Hi1  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    }));
    dialogs.yesNoAnswers = {false};
    drag(centreOf({4, 4}), centreOf({4, 2}));
    EXPECT_EQ(window.position().Ban.at({4, 2}), Cell::own(Kind::Hi));
    EXPECT_EQ(window.position().MyHand.count(Kind::Ka), 1);
    EXPECT_EQ(dialogs.texts, QStringList{kMsgPromote.toString()});
    expectPictureOfPosition();
    // The hand column now shows something other than the bare background.
    const QImage back = board()->backBuffer().toImage();
    EXPECT_NE(back.pixelColor(handRow(0)), board()->menuColour());

    drag(handRow(0), centreOf({0, 4}));
    EXPECT_EQ(window.position().Ban.at({0, 4}), Cell::own(Kind::Ka));
    EXPECT_EQ(window.position().MyHand.count(Kind::Ka), 0);
    expectPictureOfPosition();
    EXPECT_EQ(board()->backBuffer().toImage().pixelColor(handRow(0)), board()->menuColour());
}

TEST_F(VarnelBoard, PromotionAnsweredYesAndNo) {
    const Board b = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .  Fu1  .   .   .   .   .  Gi1  . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    setPosition(b);
    dialogs.yesNoAnswers = {true, false};
    drag(centreOf({1, 3}), centreOf({1, 2}));
    drag(centreOf({7, 3}), centreOf({7, 2}));
    EXPECT_EQ(window.position().Ban.at({1, 2}), Cell::own(Kind::To));
    EXPECT_EQ(window.position().Ban.at({7, 2}), Cell::own(Kind::Gi));
    EXPECT_EQ(dialogs.texts, (QStringList{kMsgPromote.toString(), kMsgPromote.toString()}));
    expectPictureOfPosition();
}

TEST_F(VarnelBoard, SecondPawnDropIsRefusedWithItsMessage) {
    window.position().MyHand.find(Kind::Fu)->count = 1;
    window.board()->KomaHaiti();
    const QImage before = board()->backBuffer().toImage();
    drag(handRow(0), centreOf({3, 4}));
    EXPECT_EQ(dialogs.texts, QStringList{kMsgTwoPawns.toString()});
    EXPECT_EQ(window.position().MyHand.count(Kind::Fu), 1);
    EXPECT_EQ(window.position().Ban, Board::initial());
    EXPECT_EQ(board()->backBuffer().toImage(), before);
    expectPictureOfPosition();
}

TEST_F(VarnelBoard, NoDragOutOfTurnOrWhileWatching) {
    const QImage before = board()->backBuffer().toImage();
    window.state().MyTurn = false;
    mouse(QEvent::MouseButtonPress, centreOf({2, 6}));
    EXPECT_FALSE(board()->isDragging());
    mouse(QEvent::MouseMove, centreOf({2, 5}));
    EXPECT_EQ(board()->backBuffer().toImage(), before);  // no piece follows the mouse
    mouse(QEvent::MouseButtonRelease, centreOf({2, 5}));
    EXPECT_EQ(window.position().Ban, Board::initial());

    window.state().MyTurn = true;
    window.state().WatchMode = true;
    window.position().MyHand.find(Kind::Ke)->count = 1;
    window.board()->KomaHaiti();
    drag(handRow(0), centreOf({4, 4}));
    EXPECT_EQ(window.position().MyHand.count(Kind::Ke), 1);
    EXPECT_TRUE(window.position().Ban.at({4, 4}).isEmpty());

    // Opponent pieces and empty cells are never picked up.
    window.state().WatchMode = false;
    mouse(QEvent::MouseButtonPress, centreOf({2, 2}));
    EXPECT_FALSE(board()->isDragging());
    mouse(QEvent::MouseButtonRelease, centreOf({2, 2}));
    mouse(QEvent::MouseButtonPress, centreOf({4, 4}));
    EXPECT_FALSE(board()->isDragging());
    mouse(QEvent::MouseButtonRelease, centreOf({4, 4}));
    expectPictureOfPosition();
}

TEST_F(VarnelBoard, WindowKeepsItsFirstSize) {
    QApplication::processEvents();
    const QSize first = window.size();
    const QPoint place = window.pos();
    window.resize(first + QSize(200, 150));
    QApplication::processEvents();
    EXPECT_EQ(window.size(), first);
    window.showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(window.size(), first);
    EXPECT_EQ(window.pos(), place);
}

TEST(VarnelWindowPlace, KeepsWhereItWasPutAndOnlyItsSizeIsFixed) {
    test::ProgramFolder folder;
    testsupport::ScriptedDialogs dialogs;
    VarnelWindow window(VarnelOptions{folder.path(), &dialogs});
    window.move(300, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.board()->isSetUp(); }));
    QApplication::processEvents();
    EXPECT_EQ(window.pos(), QPoint(300, 200));
    EXPECT_EQ(window.minimumSize(), window.size());
    EXPECT_EQ(window.maximumSize(), window.size());
}

TEST_F(VarnelBoard, ResetAndVersionBox) {
    drag(centreOf({2, 6}), centreOf({2, 5}));
    child<QAction>(window, "mnuInit")->trigger();
    EXPECT_EQ(window.position().Ban, Board::initial());
    EXPECT_EQ(window.state().MoveNo, 0);
    EXPECT_TRUE(window.state().MyTurn);
    expectPictureOfPosition();
    child<QAction>(window, "mnuV")->trigger();
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("Varnel|Varnel for Quor　Ver1.10")});
}

TEST(VarnelWithoutImages, StartsAndDrawsMarkedSquares) {
    QTemporaryDir empty;
    testsupport::ScriptedDialogs dialogs;
    VarnelWindow window(VarnelOptions{empty.path(), &dialogs});
    window.show();
    const QImage picture = window.board()->grab().toImage();
    const BoardGeometry& g = window.board()->geometry();
    EXPECT_EQ(g.bmW(), BoardGeometry::kDefaultImageWidth);
    // The king's cell holds a drawn square, not the bare board colour.
    const QPoint kingCentre = g.pieceOrigin(Square{4, 8}.cellNumber()) + QPoint(g.bmW() / 2, 2);
    EXPECT_NE(picture.pixelColor(kingCentre), QColor(253, 252, 189));
    const QPoint emptyCentre = g.pieceOrigin(Square{4, 4}.cellNumber()) + QPoint(g.bmW() / 2, 2);
    EXPECT_EQ(picture.pixelColor(emptyCentre), QColor(253, 252, 189));
}

}  // namespace
}  // namespace shogi
