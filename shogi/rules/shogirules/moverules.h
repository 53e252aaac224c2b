#pragma once

#include <QStringList>

#include "shogirules/board.h"

namespace shogi {

// The movement and safety rules for the local player (side 1), whose pieces
// move toward row 0. An opponent piece moves like an own piece of the same
// kind turned upside down, so its attacks are the own movement run backwards:
// the opponent piece on A attacks B exactly when CanReach(A, B, its kind).
//
// The rules are the game's as the players know them here: no checkmate test,
// promotion offered but never forced, no rule on a pawn drop that mates, and
// drops are not tested for leaving the own king in check.

// Step code of a one-cell or knight move from `from` to `to`: 1..8 clockwise
// from forward-left, 9 and 10 the knight's jumps; 0 for any other shape.
int StepCode(Square from, Square to);

// Slide code of a straight or diagonal move of two or more cells whose cells
// in between are all empty: 1 forward, 2 right, 3 back, 4 left, 5 forward
// left, 6 back right, 7 forward right, 8 back left; 0 otherwise.
int SlideCode(const Board& board, Square from, Square to);

// True when a side-1 piece of `kind` on S could move to D on this board.
bool CanReach(const Board& board, Square d, Square s, Kind kind);

// True when some opponent piece attacks `target` (the first attacker found,
// scanning rows 0..8 and columns 0..8, ends the scan).
bool IsAttacked(const Board& board, Square target);

// For a piece other than a king: whether moving it from F to T (a capture on
// T simply overwritten) leaves the own king attacked.
bool LeavesKingAttacked(const Board& board, Square t, Square f);

// For a king: whether T is attacked once the king is lifted off F, so the king
// cannot shelter behind its own cell on a line of attack.
bool SquareAttacked(const Board& board, Square t, Square f);

// Whether the own king stands attacked.
bool InCheck(const Board& board);

// The whole test for moving the own piece `piece` from F to T. The king test
// runs even when the shape is wrong, so in check a wrong shape still says why.
// Message texts are appended to `messages` (when given) in the order shown.
bool IsLegalMove(const Board& board, Square t, Square f, Cell piece, QStringList* messages);

// The drop rules for putting a hand piece on T; the caller tests emptiness.
bool IsLegalDrop(const Board& board, Square t, Cell piece, QStringList* messages);

}  // namespace shogi
