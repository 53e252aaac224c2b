#pragma once

#include <QString>
#include <vector>

#include "shogirules/legalmoves.h"

namespace bench {

// Real shogi traffic and work for the benchmarks, made with the rules the
// game program itself runs.

// The number of move sequences of `depth` plies from `p`.
long long perft(const shogi::ShogiPosition& p, int depth);

// The positions of a game played from the start by a seeded choice among the
// legal moves that do not take the king, each as its mover sees it right
// after his move; a game with no such move left starts again.
std::vector<shogi::ShogiPosition> playedPositions(int plies, unsigned seed);

// The move messages of such a game as the game programs send them, move k+1
// at index k: 81 board items, both hands, the move number twice and ":END".
std::vector<QString> playedMoveMessages(int plies, unsigned seed);

}  // namespace bench
