#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

#include "shogirules/hand.h"
#include "shogirules/square.h"

namespace shogi {

// Where everything of the shogi board window lies, in the board widget's own
// pixels, derived from the size of the piece images (bmW x bmH). The board's
// left edge is at x = 70, its top at y = 0; cells are one image plus 3 pixels.
class BoardGeometry {
public:
    static constexpr int kBoardLeft = 70;
    static constexpr int kDefaultImageWidth = 40;
    static constexpr int kDefaultImageHeight = 44;

    BoardGeometry(int bmW, int bmH);

    int bmW() const { return bmW_; }
    int bmH() const { return bmH_; }
    int cellW() const { return bmW_ + 3; }
    int cellH() const { return bmH_ + 3; }
    int boardWidth() const { return 9 * cellW(); }   // W
    int boardHeight() const { return 9 * cellH(); }  // H

    // The whole drawing area: board, both hand columns and the clocks.
    QSize clientSize() const;

    // Top-left corner of the piece image on cell number k (0..80).
    QPoint pieceOrigin(int k) const;

    // The cell under a point; nothing off the board (its right and bottom
    // frame lines are off the board).
    std::optional<Square> cellAt(QPoint p) const;

    // The own hand (right of the board): column left edge, the n-th shown
    // entry's image (n = 0, 1, ...) and count, and the area cleared before drawing.
    int ownHandX() const;
    QPoint ownHandImage(int n) const;
    QPoint ownHandCount(int n) const;
    QRect ownHandArea() const;

    // The opponent's hand (left of the board) grows upward from the board's
    // bottom edge; its shown entries are numbered n = 1, 2, ...
    int oppHandX() const;
    QPoint oppHandImage(int n) const;
    QPoint oppHandCount(int n) const;
    QRect oppHandArea() const;

    // The kind under a point on the own hand column: the r-th entry of the
    // hand with a count above 0, for the r-th image row; nothing elsewhere.
    std::optional<Kind> handPieceAt(const Hand& myHand, QPoint p) const;

    // Where the clock labels ("相手", "自分") and clock texts start.
    QPoint oppClockLabel() const { return {boardWidth() + 75, boardHeight() - 101}; }
    QPoint oppClockText() const { return {boardWidth() + 105, boardHeight() - 101}; }
    QPoint ownClockLabel() const { return {boardWidth() + 75, boardHeight() - 69}; }
    QPoint ownClockText() const { return {boardWidth() + 105, boardHeight() - 69}; }

private:
    int bmW_;
    int bmH_;
};

}  // namespace shogi
