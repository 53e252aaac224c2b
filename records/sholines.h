#pragma once

#include <QStringList>

#include "lineproblem.h"
#include "shogigame.h"

namespace records {

// A shogi program's record (".sho"): line n is the board after the n-th move,
// as the player who kept the record saw it (his pieces at the bottom), with no
// hands, no names and no numbers.
//
// Which player kept it is not written in the file; the first move tells. When
// line 1 is the start with one piece of the bottom player moved, he moved
// first; when it is the start with one piece of the top player moved, the
// record was kept by the second player and every line is turned for the first
// player's view, which KIF and CSA draw.
//
// A record begun during a game (recording switched on after the first move)
// starts with a position no move from the start. Its first line is set up:
// the kings' codes tell whose view it is, the move to line 2 whose turn it
// is, and the drops after it whose hands the pieces off the board are in.

struct ShoRead {
    ShogiGame game;
    Player recorder = Player::First;
    // Empty when every line was converted. Else: line 1 when it was set up
    // (with what was assumed there) or could not be; and the one line where
    // the conversion stopped (a missing move, a second game after "初期化", a
    // damaged line): the moves before it are kept.
    LineProblems problems;
};

ShoRead readSho(const QStringList& lines);

// The record of `game` as `recorder` keeps it: one position line per move,
// two digits per item, after a line of the set-up when the game has one.
QStringList shoLines(const ShogiGame& game, Player recorder);

}  // namespace records
