#pragma once

#include "gorules/goposition.h"

namespace go {

// What placing the own stone did.
struct Placement {
    bool placed = false;    // false: not an empty point of the board, nothing changed
    bool captured = false;  // opponent stones were taken (the board needs a full redraw)
};

// The local player puts his stone on p: it is written on the board, every
// opponent group next to it that is left without a liberty is removed and
// counted in MyCaptured, the stone becomes MyLastMove, and the position
// string is rebuilt from the board, so that the move message and any later
// full redraw show it. A point off the board or already taken changes
// nothing.
Placement PlaceStone(GoPosition& position, Point p);

}  // namespace go
