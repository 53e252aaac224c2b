#include "goposition.h"

#include "gorules/movemessage.h"
#include "gorules/positionstring.h"

namespace web {

namespace {

using go::Point;
using go::Stone;

Stone stoneOf(Colour c) {
    return c == Colour::Black ? Stone::Black : Stone::White;
}

// The one point that holds a stone of `colour` now and did not before.
std::optional<Point> newStone(const go::Ban& before, const go::Ban& after, Stone colour) {
    std::optional<Point> found;
    for (int k = 0; k < go::kPointCount; ++k) {
        const Point p = Point::fromNumber(k);
        if (after.at(p) != colour || before.at(p) == colour) continue;
        if (found) return std::nullopt;
        found = p;
    }
    return found;
}

int stonesTaken(const go::Ban& before, const go::Ban& after, Stone taken) {
    int count = 0;
    for (int k = 0; k < go::kPointCount; ++k) {
        const Point p = Point::fromNumber(k);
        if (before.at(p) == taken && after.at(p) != taken) ++count;
    }
    return count;
}

}  // namespace

std::optional<GoState> goStateAfter(const GoState& before, Colour mover, QStringView message) {
    const auto move = go::parseMoveMsg(message);
    if (!move) return std::nullopt;
    std::optional<QString> text = move->positionString;
    if (mover == Colour::Black) text = go::turnPosition(*text);
    const auto seen = text ? go::readPosition(*text) : std::nullopt;
    if (!seen) return std::nullopt;

    GoState after = before;
    after.board = seen->ban;
    const int taken = stonesTaken(before.board, after.board, stoneOf(otherColour(mover)));
    (mover == Colour::Black ? after.blackCaptures : after.whiteCaptures) += taken;
    if (seen->lastMove && after.board.at(*seen->lastMove) == stoneOf(mover))
        after.last = GoLast{seen->lastMove};
    else if (after.board == before.board)
        after.last = GoLast{};
    else if (const auto placed = newStone(before.board, after.board, stoneOf(mover)))
        after.last = GoLast{placed};
    else
        after.last.reset();
    return after;
}

}  // namespace web
