#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "shogirules/position.h"

namespace shogi {

// What the board window knows when the player lets go of a dragged piece.
struct DragRelease {
    Cell piece;                // the dragged piece; a hand piece is its kind on side 1
    bool fromHand = false;     // picked from the own hand rather than the board
    Square from;               // origin cell of a board piece
    std::optional<Square> to;  // release cell, nothing when released off the board
};

// Things the move attempt needs from the window while it runs, in order: the
// send lock goes on as soon as a board move is known to be legal, before the
// promotion question is asked. Either may be left empty (no lock, no promotion).
struct MoveAttemptHooks {
    std::function<void()> setSendLock;
    std::function<bool()> askPromotion;  // "成りますか？" answered Yes?
};

enum class MoveResult {
    Refused,  // nothing changed; the window puts the picture back
    Moved,    // a board piece moved (maybe promoted, maybe captured)
    Dropped,  // a hand piece was put on the board
};

// The result of one release. After Moved or Dropped the window draws the move,
// sends the position and plays the piece sound; when a king was taken it then
// sends `endOfGameMessage` and shows `resultText`, and the clocks stop.
struct MoveOutcome {
    MoveResult result = MoveResult::Refused;
    QStringList messages;  // shown one by one, in this order, with OK
    bool promoted = false;
    std::optional<Cell> captured;  // the opponent piece taken, as it stood
    bool kingCaptured = false;
    QString endOfGameMessage;  // "SYOUGI_MSG5:あなたの負けです。" after a king capture
    QString resultText;        // "あなたの勝ちです。" after a king capture

    bool accepted() const { return result != MoveResult::Refused; }
};

// Runs the local player's move or drop against the rules and applies it to
// `position` when it is accepted. A refused attempt leaves `position` as it was.
MoveOutcome AttemptMove(ShogiPosition& position, const DragRelease& release,
                        const MoveAttemptHooks& hooks = {});

}  // namespace shogi
