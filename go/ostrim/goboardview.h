#pragma once

#include <QImage>
#include <QPixmap>

#include "boardview.h"
#include "geometry.h"
#include "gorules/goposition.h"

namespace go {

// What the board needs from the window around it when a stone is placed.
class GoBoardHost {
public:
    virtual ~GoBoardHost() = default;
    // Sends (and records) the position after an accepted placement.
    virtual void sendMove() = 0;
};

// The go board: draws the board with its star points, the stones, the cross
// on the opponent's last stone, both capture counters and the own stone icon,
// and lets the local player drag a stone from the icon onto a free point.
// A placement takes the opponent groups it leaves without a liberty. Drawing
// happens in the back buffer; the screen is a copy of it.
class GoBoardView : public gamecommon::BoardViewOf<GoGeometry> {
    Q_OBJECT

public:
    // The stone images "bl1.bmp" and "wh2.bmp" and the sound "Go.wav" are
    // taken from `assetFolder`; a missing image is drawn as a plain disc.
    GoBoardView(const QString& assetFolder, GoPosition& position,
                const gamecommon::MatchState& match, GoBoardHost& host, QWidget* parent);

    // Full redraw: the board, every stone (the position string loaded into
    // Ban), the cross, the counters and the icon. The clocks stand below the
    // board, on white.
    void KomaHaiti() override;
    // Plays the stone sound and returns when it has ended.
    void playStoneSound() { playSound(); }

    bool isDragging() const { return dragging_; }

protected:
    QColor clockBackground() const override { return Qt::white; }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void buildStoneStrip();
    QImage loadStoneImage(Stone stone) const;
    void MakeBan(QPixmap& target);
    void DrawStone(QPixmap& target, int k, Stone stone);
    void DrawCross(QPixmap& target, Point p);
    void TextGetStornOut(QPixmap& target);
    void DrawStoneIcon(QPixmap& target);
    void place(Point p);
    void endDrag();

    GoPosition& position_;
    GoBoardHost& host_;
    QPixmap strip_;      // the black and the white stone side by side
    QImage stones_[2];   // the same, each on white, for the drag image
    QImage emptyPatch_;  // a bare piece of the board, under the dragged stone
    bool stripBuilt_ = false;
    bool dragging_ = false;
    QPoint lastMouse_;
};

// The size of the stone images in `assetFolder` (that of "bl1.bmp"), or the
// default size when it cannot be read.
GoGeometry geometryForStones(const QString& assetFolder);

}  // namespace go
