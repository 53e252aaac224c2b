#include "shogiposition.h"

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
    int arrivals = 0;
    int departures = 0;
    ShogiLast last{};
    for (int k = 0; k < shogi::kCellCount; ++k) {
        const Cell was = before.atNumber(k);
        const Cell now = after.atNumber(k);
        if (was == now) continue;
        const Square s = Square::fromCellNumber(k);
        if (belongsTo(now, mover) && ++arrivals == 1) last.to = s;
        if (belongsTo(was, mover) && now.isEmpty() && ++departures == 1) last.from = s;
    }
    if (arrivals != 1 || departures > 1) return std::nullopt;
    return last;
}

}  // namespace

std::optional<ShogiState> shogiStateAfter(const ShogiState& before, Colour mover,
                                          QStringView message, qint32* moveNumber) {
    const auto move = shogi::parseMoveMsg(message);
    if (!move) return std::nullopt;
    if (moveNumber) *moveNumber = move->moveNo;
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
