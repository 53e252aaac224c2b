#pragma once

#include <QString>
#include <QStringList>

#include "recordplayers.h"
#include "shogiimport.h"

namespace records {

// CSA, the record format of computer shogi (version 2.2): "V2.2", the usual
// start "PI" with "+" to move, then one move per line, "+7776FU": the player's
// sign, the origin ("00" for a drop), the destination and the piece as it
// stands after the move, so a promotion shows as the promoted piece.

// The players' names, where known, follow "N+" and "N-".
QString csaText(const ShogiGame& game, Player recorder, const RecordPlayers& players = {});

// Reads the first game of a CSA file from the usual start: names, game
// information, times and comments are passed over; statements may share a
// line, split by ","; "%" ends the moves. A handicap or other start, a move
// the rules forbid or a line that is no CSA stops it.
ShogiImport readCsa(const QStringList& lines);

}  // namespace records
