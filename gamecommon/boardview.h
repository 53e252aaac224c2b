#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

#include "boardcanvas.h"
#include "matchstate.h"

namespace gamecommon {

class PieceSound;

// What the boards of both game programs share above the drawing surface:
// their images and their sound come from one asset folder, the full redraw
// (`BanStart`) sets the board up, the clocks stand at places of the board's
// geometry, and every mouse move over the board makes the window the active
// one, with a button held or not. What a board draws and how a piece is moved
// is the subclass's.
class BoardView : public BoardCanvas {
    Q_OBJECT

public:
    // Where the clock labels and texts stand.
    struct ClockPlaces {
        QPoint oppLabel;
        QPoint oppText;
        QPoint ownLabel;
        QPoint ownText;
    };

    // Full redraw, then the board counts as set up.
    void BanStart();
    // Full redraw of the board and everything on it from the position.
    virtual void KomaHaiti() = 0;
    // Draws the clock labels and texts.
    void drawClocks(const QString& oppClock, const QString& ownClock);

    bool boardSetUp() const { return boardSetUp_; }

protected:
    // The sound `soundName` is taken from `assetFolder`.
    BoardView(QSize clientSize, const ClockPlaces& clocks, const QString& assetFolder,
              const QString& soundName, const MatchState& match, QWidget* parent);

    void firstPaint() final;
    void mouseMoveEvent(QMouseEvent* event) override;

    // What stands behind the clocks.
    virtual QColor clockBackground() const { return menuColour(); }

    // The file `name` of the asset folder, found as the program finds its files.
    QString assetPath(const QString& name) const;
    // Plays the piece (or stone) sound and returns when it has ended.
    void playSound();

    const MatchState& match_;

private:
    QString assetFolder_;
    ClockPlaces clocks_;
    PieceSound* sound_;
    bool boardSetUp_ = false;
};

// A board view with the geometry of its game, which gives the window's size
// and the clock places (`oppClockLabel()`, `oppClockText()`, `ownClockLabel()`,
// `ownClockText()`).
template <class Geometry>
class BoardViewOf : public BoardView {
public:
    const Geometry& geometry() const { return geometry_; }

protected:
    BoardViewOf(const Geometry& geometry, const QString& assetFolder, const QString& soundName,
                const MatchState& match, QWidget* parent)
        : BoardView(geometry.clientSize(),
                    {geometry.oppClockLabel(), geometry.oppClockText(), geometry.ownClockLabel(),
                     geometry.ownClockText()},
                    assetFolder, soundName, match, parent),
          geometry_(geometry) {}

    const Geometry geometry_;
};

// The size of the image `name` in `assetFolder`, which the board's geometry
// follows; nothing when it cannot be read or a side is below 8 pixels or above
// `largest`.
std::optional<QSize> assetImageSize(const QString& assetFolder, const QString& name, int largest);

}  // namespace gamecommon
