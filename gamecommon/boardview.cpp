#include "boardview.h"

#include <QImageReader>
#include <QPainter>

#include "piecesound.h"
#include "programfolder.h"

namespace gamecommon {

namespace {

constexpr int kSmallestImageSide = 8;

}  // namespace

BoardView::BoardView(QSize clientSize, const ClockPlaces& clocks, const QString& assetFolder,
                     const QString& soundName, const MatchState& match, QWidget* parent)
    : BoardCanvas(clientSize, parent),
      match_(match),
      assetFolder_(assetFolder),
      clocks_(clocks),
      sound_(new PieceSound(platform::fileInFolder(assetFolder, soundName), this)) {
    // Mouse moves without a button held are wanted too: they activate the window.
    setMouseTracking(true);
}

void BoardView::firstPaint() {
    BanStart();
}

void BoardView::BanStart() {
    KomaHaiti();
    boardSetUp_ = true;
}

void BoardView::drawClocks(const QString& oppClock, const QString& ownClock) {
    QPainter p(&back());
    const QFontMetrics metrics(p.font());
    const int lineHeight = metrics.height();
    const QRect area(clocks_.oppLabel,
                     QPoint(back().width() - 1, clocks_.ownLabel.y() + lineHeight));
    p.fillRect(area, clockBackground());
    p.setPen(Qt::black);
    const auto text = [&](QPoint at, const QString& s) {
        p.drawText(QRect(at, QSize(back().width() - at.x(), lineHeight)),
                   Qt::AlignLeft | Qt::AlignTop, s);
    };
    text(clocks_.oppLabel, tr("相手"));
    text(clocks_.oppText, oppClock);
    text(clocks_.ownLabel, tr("自分"));
    text(clocks_.ownText, ownClock);
    p.end();
    update(area);
}

void BoardView::mouseMoveEvent(QMouseEvent*) {
    if (window() && !window()->isActiveWindow()) window()->activateWindow();
}

QString BoardView::assetPath(const QString& name) const {
    return platform::fileInFolder(assetFolder_, name);
}

void BoardView::playSound() {
    sound_->playAndWait();
}

std::optional<QSize> assetImageSize(const QString& assetFolder, const QString& name, int largest) {
    const QSize size = QImageReader(platform::fileInFolder(assetFolder, name)).size();
    if (!size.isValid() || size.width() < kSmallestImageSide ||
        size.height() < kSmallestImageSide || size.width() > largest || size.height() > largest)
        return std::nullopt;
    return size;
}

}  // namespace gamecommon
