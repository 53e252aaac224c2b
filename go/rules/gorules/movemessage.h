#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "gorules/board.h"

namespace go {

// The go move message: "SYOUGI_MSG2:" points ":" moveNo ":" captured, and
// nothing after it. The 361 point digits run from the sender's point 360 down
// to point 0, so the receiver, reading them from point 0 up, sees the board
// turned through 180 degrees into its own view; the stone just played carries
// 9 (black) or 8 (white) so the receiver can draw its cross.

// The message after a placement on `myLastMove`: `moveNo` is the number of the
// move just made, `myCaptured` the sender's running capture count. An empty
// `myLastMove` point has no stone to mark and is written as 2.
QString BuildMoveMsg(const Ban& ban, Point myLastMove, qint32 moveNo, qint32 myCaptured);

// A received move, checked in full.
struct ReceivedMove {
    QString positionString;  // field 1's characters joined by ",", in the order received
    qint32 moveNo = 0;       // 1 for the first move of a game
    qint32 captured = 0;     // the sender's capture count: the receiver's OppCaptured
};

// Takes a move message apart. Nothing unless it has exactly the four fields,
// field 1 is 361 digits of 0, 1, 2, 8, 9 with at most one 8 or 9, field 2 a
// move number from 1 to kMaxMoveNo and field 3 a count from 0 to kMaxCaptured
// (leading blanks skipped in both).
std::optional<ReceivedMove> parseMoveMsg(QStringView text);

// Beyond any real game, and far from the 32-bit limit.
inline constexpr qint32 kMaxMoveNo = 1000000;
// The count runs on over every game of a session (neither Initialise nor a new
// game resets it), so it is not bounded by the 361 points.
inline constexpr qint32 kMaxCaptured = 10000000;

// A number as the messages write it: one leading blank before a value >= 0.
QString numberText(qint32 value);

}  // namespace go
