// The go board window played with the mouse, offscreen.

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

#include "diagram.h"
#include "ostrimdriver.h"
#include "widgetdriver.h"

namespace go {
namespace {

using test::boardFromDiagram;
using test::diagramOf;
using testsupport::child;

class OstrimBoard : public ::testing::Test, protected test::OstrimDriver {
protected:
    // The position as a fresh window draws it from scratch: what the board
    // must look like after any sequence of placements.
    QImage drawnFromScratch() {
        testsupport::ScriptedDialogs quiet;
        OstrimWindow fresh(OstrimOptions{folder.path(), &quiet});
        fresh.position().MyCaptured = window.position().MyCaptured;
        fresh.position().OppCaptured = window.position().OppCaptured;
        fresh.position().ownColour = window.position().ownColour;
        fresh.board()->grab();
        EXPECT_TRUE(fresh.showPosition(positionString(window.position().ban)));
        return fresh.board()->backBuffer().toImage();
    }

    // The screen shows the back buffer, and the back buffer shows the position.
    void expectPictureOfPosition() {
        const QImage back = board()->backBuffer().toImage();
        EXPECT_EQ(board()->grab().toImage(), back);
        EXPECT_TRUE(back == drawnFromScratch()) << diagramOf(window.position().ban);
    }

    void setBoard(const Ban& ban) { ASSERT_TRUE(window.showPosition(positionString(ban))); }
};

TEST_F(OstrimBoard, AStoneDraggedFromTheIconLandsOnThePoint) {
    for (const Point p : {Point{3, 15}, Point{0, 0}, Point{18, 18}, Point{9, 9}}) {
        place(p);
        EXPECT_EQ(window.position().ban.at(p), Stone::Black) << p.x << "," << p.y;
        EXPECT_EQ(window.position().MyLastMove, p);
        EXPECT_FALSE(board()->isDragging());
        expectPictureOfPosition();
    }
    // Without a connection nothing is sent and the turn stays.
    EXPECT_TRUE(window.state().MyTurn);
    EXPECT_EQ(window.state().MoveNo, 4);
    EXPECT_EQ(window.state().MySide, u"先手");
    EXPECT_EQ(window.windowTitle(), u"通信将棋：あなた=先手:第 4手");
    EXPECT_TRUE(dialogs.texts.isEmpty());
}

TEST_F(OstrimBoard, DropsThatCannotBePlayedPutNothingDown) {
    setBoard(boardFromDiagram({"O"}, {4, 4}));
    const Ban before = window.position().ban;
    const QImage picture = board()->backBuffer().toImage();
    const GoGeometry& g = board()->geometry();
    const struct {
        const char* what;
        QPoint from;
        QPoint to;
        bool myTurn = true;
        bool watching = false;
        bool sendLock = false;
    } cases[] = {
        {"occupied point", test::iconCentre(board()), test::pointCentre(board(), {4, 4})},
        {"right of the board", test::iconCentre(board()),
         test::pointCentre(board(), {18, 2}) + QPoint(g.colStep(), 0)},
        {"above the board", test::iconCentre(board()), QPoint(100, 2)},
        {"left of the board", test::iconCentre(board()), QPoint(20, 100)},
        {"not picked at the icon", test::pointCentre(board(), {2, 2}),
         test::pointCentre(board(), {3, 3})},
        {"out of turn", test::iconCentre(board()), test::pointCentre(board(), {3, 3}), false},
        {"watching", test::iconCentre(board()), test::pointCentre(board(), {3, 3}), true, true},
        {"chat waiting", test::iconCentre(board()), test::pointCentre(board(), {3, 3}), true, false,
         true},
    };
    for (const auto& c : cases) {
        window.state().MyTurn = c.myTurn;
        window.state().WatchMode = c.watching;
        window.state().SendLock = c.sendLock;
        testsupport::dragOnBoard(board(), c.from, c.to);
        EXPECT_EQ(window.position().ban, before) << c.what;
        EXPECT_EQ(board()->backBuffer().toImage(), picture) << c.what;
        EXPECT_EQ(window.state().MoveNo, 0) << c.what;
    }
}

// A player aims at the lines: a stone let go on an edge line, or up to half a
// cell beyond it, lands on the edge point, the same on all four sides; one
// let go further out is refused.
TEST_F(OstrimBoard, EdgePointsTakeStonesUpToHalfACellOutsideTheirLines) {
    const GoGeometry& g = board()->geometry();
    const int left = g.intersection({0, 0}).x(), top = g.intersection({0, 0}).y();
    const int right = g.intersection({18, 18}).x(), bottom = g.intersection({18, 18}).y();
    const int in = g.cellW() / 2 - 1;   // half a cell less a pixel
    const int out = g.cellW() / 2 + 2;  // half a cell and a pixel or two
    const auto crossing = [&](Point p) { return g.intersection(p); };
    const struct {
        const char* what;
        QPoint drop;
        Point lands;
    } landing[] = {
        {"top-left corner", QPoint(left, top), {0, 0}},
        {"top edge", crossing({7, 0}), {7, 0}},
        {"left edge", crossing({0, 7}), {0, 7}},
        {"left of the left edge", QPoint(left - in, crossing({0, 11}).y()), {0, 11}},
        {"right of the right edge", QPoint(right + in, crossing({18, 11}).y()), {18, 11}},
        {"above the top edge", QPoint(crossing({11, 0}).x(), top - in), {11, 0}},
        {"below the bottom edge", QPoint(crossing({11, 18}).x(), bottom + in), {11, 18}},
        {"beyond the bottom-right corner", QPoint(right + in, bottom + in), {18, 18}},
    };
    int moves = 0;
    for (const auto& c : landing) {
        testsupport::dragOnBoard(board(), test::iconCentre(board()), c.drop);
        EXPECT_EQ(window.position().ban.at(c.lands), Stone::Black) << c.what;
        EXPECT_EQ(window.state().MoveNo, ++moves) << c.what;
    }
    expectPictureOfPosition();

    const Ban before = window.position().ban;
    const QPoint refused[] = {
        QPoint(left - out, crossing({0, 13}).y()),
        QPoint(right + out, crossing({18, 13}).y()),
        QPoint(crossing({13, 0}).x(), top - out),
        QPoint(crossing({13, 18}).x(), bottom + out),
    };
    for (const QPoint drop : refused) {
        testsupport::dragOnBoard(board(), test::iconCentre(board()), drop);
        EXPECT_EQ(window.position().ban, before) << drop.x() << "," << drop.y();
        EXPECT_EQ(window.state().MoveNo, moves) << drop.x() << "," << drop.y();
    }
}

TEST_F(OstrimBoard, APlacementTakesTheGroupsItLeavesWithoutALibertyAndCountsThem) {
    setBoard(boardFromDiagram({
        "OX..",
        ".XX.",
        "XOOX",
        "XOOX",
        ".X..",
    }));
    place({0, 1});  // the corner stone
    EXPECT_EQ(window.position().ban.at(0, 0), Stone::Empty);
    EXPECT_EQ(window.position().MyCaptured, 1);
    expectPictureOfPosition();
    place({2, 4});  // the block of four
    EXPECT_EQ(window.position().ban, boardFromDiagram({
                                         ".X..",
                                         "XXX.",
                                         "X..X",
                                         "X..X",
                                         ".XX.",
                                     }))
        << diagramOf(window.position().ban);
    EXPECT_EQ(window.position().MyCaptured, 5);
    expectPictureOfPosition();
}

TEST_F(OstrimBoard, InitialiseEmptiesTheBoardAndKeepsTurnColourAndCounters) {
    place({3, 3});
    window.position().MyCaptured = 7;
    window.state().MyTurn = false;
    child<QAction>(window, "mnuInit")->trigger();
    EXPECT_EQ(window.position().ban, Ban());
    EXPECT_EQ(window.state().MoveNo, 0);
    EXPECT_FALSE(window.state().MyTurn);
    EXPECT_EQ(window.position().MyCaptured, 7);
    EXPECT_EQ(window.state().MySide, u"先手");
    expectPictureOfPosition();
}

TEST_F(OstrimBoard, TheGoProgramHasNoLoginDialogNoListeningAndItsOwnVersion) {
    EXPECT_FALSE(testsupport::hasChild(window, "LogIn"));
    EXPECT_FALSE(testsupport::hasChild(window, "mnuServer"));
    QStringList connectItems;
    for (const QAction* a : child<QMenu>(window, "mnuConnect")->actions())
        if (!a->isSeparator()) connectItems << a->text();
    EXPECT_EQ(connectItems, QStringList{QStringLiteral("切断(&A)")});
    EXPECT_EQ(child<QAction>(window, "mnuEnd")->text(), u"将棋終了(&Q)");
    child<QAction>(window, "mnuV")->trigger();
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("Ostrim|Ostrim　Ver1.01")});
    EXPECT_EQ(window.windowTitle(), u"Ostrim");
}

}  // namespace
}  // namespace go
