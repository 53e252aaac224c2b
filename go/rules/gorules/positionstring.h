#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "gorules/board.h"

namespace go {

// The position string carries a whole board between the board, the screen,
// the move message and the game record: 361 stone codes joined by ",", point
// 0 first (row 0, x fastest). Besides 0, 1 and 2 the codes 8 (white) and 9
// (black) mark the stone played last, so the receiver can draw its cross.

inline constexpr char16_t kWhiteLastCode = u'8';
inline constexpr char16_t kBlackLastCode = u'9';

// One point's code as read: the stone and whether it was marked as last.
struct PointCode {
    Stone stone = Stone::Empty;
    bool last = false;
};

// A single code character: '0', '1', '2', or '8'/'9' for a marked white or
// black stone (code c stands for stone 9 - c); nothing for anything else.
std::optional<PointCode> decodePointCode(QChar c);

// The code character of a stone: '0', '1', '2'; marked: '9' for black, '8'
// for white, and an empty point stays '2' since it has no stone to mark.
QChar pointCodeChar(Stone s, bool last = false);

// A board read from a position string, with the point that carried 8 or 9.
struct MarkedBan {
    Ban ban;
    std::optional<Point> lastMove;
};

// Reads a position string: exactly 361 items, each one character of 0, 1, 2,
// 8, 9 (or that character after a "0", as a record line writes the codes
// after an own move), and at most one 8 or 9. Nothing for anything else.
std::optional<MarkedBan> readPosition(QStringView text);

// The board with codes 0, 1 and 2 only, as rebuilt after a capture.
QString positionString(const Ban& ban);

// The board with the stone on `lastMove` marked 8 or 9.
QString positionString(const Ban& ban, Point lastMove);

// The line a game record holds after an own move: every code as two digits
// ("00", "01", "02"), joined by ",".
QString recordLine(const Ban& ban);

// The empty board: "2," 361 times without the last comma.
QString emptyBoardText();

// The position as the other player sees it, turned through 180 degrees:
// point k takes the code of point 360 - k. Nothing for a malformed string.
std::optional<QString> turnPosition(QStringView text);

}  // namespace go
