#pragma once

#include <QString>
#include <QStringList>

#include "recordplayers.h"
#include "shogiimport.h"

namespace records {

// KIF, the text record most shogi viewers read and write: a few header lines
// ("手合割：平手"), the table header, then one numbered line per move with its
// destination, the piece as it stood, "成" for a promotion and the origin in
// brackets, or "打" for a drop; "同" takes the place of a destination equal
// to the one before. A declined promotion is written without a mark, as the
// widely read KIF files are (one reader used everywhere takes "不成" for the
// end of the game); reading accepts it.

// The players' names, where known, go into the header ("先手：", "後手：").
QString kifText(const ShogiGame& game, Player recorder, const RecordPlayers& players = {});

// Reads the main line of a KIF from the usual start. Comment lines, times,
// the end-of-game line and variations are passed over; a handicap, a starting
// diagram, a move the rules forbid or a line that is no KIF stops it.
ShogiImport readKif(const QStringList& lines);

}  // namespace records
