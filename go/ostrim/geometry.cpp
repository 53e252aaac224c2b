#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace go {

namespace {

int nearest(double v) {
    return static_cast<int>(std::nearbyint(v));
}

constexpr int kMinCell = 8;
// Room for a capture count and for a clock text ("0h00m00s"), and a margin.
constexpr int kCounterTextWidth = 60;
constexpr int kClockTextWidth = 90;
constexpr int kTextHeight = 20;
constexpr int kMargin = 10;

}  // namespace

GoGeometry::GoGeometry(int cellW, int cellH)
    : cellW_(std::max(cellW, kMinCell)), cellH_(std::max(cellH, kMinCell)) {}

QSize GoGeometry::clientSize() const {
    const int right = std::max({iconRect().right() + 1, myCapturedText().x() + kCounterTextWidth,
                                oppClockText().x() + kClockTextWidth});
    const int bottom =
        std::max(stoneOrigin(kPointCount - 1).y() + cellH_, ownClockText().y() + kTextHeight);
    return {right + kMargin, bottom + kMargin};
}

QPoint GoGeometry::intersection(Point p) const {
    return {kLeft + p.x * colStep(), kTop + p.y * rowStep()};
}

QLine GoGeometry::verticalLine(int i) const {
    const int x = kLeft + i * colStep();
    return {x, kTop, x, kTop + boardHeight()};
}

QLine GoGeometry::horizontalLine(int i) const {
    const int y = kTop + i * rowStep();
    return {kLeft, y, kLeft + boardWidth(), y};
}

std::array<Point, 9> GoGeometry::starPoints() {
    std::array<Point, 9> stars;
    std::size_t n = 0;
    for (int y : {3, 9, 15})
        for (int x : {3, 9, 15})
            stars[n++] = {x, y};
    return stars;
}

QPoint GoGeometry::stoneOrigin(int k) const {
    const Point p = Point::fromNumber(k);
    return {nearest(kLeft + 1 + p.x * colStep() - cellW_ / 2.0),
            nearest(kTop + 1 + p.y * rowStep() - cellH_ / 2.0)};
}

std::array<QLine, 2> GoGeometry::crossLines(Point p) const {
    const int cx = p.x * colStep() + kLeft;
    const int cy = p.y * rowStep() + kTop;
    return {QLine(cx - 5, cy, cx + 5, cy), QLine(cx, cy - 5, cx, cy + 5)};
}

int GoGeometry::iconX() const {
    return nearest(boardWidth() + kLeft + cellW_ / 2.0 + 20);
}

bool GoGeometry::picksIcon(QPoint mouse) const {
    const int ix = iconX();
    return ix < mouse.x() && mouse.x() < ix + cellW_ && kTop < mouse.y() &&
           mouse.y() < kTop + cellH_;
}

std::optional<Point> GoGeometry::pointNearMouse(int mx, int my) const {
    const double halfW = cellW_ / 2.0;
    const double halfH = cellH_ / 2.0;
    if (mx < kLeft - halfW || mx > 1.5 * boardWidth() + kLeft) return std::nullopt;
    if (my < kTop - halfH || my > 1.5 * boardHeight() + kTop) return std::nullopt;
    const int x = static_cast<int>(std::floor((mx - kLeft - halfW) / colStep())) + 1;
    const int y = static_cast<int>(std::floor((my - kTop - halfH) / rowStep())) + 1;
    return Point{x, y};
}

QString GoGeometry::PointFromMouse(int mx, int my) const {
    const auto p = pointNearMouse(mx, my);
    if (!p) return {};
    return QStringLiteral("%1%2")
        .arg(p->x, 2, 10, QLatin1Char('0'))
        .arg(p->y, 2, 10, QLatin1Char('0'));
}

std::optional<Point> GoGeometry::dropPoint(const Ban& ban, int mx, int my) const {
    // A player aims at the lines: an edge point takes a drop up to half a
    // cell beyond its line, as every other point does on its sides.
    const double halfW = cellW_ / 2.0;
    const double halfH = cellH_ / 2.0;
    if (mx < kLeft - halfW || mx > kLeft + boardWidth() + halfW) return std::nullopt;
    if (my < kTop - halfH || my > kTop + boardHeight() + halfH) return std::nullopt;
    const auto near = pointNearMouse(mx, my);
    if (!near) return std::nullopt;
    // The mapping gives column (row) 19 to the last pixel or so within half a
    // cell beyond the right (bottom) line: that is still the edge point's.
    const Point p{std::min(near->x, kLastLine), std::min(near->y, kLastLine)};
    if (ban.at(p) != Stone::Empty) return std::nullopt;
    return p;
}

QPoint GoGeometry::dragStoneOrigin(QPoint cursor) const {
    return {nearest(cursor.x() - cellW_ / 2.0), nearest(cursor.y() - cellH_ / 2.0)};
}

QPoint GoGeometry::myCapturedText() const {
    return {nearest(boardWidth() + kLeft + colStep() / 2.0 + 20),
            nearest(boardHeight() / 2.0 + kTop)};
}

}  // namespace go
