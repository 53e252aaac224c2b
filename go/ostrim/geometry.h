#pragma once

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

#include "gorules/board.h"

namespace go {

// Where everything of the go board window lies, in the board widget's own
// pixels, as pure functions of the stone image size (cellW x cellH). The
// board frame starts at (50, 20) and lines are one stone plus 3 pixels
// apart; everything else (stone icon, counters, clocks) is placed relative
// to the board's width W and height H. "Nearest integer" rounds halves to
// even, as the shogi board does. Text positions are the top-left corner of
// the text.
class GoGeometry {
public:
    static constexpr int kLeft = 50;
    static constexpr int kTop = 20;
    static constexpr int kStarRadius = 4;
    static constexpr int kFrameWidth = 2;
    static constexpr int kCrossPenWidth = 3;
    static constexpr int kCounterImageDrop = 16;  // counter image below its text

    // A size below 8 pixels (a missing or broken image) is taken as 8.
    GoGeometry(int cellW, int cellH);

    int cellW() const { return cellW_; }
    int cellH() const { return cellH_; }
    int colStep() const { return cellW_ + 3; }
    int rowStep() const { return cellH_ + 3; }
    int boardWidth() const { return 18 * colStep(); }   // W
    int boardHeight() const { return 18 * rowStep(); }  // H

    // The whole drawing area: board, stone icon, counters and clocks.
    QSize clientSize() const;

    // The board frame (50, 20)-(50 + W, 20 + H), filled with the board colour.
    QRect boardRect() const { return {kLeft, kTop, boardWidth(), boardHeight()}; }

    // Where the lines of (x, y) cross.
    QPoint intersection(Point p) const;

    // Inner line i (1..17): the vertical one at column i, the horizontal one at row i.
    QLine verticalLine(int i) const;
    QLine horizontalLine(int i) const;

    // The nine star points, at columns and rows 3, 9 and 15.
    static std::array<Point, 9> starPoints();

    // The empty-board patch kept for the drag image: cellW x cellH at (51, 21).
    QRect emptyPatch() const { return {kLeft + 1, kTop + 1, cellW_, cellH_}; }

    // Top-left corner of the stone image on point number k (0..360).
    QPoint stoneOrigin(int k) const;

    // The image of stone code i (0 or 1) in the stone strip.
    QRect stripSource(int code) const { return {code * cellW_, 0, cellW_, cellH_}; }

    // The two strokes of the last-move cross on (x, y).
    std::array<QLine, 2> crossLines(Point p) const;

    // The own stone icon right of the board, where a drag starts; ix is its left edge.
    int iconX() const;
    QRect iconRect() const { return {iconX(), kTop, cellW_, cellH_}; }

    // Whether a press picks up the own stone: strictly inside the icon.
    bool picksIcon(QPoint mouse) const;

    // The intersection a cursor at (mx, my) points at, as "xxyy" (two
    // two-digit numbers, x first, each up to 27, so beyond the board too), or
    // the empty text outside the mapping window.
    QString PointFromMouse(int mx, int my) const;

    // The same as numbers; nothing where PointFromMouse is empty.
    std::optional<Point> pointNearMouse(int mx, int my) const;

    // Where a stone dragged to (mx, my) lands: the empty point of the playing
    // area the cursor maps to, with the cursor on the board or at most half a
    // cell outside its edge lines, the same on all four sides; nothing when
    // the drop is refused.
    std::optional<Point> dropPoint(const Ban& ban, int mx, int my) const;

    // The dragged stone centred on the cursor.
    QPoint dragStoneOrigin(QPoint cursor) const;

    // The own count (`MyCaptured`) right of the board with the opponent's
    // stone below it; the opponent's count (`OppCaptured`) left of the board
    // with the own stone below it.
    QPoint myCapturedText() const;
    QPoint myCapturedImage() const { return myCapturedText() + QPoint(0, kCounterImageDrop); }
    QPoint oppCapturedText() const { return {15, myCapturedText().y()}; }
    QPoint oppCapturedImage() const { return oppCapturedText() + QPoint(0, kCounterImageDrop); }

    // The clock labels ("相手" above, "自分" below) and the clock texts beside them.
    QPoint oppClockLabel() const { return {boardWidth() - 40, boardHeight() + 49}; }
    QPoint oppClockText() const { return {boardWidth() - 5, boardHeight() + 49}; }
    QPoint ownClockLabel() const { return {boardWidth() - 40, boardHeight() + 81}; }
    QPoint ownClockText() const { return {boardWidth() - 5, boardHeight() + 81}; }

private:
    int cellW_;
    int cellH_;
};

}  // namespace go
