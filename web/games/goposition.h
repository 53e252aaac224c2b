#pragma once

#include <QStringView>
#include <optional>

#include "gamerecord.h"

namespace web {

// A relayed go move message turned into the position it reaches. The sender
// writes the board turned through 180 degrees for the receiver, so a stone of
// black arrives in white's view and is turned back: every position is kept
// as black sees it. The stone marked is the one the message marks (or, when
// none is marked, the one new stone of the mover); a board left as it was is
// a pass. The stones of the other colour that went are added to the mover's
// captures: the count the message carries runs on over every game of a
// session and says nothing of this one. Nothing when the message is no move
// message.
std::optional<GoState> goStateAfter(const GoState& before, Colour mover, QStringView message);

}  // namespace web
