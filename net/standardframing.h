#pragma once

#include "framingrules.h"

namespace net {

// The three receivers of the system, each with the messages it can be sent.

// A game program: game messages ("SYOUGI_MSG" + type digit), the watch messages
// of the lobby server ("WatchMsg|" wrapping a shogi or go move, "WatchData|"),
// and the lobby login line of a game program that connects to it directly
// ("GameLogin|").
FramingRules gameProgramFraming();

// The lobby client: the lobby server's messages, each ending with "|END".
FramingRules lobbyClientFraming();

// The lobby server: the lobby clients' messages, each ending with "|END", and
// what game programs send it (their login line and game messages).
FramingRules lobbyServerFraming();

}  // namespace net
