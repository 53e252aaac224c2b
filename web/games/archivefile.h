#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

#include "gamerecord.h"

namespace web {

// One game's file in the archive: text lines, each written whole and
// flushed as the game goes, so that a server killed at any moment leaves
// every line it finished. Fields are parted by tabs; player IDs are
// percent-encoded, so no field holds a tab or a line break.
//
//   quor-web-game 1
//   B  id  shogi|go  challenger  challenged  started
//   S  black  white                      (once the first move shows who)
//   M  mover  record-line  counts  last  (one per move)
//   E  how  winner|-  ended              (the end, last of all)
//
// The record line is the ".sho" or ".chs" line of the first player's
// program (recordlines.h). Counts are the pieces in hand (black's seven, then
// white's, in the hand's order) or the captures "black,white"; the last move
// is "-", shogi "7776" (origin "00" for a drop), go "4,4" or "pass".

QByteArray beginLines(const GameSummary& game);
QByteArray sidesLine(const GameSummary& game);
QByteArray moveLine(const Position& position);
QByteArray endLine(const GameSummary& game);

// Reads a game file written for game `id`. Nothing when the file is no game
// file of that id (foreign or damaged from its first lines). A line cut off
// (no line break after it) and everything from the first line that does not
// read are left out; a game without its end line is taken as ended at
// `noEndTime` without a known winner.
std::optional<GameRecord> readGameFile(const QByteArray& bytes, quint64 id,
                                       const QDateTime& noEndTime);

}  // namespace web
