#include "goboardview.h"

#include <QMouseEvent>
#include <QPainter>

#include "gorules/placement.h"

namespace go {

namespace {

const QColor kBoardColour(214, 170, 99);
const QColor kCrossColour(255, 255, 0);
constexpr int kDefaultCell = 28;

QString imageName(Stone stone) {
    return stoneName(stone).toString() + QStringLiteral(".bmp");
}

std::size_t stripIndex(Stone stone) {
    return stone == Stone::White ? 1 : 0;
}

}  // namespace

GoGeometry geometryForStones(const QString& assetFolder) {
    if (const auto size = gamecommon::assetImageSize(assetFolder, imageName(Stone::Black), 100))
        return GoGeometry(size->width(), size->height());
    return GoGeometry(kDefaultCell, kDefaultCell);
}

GoBoardView::GoBoardView(const QString& assetFolder, GoPosition& position,
                         const gamecommon::MatchState& match, GoBoardHost& host, QWidget* parent)
    : BoardViewOf(geometryForStones(assetFolder), assetFolder, QStringLiteral("Go.wav"), match,
                  parent),
      position_(position),
      host_(host) {}

void GoBoardView::KomaHaiti() {
    // A drag under way was picked up from the old picture: it ends here.
    endDrag();
    back().fill(Qt::white);
    if (!stripBuilt_) buildStoneStrip();
    MakeBan(back());
    // The position string was checked when it arrived; a bad one would leave
    // the board as it stands.
    if (const auto read = readPosition(position_.positionString)) {
        position_.ban = read->ban;
        if (read->lastMove) position_.LastMove = read->lastMove;
        for (int k = 0; k < kPointCount; ++k)
            DrawStone(back(), k, position_.ban.at(Point::fromNumber(k)));
        if (read->lastMove) DrawCross(back(), *read->lastMove);
    }
    TextGetStornOut(back());
    DrawStoneIcon(back());
}

void GoBoardView::buildStoneStrip() {
    const int w = geometry_.cellW(), h = geometry_.cellH();
    QImage strip(3 * w, h, QImage::Format_RGB32);
    strip.fill(Qt::white);
    QPainter p(&strip);
    for (Stone stone : {Stone::Black, Stone::White}) {
        stones_[stripIndex(stone)] = loadStoneImage(stone);
        p.drawImage(geometry_.stripSource(stoneCode(stone)).topLeft(), stones_[stripIndex(stone)]);
    }
    p.end();
    strip_ = gamecommon::withWhiteTransparent(strip);
    stripBuilt_ = true;
}

QImage GoBoardView::loadStoneImage(Stone stone) const {
    const int w = geometry_.cellW(), h = geometry_.cellH();
    QImage image(assetPath(imageName(stone)));
    if (!image.isNull()) {
        // Every image is drawn at the size of the black one.
        return image.convertToFormat(QImage::Format_RGB32).copy(0, 0, w, h);
    }
    QImage disc(w, h, QImage::Format_RGB32);
    disc.fill(Qt::white);
    QPainter p(&disc);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(stone == Stone::Black ? QColor(20, 20, 20) : QColor(240, 240, 240));
    p.drawEllipse(1, 1, w - 3, h - 3);
    return disc;
}

void GoBoardView::MakeBan(QPixmap& target) {
    QPainter p(&target);
    p.setPen(QPen(Qt::black, GoGeometry::kFrameWidth));
    p.setBrush(kBoardColour);
    p.drawRect(geometry_.boardRect());
    p.setPen(QPen(Qt::black, 1));
    for (int i = 1; i <= kLastLine - 1; ++i) {
        p.drawLine(geometry_.verticalLine(i));
        p.drawLine(geometry_.horizontalLine(i));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (Point star : GoGeometry::starPoints()) {
        p.drawEllipse(geometry_.intersection(star), GoGeometry::kStarRadius,
                      GoGeometry::kStarRadius);
    }
    p.end();
    emptyPatch_ = target.copy(geometry_.emptyPatch()).toImage();
}

void GoBoardView::DrawStone(QPixmap& target, int k, Stone stone) {
    if (stone != Stone::Black && stone != Stone::White) return;
    QPainter p(&target);
    p.drawPixmap(geometry_.stoneOrigin(k), strip_, geometry_.stripSource(stoneCode(stone)));
}

void GoBoardView::DrawCross(QPixmap& target, Point point) {
    QPainter p(&target);
    p.setPen(QPen(kCrossColour, GoGeometry::kCrossPenWidth));
    for (const QLine& line : geometry_.crossLines(point))
        p.drawLine(line);
}

void GoBoardView::TextGetStornOut(QPixmap& target) {
    const int w = geometry_.cellW(), h = geometry_.cellH();
    QPainter p(&target);
    p.setPen(Qt::black);
    const auto counter = [&](QPoint textAt, qint32 count, QPoint imageAt, Stone stone) {
        const QFontMetrics metrics(p.font());
        p.drawText(QRect(textAt, QSize(metrics.horizontalAdvance(QStringLiteral("000000")),
                                       metrics.height())),
                   Qt::AlignLeft | Qt::AlignTop, QString::number(count));
        p.drawPixmap(imageAt, strip_, QRect(stoneCode(stone) * w, 0, w, h));
    };
    counter(geometry_.myCapturedText(), position_.MyCaptured, geometry_.myCapturedImage(),
            opponentOf(position_.ownColour));
    counter(geometry_.oppCapturedText(), position_.OppCaptured, geometry_.oppCapturedImage(),
            position_.ownColour);
}

void GoBoardView::DrawStoneIcon(QPixmap& target) {
    QPainter p(&target);
    p.fillRect(geometry_.iconRect(), kBoardColour);
    // The stone images have white corners; they stay out of the icon as they
    // stay off the board.
    p.drawPixmap(geometry_.iconRect().topLeft(), strip_,
                 geometry_.stripSource(stoneCode(position_.ownColour)));
}

void GoBoardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    endDrag();
    lastMouse_ = event->position().toPoint();
    if (!geometry_.picksIcon(lastMouse_)) return;
    if (!match_.MyTurn || !boardSetUp() || match_.SendLock || match_.WatchMode) return;
    // The first stone of a game is black, also for a player who was white in
    // the game before.
    if (match_.MoveNo == 0 && position_.ownColour != Stone::Black) {
        position_.ownColour = Stone::Black;
        DrawStoneIcon(back());
        TextGetStornOut(back());
        update();
    }
    dragging_ = true;
}

void GoBoardView::mouseMoveEvent(QMouseEvent* event) {
    BoardView::mouseMoveEvent(event);
    if (!dragging_) return;
    lastMouse_ = event->position().toPoint();
    if (!saveFilled()) fillSaveFromBack();
    restoreBackFromSave();
    drawDragImage(stones_[stripIndex(position_.ownColour)], emptyPatch_, lastMouse_);
    update();
}

void GoBoardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) return;
    // Where the stone was last seen while dragging decides, not where the
    // button came up.
    const auto point = geometry_.dropPoint(position_.ban, lastMouse_.x(), lastMouse_.y());
    if (!point) {
        if (saveFilled()) restoreBackFromSave();
        update();
        endDrag();
        return;
    }
    place(*point);
    endDrag();
}

void GoBoardView::place(Point p) {
    const Placement placement = PlaceStone(position_, p);
    if (!placement.placed) return;
    if (saveFilled()) restoreBackFromSave();
    DrawStone(back(), p.number(), position_.ownColour);
    // The opponent's last stone is drawn again, which covers its cross.
    if (match_.MoveNo != 0 && match_.IsConnected && position_.LastMove) {
        DrawStone(back(), position_.LastMove->number(), position_.ban.at(*position_.LastMove));
    }
    update();
    host_.sendMove();
    if (placement.captured) BanStart();
    update();
    playStoneSound();
}

void GoBoardView::endDrag() {
    dragging_ = false;
    clearSave();
}

}  // namespace go
