#include "shogiboardview.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>

#include "shogirules/pieceglyph.h"

namespace shogi {

namespace {

const QColor kBoardColour(253, 252, 189);

QString imageName(Kind kind, int side) {
    return QString::fromLatin1(kindCode(kind).data(), 2) + QString::number(side) +
           QStringLiteral(".bmp");
}

int sideNumber(Cell c) {
    return c.isOppPiece() ? 2 : 1;
}

}  // namespace

BoardGeometry geometryForAssets(const QString& assetFolder) {
    if (const auto size = gamecommon::assetImageSize(assetFolder, QStringLiteral("Fu1.bmp"), 200))
        return BoardGeometry(size->width(), size->height());
    return BoardGeometry(BoardGeometry::kDefaultImageWidth, BoardGeometry::kDefaultImageHeight);
}

ShogiBoardView::ShogiBoardView(const QString& assetFolder, ShogiPosition& position,
                               const gamecommon::MatchState& match, ShogiBoardHost& host,
                               QWidget* parent)
    : BoardViewOf(geometryForAssets(assetFolder), assetFolder, QStringLiteral("koma.wav"), match,
                  parent),
      position_(position),
      host_(host) {}

void ShogiBoardView::KomaHaiti() {
    // A drag under way was picked up from the old picture: it ends here.
    finishRelease();
    if (!stripBuilt_) buildImageStrip();
    MakeBan(back());
    // The position string was checked when it arrived; a bad one would leave
    // the board as it stands.
    (void)position_.Ban.load(host_.positionString());
    for (int k = 0; k < kCellCount; ++k)
        DrawKoma(back(), position_.Ban.atNumber(k), k);
    DrawHands();
}

void ShogiBoardView::buildImageStrip() {
    const int w = geometry_.bmW(), h = geometry_.bmH();
    for (int side = 1; side <= 2; ++side) {
        QImage strip(kPieceKindCount * w, h, QImage::Format_RGB32);
        strip.fill(Qt::white);
        QPainter p(&strip);
        for (int k = 0; k < kPieceKindCount; ++k) {
            p.drawImage(k * w, 0, loadPieceImage(static_cast<Kind>(k), side));
        }
        p.end();
        strip_[static_cast<std::size_t>(side - 1)] = gamecommon::withWhiteTransparent(strip);
    }
    stripBuilt_ = true;
}

QImage ShogiBoardView::loadPieceImage(Kind kind, int side) const {
    QImage image(assetPath(imageName(kind, side)));
    if (image.isNull()) return fallbackPieceImage(kind, side);
    // Every image is drawn at the size of the first one.
    return image.convertToFormat(QImage::Format_RGB32).copy(0, 0, geometry_.bmW(), geometry_.bmH());
}

QImage ShogiBoardView::fallbackPieceImage(Kind kind, int side) const {
    const int w = geometry_.bmW(), h = geometry_.bmH();
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(1, 1, w - 3, h - 3);
    QFont font = p.font();
    font.setPixelSize(std::max(8, std::min(w, h) / 2));
    p.setFont(font);
    p.setPen(Qt::black);
    if (side == 2) {
        p.translate(w, h);
        p.rotate(180);
    }
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, pieceGlyph(kind));
    return image;
}

void ShogiBoardView::MakeBan(QPixmap& target) {
    const int W = geometry_.boardWidth(), H = geometry_.boardHeight();
    const int left = BoardGeometry::kBoardLeft;
    QPainter p(&target);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(kBoardColour);
    p.drawRect(left, 0, W, H);
    p.setPen(QPen(Qt::black, 1));
    for (int i = 1; i <= 8; ++i) {
        p.drawLine(left + i * geometry_.cellW(), 0, left + i * geometry_.cellW(), H);
        p.drawLine(left, i * geometry_.cellH(), left + W, i * geometry_.cellH());
    }
    p.end();
    blankPatch_ = target.copy(left + 1, 1, geometry_.bmW(), geometry_.bmH()).toImage();
}

void ShogiBoardView::DrawKoma(QPixmap& target, Cell cell, int k) {
    if (cell.isEmpty()) return;
    const int w = geometry_.bmW();
    QPainter p(&target);
    p.drawPixmap(geometry_.pieceOrigin(k), strip_[static_cast<std::size_t>(sideNumber(cell) - 1)],
                 QRect(kindIndex(cell.kind()) * w, 0, w, geometry_.bmH()));
}

void ShogiBoardView::DrawHands() {
    drawHandsInto(back());
}

void ShogiBoardView::drawHandsInto(QPixmap& target) {
    const int w = geometry_.bmW(), h = geometry_.bmH();
    QPainter p(&target);
    p.fillRect(geometry_.ownHandArea(), menuColour());
    p.fillRect(geometry_.oppHandArea(), menuColour());
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::white);
    p.setPen(Qt::black);
    const auto drawCount = [&](QPoint at, qint32 count) {
        const QString text = QLatin1Char(' ') + QString::number(count);
        p.drawText(QRect(at, QSize(w, h)), Qt::AlignLeft | Qt::AlignTop, text);
    };
    int n = 0;
    for (const HandEntry& e : position_.MyHand.entries) {
        if (e.count <= 0) continue;
        p.drawPixmap(geometry_.ownHandImage(n), strip_[0], QRect(kindIndex(e.code) * w, 0, w, h));
        drawCount(geometry_.ownHandCount(n), e.count);
        ++n;
    }
    n = 1;
    for (const HandEntry& e : position_.OppHand.entries) {
        if (e.count <= 0) continue;
        p.drawPixmap(geometry_.oppHandImage(n), strip_[1], QRect(kindIndex(e.code) * w, 0, w, h));
        drawCount(geometry_.oppHandCount(n), e.count);
        ++n;
    }
}

void ShogiBoardView::pasteBlank(QPixmap& target, Square s) {
    QPainter p(&target);
    p.drawImage(geometry_.pieceOrigin(s.cellNumber()), blankPatch_);
}

void ShogiBoardView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    lastMouse_ = event->position().toPoint();
    const auto cell = geometry_.cellAt(lastMouse_);
    std::optional<Cell> dragged;
    if (cell) dragged = position_.Ban.at(*cell);
    auto hand = geometry_.handPieceAt(position_.MyHand, lastMouse_);
    if (hand) dragged = Cell::own(*hand);
    if (!match_.MyTurn) hand.reset();

    finishRelease();
    drag_.origin = cell.value_or(Square{0, 0});
    if (dragged && match_.MyTurn && boardSetUp() && !match_.WatchMode) {
        drag_.dragging = true;
        drag_.piece = *dragged;
        drag_.fromHand = hand.has_value();
        // The piece leaves its cell when the mouse first moves; until then the
        // screen still shows it where it stands.
        drag_.originErasePending = !hand && !dragged->isOppPiece();
    }
    const Cell atOrigin = position_.Ban.at(drag_.origin);
    if (drag_.dragging && !hand && (atOrigin.isEmpty() || atOrigin.isOppPiece())) {
        drag_ = DragInfo{};
    }
}

void ShogiBoardView::mouseMoveEvent(QMouseEvent* event) {
    BoardView::mouseMoveEvent(event);
    if (!drag_.dragging || !drag_.piece.isOwnPiece()) return;
    lastMouse_ = event->position().toPoint();
    ensureSave();
    restoreBackFromSave();
    QPixmap image = strip_[0].copy(kindIndex(drag_.piece.kind()) * geometry_.bmW(), 0,
                                   geometry_.bmW(), geometry_.bmH());
    // The strip's own transparency is made again by the drag blend, from white.
    QImage piece(image.size(), QImage::Format_RGB32);
    piece.fill(Qt::white);
    QPainter(&piece).drawPixmap(0, 0, image);
    drawDragImage(piece, blankPatch_, lastMouse_);
    update();
}

void ShogiBoardView::ensureSave() {
    if (saveFilled()) return;
    if (drag_.originErasePending) {
        pasteBlank(back(), drag_.origin);
        drag_.originErasePending = false;
    }
    fillSaveFromBack();
}

void ShogiBoardView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (!drag_.dragging) {
        finishRelease();
        return;
    }
    const DragRelease release{drag_.piece, drag_.fromHand, drag_.origin,
                              geometry_.cellAt(lastMouse_)};
    const MoveAttemptHooks hooks{[this] { host_.lockChat(); },
                                 [this] { return host_.askPromotion(); }};
    const MoveOutcome outcome = AttemptMove(position_, release, hooks);
    // A move that arrives while a box is open redraws the board and ends this
    // drag: the screen then shows the new position and nothing is put back.
    if (!drag_.dragging) return;
    for (const QString& text : outcome.messages)
        host_.showRuleMessage(text);
    if (!drag_.dragging) return;

    switch (outcome.result) {
        case MoveResult::Refused:
            if (drag_.fromHand) {
                restoreBeforeDrag();
            } else {
                restorePiece();
            }
            break;
        case MoveResult::Moved:
            // A capture changes the hand in the clean picture the move is drawn from.
            ensureSave();
            if (outcome.captured) drawHandsInto(save());
            DrawMove(release.from, *release.to);
            host_.sendMove();
            playPieceSound();
            if (outcome.kingCaptured) host_.kingCaptured(outcome);
            break;
        case MoveResult::Dropped:
            DrawDrop(*release.to);
            host_.sendMove();
            DrawHands();
            update();
            playPieceSound();
            break;
    }
    finishRelease();
}

void ShogiBoardView::finishRelease() {
    drag_ = DragInfo{};
    clearSave();
}

void ShogiBoardView::restorePiece() {
    ensureSave();
    restoreBackFromSave();
    DrawKoma(back(), Cell::own(drag_.piece.kind()), drag_.origin.cellNumber());
    update();
}

void ShogiBoardView::restoreBeforeDrag() {
    ensureSave();
    restoreBackFromSave();
    update();
}

void ShogiBoardView::DrawMove(Square from, Square to) {
    ensureSave();
    restoreBackFromSave();
    pasteBlank(back(), to);
    DrawKoma(back(), position_.Ban.at(to), to.cellNumber());
    pasteBlank(back(), from);
    update();
}

void ShogiBoardView::DrawDrop(Square to) {
    ensureSave();
    restoreBackFromSave();
    pasteBlank(back(), to);
    DrawKoma(back(), position_.Ban.at(to), to.cellNumber());
    update();
}

}  // namespace shogi
