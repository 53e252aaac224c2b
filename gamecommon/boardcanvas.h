#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace gamecommon {

// The drawing surface both game programs build their board on. Everything is
// drawn into an off-screen back buffer, which the widget copies to the screen
// whenever it paints; while a piece is dragged, a save buffer keeps the clean
// picture so that the dragged image can be moved without redrawing the board.
// The board itself is drawn by the subclass on the first paint.
class BoardCanvas : public QWidget {
    Q_OBJECT

public:
    // The colour of the area around the board (the window's own background).
    QColor menuColour() const;

    // The picture the widget shows when it paints.
    const QPixmap& backBuffer() const { return back_; }

    // True once the first paint has drawn the board.
    bool isSetUp() const { return setUp_; }

signals:
    // Emitted once, after the first paint; the main window then keeps its size.
    void firstPainted();

protected:
    BoardCanvas(QSize clientSize, QWidget* parent);

    // Draws the board for the first time into the back buffer.
    virtual void firstPaint() = 0;

    void paintEvent(QPaintEvent* event) override;

    QPixmap& back() { return back_; }
    QPixmap& save() { return save_; }
    bool saveFilled() const { return saveFilled_; }

    // The clean picture is kept before the first drag image is drawn.
    void fillSaveFromBack();
    void restoreBackFromSave();
    void clearSave() { saveFilled_ = false; }

    // Draws a dragged piece half transparent, centred on `centre`, into the
    // back buffer: the piece image (white is transparent in it) blended at
    // 128/255 over `underlay`, a patch of the bare board.
    void drawDragImage(const QImage& piece, const QImage& underlay, QPoint centre);

private:
    QPixmap back_;
    QPixmap save_;
    bool saveFilled_ = false;
    bool setUp_ = false;
};

// A piece or stone image as a pixmap whose white pixels are transparent.
QPixmap withWhiteTransparent(const QImage& image);

// Rounds to the nearest integer, halves to the even neighbour, as all the
// board geometry is rounded.
int roundHalfEven(double value);

}  // namespace gamecommon
