#pragma once

#include <functional>
#include <vector>

#include "shogirules/moveattempt.h"
#include "shogirules/position.h"

namespace shogi {

// One move the local player can make, made the way a player makes it: the
// release of a drag, the answer to "成りますか？" where it is asked, and what
// the rules made of it.
struct LegalMove {
    DragRelease release;
    bool promote = false;  // the answer given (false where nothing was asked)
    ShogiPosition after;   // the position after the move, as the mover sees it
    MoveOutcome outcome;
};

// Calls `visit` for every move the local player can make in `p`: every own
// piece released on every cell it can reach, the promotion answered Yes and
// then No where it is asked, every hand piece released on every empty cell.
// Only what AttemptMove accepts is visited, in this order.
void ForEachLegalMove(const ShogiPosition& p, const std::function<void(const LegalMove&)>& visit);

// All of them, in the same order.
std::vector<LegalMove> LegalMoves(const ShogiPosition& p);

// The position as the opponent sees it once a move has reached him: the
// board turned and the hands swapped.
ShogiPosition TurnedForOpponent(const ShogiPosition& p);

}  // namespace shogi
