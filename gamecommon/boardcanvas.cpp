#include "boardcanvas.h"

#include <QBitmap>
#include <QPainter>
#include <cmath>

namespace gamecommon {

namespace {

// The colour white takes when blended at 128/255 over the board colour; it is
// left out when the drag image is put on the board.
const QRgb kDragKey = qRgb(254, 254, 222);
constexpr int kDragAlpha = 128;

int blend(int src, int dst) {
    return (src * kDragAlpha + dst * (255 - kDragAlpha) + 127) / 255;
}

}  // namespace

BoardCanvas::BoardCanvas(QSize clientSize, QWidget* parent)
    : QWidget(parent), back_(clientSize), save_(clientSize) {
    setFixedSize(clientSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    back_.fill(menuColour());
    save_.fill(menuColour());
}

QColor BoardCanvas::menuColour() const {
    return palette().color(QPalette::Window);
}

void BoardCanvas::paintEvent(QPaintEvent*) {
    if (!setUp_) {
        setUp_ = true;
        back_.fill(menuColour());
        firstPaint();
        emit firstPainted();
    }
    QPainter p(this);
    p.drawPixmap(0, 0, back_);
}

void BoardCanvas::fillSaveFromBack() {
    save_ = back_.copy();
    saveFilled_ = true;
}

void BoardCanvas::restoreBackFromSave() {
    back_ = save_.copy();
}

void BoardCanvas::drawDragImage(const QImage& piece, const QImage& underlay, QPoint centre) {
    const QImage src = piece.convertToFormat(QImage::Format_RGB32);
    QImage composed =
        underlay.convertToFormat(QImage::Format_ARGB32).copy(0, 0, src.width(), src.height());
    for (int y = 0; y < composed.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(composed.scanLine(y));
        for (int x = 0; x < composed.width(); ++x) {
            const QRgb mixed =
                qRgb(blend(qRed(s[x]), qRed(d[x])), blend(qGreen(s[x]), qGreen(d[x])),
                     blend(qBlue(s[x]), qBlue(d[x])));
            // White over the board gives the key colour: that pixel is left out.
            const bool key =
                (s[x] & 0xFFFFFF) == 0xFFFFFF || (mixed & 0xFFFFFF) == (kDragKey & 0xFFFFFF);
            d[x] = key ? qRgba(0, 0, 0, 0) : mixed;
        }
    }
    const QPoint topLeft(roundHalfEven(centre.x() - src.width() / 2.0),
                         roundHalfEven(centre.y() - src.height() / 2.0));
    QPainter p(&back_);
    p.drawImage(topLeft, composed);
}

QPixmap withWhiteTransparent(const QImage& image) {
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(
        QBitmap::fromImage(image.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
    return pixmap;
}

int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace gamecommon
