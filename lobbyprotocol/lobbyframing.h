#pragma once

#include "framingrules.h"

namespace lobby {

// Where the messages of a lobby connection begin and end, as data for the
// socket layer's framer.

// The lobby client: the lobby server's messages, each ending with "|END".
net::FramingRules lobbyClientFraming();

// The lobby server: the lobby clients' messages, each ending with "|END", and
// what game programs send it (their login line and game messages).
net::FramingRules lobbyServerFraming();

}  // namespace lobby
