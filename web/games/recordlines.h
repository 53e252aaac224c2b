#pragma once

#include <QString>
#include <QStringList>

#include "gamerecord.h"

namespace web {

// The line a game program's record (".sho", ".chs") holds for a position, as
// the first player's program keeps it: shogi, the position string of his
// view; go, every point in two digits after his own stone and, after his
// opponent's, the digits as they arrived with the stone marked.
QString recordLine(const Position& position);

// Those lines for every move of a game, in order (the start has none).
QStringList recordLines(const GameRecord& game);

}  // namespace web
