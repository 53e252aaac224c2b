#include "boardgeometry.h"

#include <algorithm>
#include <cmath>

namespace shogi {

namespace {

int roundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// Room right of the board for the clock texts ("0h00m00s" and a little).
constexpr int kClockTextWidth = 90;

}  // namespace

BoardGeometry::BoardGeometry(int bmW, int bmH) : bmW_(std::max(bmW, 8)), bmH_(std::max(bmH, 8)) {}

QSize BoardGeometry::clientSize() const {
    const int handRight = ownHandX() + bmW_ + 4;
    const int clockRight = boardWidth() + 105 + kClockTextWidth;
    return {std::max(handRight, clockRight), boardHeight() + 2};
}

QPoint BoardGeometry::pieceOrigin(int k) const {
    return {kBoardLeft + 1 + (k % 9) * cellW(), 1 + (k / 9) * cellH()};
}

std::optional<Square> BoardGeometry::cellAt(QPoint p) const {
    if (p.x() < kBoardLeft || p.x() >= kBoardLeft + boardWidth()) return std::nullopt;
    if (p.y() < 0 || p.y() >= boardHeight()) return std::nullopt;
    return Square{(p.x() - kBoardLeft) / cellW(), p.y() / cellH()};
}

int BoardGeometry::ownHandX() const {
    return roundHalfEven(kBoardLeft + boardWidth() + bmW_ / 2.0);
}

QPoint BoardGeometry::ownHandImage(int n) const {
    return {ownHandX(), n * bmH_};
}

QPoint BoardGeometry::ownHandCount(int n) const {
    return {roundHalfEven(kBoardLeft + boardWidth() + 1.5 * bmW_ - 16), (n + 1) * bmH_ - 20};
}

QRect BoardGeometry::ownHandArea() const {
    return QRect(QPoint(ownHandX(), 0), QPoint(ownHandX() + bmW_ + 2, 7 * bmH_));
}

int BoardGeometry::oppHandX() const {
    return roundHalfEven(kBoardLeft - 1.5 * bmW_);
}

QPoint BoardGeometry::oppHandImage(int n) const {
    return {oppHandX(), boardHeight() - n * bmH_};
}

QPoint BoardGeometry::oppHandCount(int n) const {
    return {kBoardLeft - bmW_ + 5, boardHeight() - n * bmH_ + 2};
}

QRect BoardGeometry::oppHandArea() const {
    const int left = roundHalfEven(kBoardLeft - 1.5 * bmW_ - 1);
    return QRect(QPoint(left, boardHeight() - 7 * bmH_), QPoint(left + bmW_ + 4, boardHeight()));
}

std::optional<Kind> BoardGeometry::handPieceAt(const Hand& myHand, QPoint p) const {
    const int i = roundHalfEven(p.x() - (kBoardLeft + boardWidth() + bmW_ / 2.0));
    if (!(i > 0 && i < bmW_) || p.y() < 0) return std::nullopt;
    const int r = p.y() / bmH_ + 1;
    int shown = 0;
    for (const HandEntry& e : myHand.entries) {
        if (e.count > 0 && ++shown == r) return e.code;
    }
    return std::nullopt;
}

}  // namespace shogi
