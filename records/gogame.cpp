#include "gogame.h"

#include "gorules/capture.h"

namespace records {

using go::Ban;
using go::Point;
using go::Stone;

namespace {

bool placeOn(Ban& ban, Stone colour, Point p) {
    if (!p.isOnBoard() || ban.at(p) != Stone::Empty) return false;
    ban.set(p, colour);
    qint32 taken = 0;
    go::CaptureSearch(ban).CheckCapture(p, colour, taken);
    return true;
}

}  // namespace

bool GoGame::place(Stone colour, Point p) {
    Ban next = board();
    if ((colour != Stone::Black && colour != Stone::White) || !placeOn(next, colour, p))
        return false;
    nodes_.push_back({colour, p, next});
    return true;
}

void GoGame::setUp(const Ban& board) {
    nodes_.push_back({std::nullopt, {}, board});
}

std::optional<GoGame::Placement> GoGame::placementTo(const Ban& next) const {
    // The one point that was empty and holds a stone now.
    std::optional<Placement> placed;
    for (int k = 0; k < go::kPointCount; ++k) {
        const Point p = Point::fromNumber(k);
        const Stone before = board().at(p);
        const Stone now = next.at(p);
        if (before != Stone::Empty || now == Stone::Empty) continue;
        if (placed) return std::nullopt;
        placed = Placement{now, p};
    }
    if (!placed) return std::nullopt;
    Ban trial = board();
    if (!placeOn(trial, placed->colour, placed->point) || !(trial == next)) return std::nullopt;
    return placed;
}

}  // namespace records
