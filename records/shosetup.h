#pragma once

#include <cstddef>
#include <vector>

#include "shogigame.h"

namespace records {

// A shogi record begun during a game (recording switched on after the first
// move) starts with a position that is no move from the usual start. Its
// first line becomes a set-up; what the line does not hold is worked out from
// the record itself.

// Whose view a position is kept in, told by the kings' codes: the first
// player's king is "Gy" and the second's "Ou" in every position the programs
// exchange after the first move, whichever of them keeps the record. When the
// codes say nothing (or contradict each other) the first player's.
Player recorderByKings(const shogi::Board& seen);

// The hands at the set-up. A line holds no hands, so the pieces off the board
// (`offBoard`) are placed by what the moves from the set-up show: a side that
// drops a piece it has not taken since held it, and is given the fewest that
// makes every drop possible. The pieces no drop shows go to the player who is
// not to move at the set-up: he made the move before it, the one most likely
// to have taken something, and so the player to move is given no drop the
// record does not show him making.
struct SetUpHands {
    shogi::Hand first;
    shogi::Hand second;
    shogi::Hand unshown;  // the part of them no drop showed
    // The moves whose drops both hands can supply: all of them, or up to the
    // first drop of a piece that is on the board or already given to the
    // other player.
    std::size_t movesThatFit = 0;
};

SetUpHands handsForSetUp(const shogi::Hand& offBoard, Player toMove,
                         const std::vector<PlayedMove>& moves);

}  // namespace records
