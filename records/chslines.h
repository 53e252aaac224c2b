#pragma once

#include <QStringList>

#include "gogame.h"
#include "lineproblem.h"

namespace records {

// A go program's record (".chs"): line n is the board after the n-th stone,
// as the player who kept it saw it. After his own stone every point is
// written with two digits ("00", "01", "02"); after the opponent's, as it
// arrived, with one digit and the new stone marked 9 (black) or 8 (white). So
// the lines themselves tell whose record it is.

struct ChsRead {
    GoGame game;
    go::Stone recorder = go::Stone::Black;
    // Lines that are not one stone after the line before (a record begun
    // during a game, a missing move) are kept as set-ups and named here; a
    // line that is no position ends the conversion and is named last.
    LineProblems problems;
};

ChsRead readChs(const QStringList& lines);

// The record of `game` as `recorder` keeps it. A set-up is written as after
// an own stone: it has no last stone to mark.
QStringList chsLines(const GoGame& game, go::Stone recorder);

}  // namespace records
