#pragma once

#include <vector>

#include "framingrules.h"

namespace gamecommon {

// Where the messages of a game connection begin and end, as data for the
// socket layer's framer.

// The game messages ("SYOUGI_MSG" + type digit) as any of their receivers
// reads them: a shogi move ends with ":END", a go move after the 361 digits of
// its board and two more fields, the acknowledgement is a fixed text, and the
// other messages (chat lines, canned lines) have no end of their own: they run
// to the next game message.
std::vector<net::MessageKind> gameMessageKinds();

// A game program: the game messages, the watch messages of the lobby server
// ("WatchMsg|" wrapping a shogi or go move, "WatchData|"), and the lobby login
// line of a game program that connects to it directly ("GameLogin|").
net::FramingRules gameProgramFraming();

}  // namespace gamecommon
