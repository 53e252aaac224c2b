#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

#include "gorules/board.h"
#include "gorules/positionstring.h"

namespace go {

// Everything the go program knows of its game besides the match state: the
// position string the board is drawn from, the board itself, the own colour,
// both capture counters and the two last moves. The board is refilled from
// the position string on every full redraw, except by the placement itself
// and by the removal of captured stones, which write it directly.
struct GoPosition {
    QString positionString = emptyBoardText();
    Ban ban;
    Stone ownColour = Stone::Black;  // white once move 1 arrives from the opponent
    qint32 MyCaptured = 0;           // stones this player has taken
    qint32 OppCaptured = 0;          // stones the opponent has taken, as he said
    // The stone that carried 8 or 9 in the last position drawn: the opponent's
    // last stone, drawn with the cross.
    std::optional<Point> LastMove;
    Point MyLastMove;  // this player's own last placement
};

}  // namespace go
