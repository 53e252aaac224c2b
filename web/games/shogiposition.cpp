#include "shogiposition.h"

#include <vector>

#include "shogirules/movemessage.h"

namespace web {

namespace {

using shogi::Board;
using shogi::Cell;
using shogi::Side;
using shogi::Square;

Side sideOf(Colour c) {
    return c == Colour::Black ? Side::Own : Side::Opp;
}

bool belongsTo(Cell cell, Colour c) {
    return !cell.isEmpty() && cell.side() == sideOf(c);
}

bool hasKing(const Board& board, Colour c) {
    for (int k = 0; k < shogi::kCellCount; ++k) {
        const Cell cell = board.atNumber(k);
        if (belongsTo(cell, c) && shogi::isKing(cell.kind())) return true;
    }
    return false;
}

// The move the mover's pieces show between the boards: one square he now
// holds anew, and the one he left (none for a drop).
std::optional<ShogiLast> lastMove(const Board& before, const Board& after, Colour mover) {
    std::vector<Square> arrived;
    std::vector<Square> left;
    for (int k = 0; k < shogi::kCellCount; ++k) {
        const Square s = Square::fromCellNumber(k);
        const Cell was = before.at(s);
        const Cell now = after.at(s);
        if (was == now) continue;
        if (belongsTo(now, mover)) arrived.push_back(s);
        if (belongsTo(was, mover) && now.isEmpty()) left.push_back(s);
    }
    if (arrived.size() != 1 || left.size() > 1) return std::nullopt;
    ShogiLast last{arrived.front(), std::nullopt};
    if (!left.empty()) last.from = left.front();
    return last;
}

}  // namespace

std::optional<ShogiState> shogiStateAfter(const ShogiState& before, Colour mover,
                                          QStringView message) {
    const auto move = shogi::parseMoveMsg(message);
    if (!move) return std::nullopt;
    ShogiState after;
    after.board = move->board;
    if (mover == Colour::Black) {
        after.board = after.board.rotated();
        after.white = move->myHand;
        after.black = move->oppHand;
    } else {
        after.black = move->myHand;
        after.white = move->oppHand;
    }
    after.last = lastMove(before.board, after.board, mover);
    return after;
}

bool kingTaken(const ShogiState& before, const ShogiState& after, Colour loser) {
    return hasKing(before.board, loser) && !hasKing(after.board, loser);
}

}  // namespace web
