#include "gorules/placement.h"

#include "gorules/capture.h"

namespace go {

Placement PlaceStone(GoPosition& position, Point p) {
    if (!p.isOnBoard() || position.ban.at(p) != Stone::Empty) return {};
    const Stone own = position.ownColour;
    if (!position.ban.set(p, own)) return {};
    position.MyLastMove = p;
    CaptureSearch search(position.ban);
    const bool captured = search.CheckCapture(p, own, position.MyCaptured);
    position.positionString = positionString(position.ban);
    return {true, captured};
}

}  // namespace go
