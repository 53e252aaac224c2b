#pragma once

#include <QString>

#include "botoptions.h"

namespace bot {

// The engine a bot asks: the program named with --engine, else the game's
// usual one ("gnushogi", "gnugo") on the PATH or in /usr/games, where Debian
// puts games and which is not on every PATH. Empty when none is found.
QString engineProgram(GameKind game, const QString& chosen);

// The usual engine's name, for messages.
QString engineName(GameKind game);

}  // namespace bot
