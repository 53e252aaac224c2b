#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "gogame.h"
#include "lineproblem.h"
#include "recordplayers.h"

namespace records {

// SGF (FF[4]), the record format every go program reads: a root node with
// FF[4]GM[1]SZ[19], then one node per stone, B[pd] or W[dp] (column letter
// first, from "a" at the left and the top). A game begun during play starts
// with its stones set up in the root (AB, AW) and PL naming the player to
// move; a gap in a record becomes a set-up node (AB, AW, AE) in its place.

// The players' names, where known, go into the root (PB, PW).
QString sgfText(const GoGame& game, go::Stone recorder, const RecordPlayers& players = {});

struct SgfImport {
    GoGame game;
    std::optional<go::Stone> recorder;  // from the file's view property, when it has one
    LineProblems problems;              // why nothing can be written
};

// Reads the main line (the first variation at every branch) of the first
// game. Stones and set-ups become nodes; passes at the end are dropped (a
// record has no line for them); a pass before further moves, a board other
// than 19 x 19, a game other than go, a stone on a taken point or a file
// that is cut off or no SGF stops it.
SgfImport readSgf(const QByteArray& bytes);

}  // namespace records
