#pragma once

#include <QStringView>
#include <optional>

#include "gamerecord.h"

namespace web {

// A relayed shogi move message turned into the position it reaches, in the
// first player's view. The message carries the board as its receiver will
// see it (turned, sides exchanged) and the receiver's hand first: so a move
// of black arrives in white's view and is turned back, and the hands are
// taken by whose they are. The move marked is the one piece of the mover
// that left a square and the one that arrived on another (or was dropped);
// a position no single move reaches (a program out of step) is kept all the
// same, without a mark. Nothing when the message is no move message. The
// move number the message gives goes to `moveNumber`, when given.
std::optional<ShogiState> shogiStateAfter(const ShogiState& before, Colour mover,
                                          QStringView message, qint32* moveNumber = nullptr);

// Whether `loser`'s king stood on `before` and is gone from `after`.
bool kingTaken(const ShogiState& before, const ShogiState& after, Colour loser);

}  // namespace web
