#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "shogirules/board.h"
#include "shogirules/hand.h"

namespace shogi {

// Everything the rules read and change: the board and both hands, always from
// the local player's point of view (side 1 at the bottom).
struct ShogiPosition {
    Board Ban = Board::initial();
    Hand MyHand;
    Hand OppHand;

    // The initial position with empty hands (the "初期化" menu item).
    void reset();

    // Takes a captured opponent piece into MyHand, unpromoted. Returns true
    // when the piece was a king; no hand entry changes then.
    bool CapturePiece(Cell captured);

    // The cell of the own king ("Gy1" or "Ou1"), scanning rows 0..8 and in each
    // row columns 0..8; (0, 0) when no own king stands on the board.
    Square FindOwnKing() const;

    friend bool operator==(const ShogiPosition&, const ShogiPosition&) = default;
};

Square FindOwnKing(const Board& board);

// The cell of the own king, or nothing when none stands on the board (the
// king was just taken).
std::optional<Square> ownKingSquare(const Board& board);

// A watcher shows every game from one player's side: for an even move number
// the received position string is turned to the other player's view (written
// again with two-digit items) and the two hands are exchanged; for an odd one
// nothing changes. A malformed position string changes nothing and is
// reported.
std::optional<PositionError> RotatePosition(int moveNo, QString& positionString, Hand& myHand,
                                            Hand& oppHand);

}  // namespace shogi
