#pragma once

#include <QImage>
#include <QPixmap>
#include <array>

#include "boardgeometry.h"
#include "boardview.h"
#include "shogirules/moveattempt.h"

namespace shogi {

// What the board needs from the window around it while a move is made.
class ShogiBoardHost {
public:
    virtual ~ShogiBoardHost() = default;
    // The position string the board is drawn from on a full redraw.
    virtual QString positionString() const = 0;
    // A legal board move locks the chat until its acknowledgement.
    virtual void lockChat() = 0;
    // Sends the position after an accepted move or drop.
    virtual void sendMove() = 0;
    // The player took the opponent's king: the game is over.
    virtual void kingCaptured(const MoveOutcome& outcome) = 0;
    // A message box of the rules, with an OK button.
    virtual void showRuleMessage(const QString& text) = 0;
    // "成りますか？" with Yes and No; true for Yes.
    virtual bool askPromotion() = 0;
};

// The shogi board: draws the board, the pieces and both hands, and lets the
// local player drag an own piece, or a piece from the own hand, and release
// it, running the move rules on release. Drawing happens in the back buffer;
// the screen is a copy of it.
class ShogiBoardView : public gamecommon::BoardViewOf<BoardGeometry> {
    Q_OBJECT

public:
    // Piece images "<code><side>.bmp" and the sound "koma.wav" are taken
    // from `assetFolder`; a missing image is drawn as a plain marked square.
    ShogiBoardView(const QString& assetFolder, ShogiPosition& position,
                   const gamecommon::MatchState& match, ShogiBoardHost& host, QWidget* parent);

    // Full redraw: board, every piece (the position string loaded into Ban)
    // and the hands. The clocks stand right of the board.
    void KomaHaiti() override;
    // Redraws both hand columns into the back buffer.
    void DrawHands();
    // Plays the piece sound and returns when it has ended.
    void playPieceSound() { playSound(); }

    bool isDragging() const { return drag_.dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct DragInfo {
        bool dragging = false;
        Cell piece;
        bool fromHand = false;
        Square origin;
        bool originErasePending = false;
    };

    void buildImageStrip();
    QImage loadPieceImage(Kind kind, int side) const;
    QImage fallbackPieceImage(Kind kind, int side) const;
    void MakeBan(QPixmap& target);
    void DrawKoma(QPixmap& target, Cell cell, int k);
    void drawHandsInto(QPixmap& target);
    void pasteBlank(QPixmap& target, Square s);
    void ensureSave();
    void finishRelease();

    void restorePiece();
    void restoreBeforeDrag();
    void DrawMove(Square from, Square to);
    void DrawDrop(Square to);

    ShogiPosition& position_;
    ShogiBoardHost& host_;
    std::array<QPixmap, 2> strip_;  // by side: the fifteen kinds side by side
    QImage blankPatch_;
    bool stripBuilt_ = false;
    DragInfo drag_;
    QPoint lastMouse_;
};

// The size of the piece images in `assetFolder` (that of "Fu1.bmp"), or the
// default size when it cannot be read.
BoardGeometry geometryForAssets(const QString& assetFolder);

}  // namespace shogi
