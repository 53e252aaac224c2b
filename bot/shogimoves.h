#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

#include "shogirules/moveattempt.h"
#include "shogirules/position.h"

namespace bot {

// A shogi move as the bot sees the board: its own pieces at the bottom (side 1),
// whichever side it plays. A drop names the kind taken from the hand.
struct ShogiMove {
    bool drop = false;
    shogi::Kind kind = shogi::Kind::Fu;  // the dropped kind (drops only)
    shogi::Square from;                  // board moves only
    shogi::Square to;
    bool promote = false;

    friend bool operator==(const ShogiMove&, const ShogiMove&) = default;
};

// The engine's coordinates are those of the first player's side of the board:
// files 9 to 1 from left to right, ranks a to i from top to bottom. The bot
// holds the board from its own side, so when it plays second every square is
// turned through 180 degrees on the way.

// "7g" for a square of the bot's board.
QString engineSquare(shogi::Square s, bool botIsFirst);

// The move in the engine's notation: "7g7f", "2b8h+", "P*5e".
QString engineMoveText(const ShogiMove& move, bool botIsFirst);

// Reads a move the engine printed, strictly in the forms above; nothing for
// anything else.
std::optional<ShogiMove> parseEngineMove(QStringView text, bool botIsFirst);

// The one move of the opponent that turns `before` into `after` (both from the
// bot's side), if there is one and the rules allow it: the opponent's side of
// the board is turned towards him and the move tried there with the rules of
// the game programs, and it must give exactly `after`, hands included. Nothing
// when the positions differ by anything else (a new game, a program out of
// step, a forged position).
std::optional<ShogiMove> deriveOpponentMove(const shogi::ShogiPosition& before,
                                            const shogi::ShogiPosition& after);

// Plays the bot's own move on `position` through the rules, as the board window
// would: nothing changes and nothing comes back when the rules refuse it, or
// when the promotion it names is not one the rules offer.
std::optional<shogi::MoveOutcome> applyOwnMove(shogi::ShogiPosition& position,
                                               const ShogiMove& move);

// A move of the bot that takes the opponent's king, when one stands open to
// it (a drop is never tested for leaving the own king in check, so a player may
// leave his king open); the game ends with it.
std::optional<ShogiMove> kingCapture(const shogi::ShogiPosition& position);

// The engine's "edit" commands that set up the whole position, board and
// hands, first player's pieces first, ending in ".".
QStringList editCommands(const shogi::ShogiPosition& position, bool botIsFirst);

}  // namespace bot
