#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "shogirules/board.h"
#include "shogirules/hand.h"

namespace records {

// 先手 and 後手: the player who moved first and the other one.
enum class Player { First, Second };

constexpr Player otherPlayer(Player p) {
    return p == Player::First ? Player::Second : Player::First;
}

// "the first player (先手)", as the tool's messages name a player.
QString playerName(Player p);

// One shogi move as the record formats write it. Squares are cells of the
// first player's view, as KIF and CSA draw the board: the first player at the
// bottom, x from the left, y from the top, so file = 9 - x and rank = y + 1.
struct ShogiMove {
    Player player = Player::First;
    std::optional<shogi::Square> from;  // nothing for a drop
    shogi::Square to;
    shogi::Kind piece = shogi::Kind::Fu;  // the kind that moved, as it stood; the kind dropped
    bool promote = false;
    // Filled in when the move is played: the kind taken on `to`, as it stood.
    std::optional<shogi::Kind> captured;

    friend bool operator==(const ShogiMove&, const ShogiMove&) = default;
};

// A move and the board it left, in the first player's view.
struct PlayedMove {
    ShogiMove move;
    shogi::Board after;
};

// Where a game begins: the board in the first player's view, both hands and
// the player to move. By default the usual start.
struct StartPosition {
    shogi::Board board = shogi::Board::initial();
    shogi::Hand first;
    shogi::Hand second;
    Player toMove = Player::First;

    friend bool operator==(const StartPosition&, const StartPosition&) = default;
};

// The pieces of a game's set (eighteen pawns, four each of lance, knight,
// silver and gold, two rooks, two bishops) that stand nowhere on `board`, by
// the kind they go to a hand as. A count below zero is a kind the board holds
// more of than a game has.
shogi::Hand piecesOffBoard(const shogi::Board& board);

// Why `start` is no position a game can be played on: more pieces of a kind
// on the board and in the hands than a game has, or not one king for each
// player (the rules look for the mover's king); nothing when it is one.
std::optional<QString> startProblem(const StartPosition& start);

class ShogiGame;

// A set-up read from a file (a KIF diagram, CSA rows) begins `game`; the
// usual start drawn out is the usual start. When it is no position a game can
// be played on, `game` stays as it was and the reason comes back.
std::optional<QString> beginFromSetUp(const StartPosition& start, ShogiGame& game);

// A game from the usual start or from a set-up, move by move, under the
// rules the programs play by (a king may be taken, promotion is never forced,
// a drop is not tested for the own king's safety). The board is kept in the
// first player's view; the first player's king is "Gy" and the second's "Ou",
// as they are in every position the programs exchange. Positions hold no
// hands, so the hands are known only by playing the game from its start.
class ShogiGame {
public:
    ShogiGame() = default;
    // A game from `start` (a record begun during a game, a KIF or CSA set-up),
    // its kings named by their owners. The caller checks it with startProblem.
    explicit ShogiGame(const StartPosition& start);

    // Whether the game begins from a set-up rather than the usual start.
    bool isSetUp() const { return setUp_; }
    const StartPosition& start() const { return start_; }

    const shogi::Board& board() const { return state_.board; }
    const shogi::Hand& hand(Player p) const {
        return p == Player::First ? state_.first : state_.second;
    }
    Player toMove() const { return state_.toMove; }
    const std::vector<PlayedMove>& moves() const { return moves_; }
    // A king has been taken: the game is over.
    bool over() const { return state_.over; }

    // Plays `move` when it is a legal move of the player to move; otherwise
    // says why in a short sentence and changes nothing. A king given as
    // either king code stands for the king on the square.
    std::optional<QString> play(ShogiMove move);

    // The legal move of the player to move that turns the board into `next`
    // (given in the first player's view; the two king codes count as one
    // kind), or nothing when there is none.
    std::optional<ShogiMove> moveTo(const shogi::Board& next) const;

private:
    // What a move changes; copied to try a move without the moves before it.
    struct State {
        shogi::Board board = shogi::Board::initial();
        shogi::Hand first;
        shogi::Hand second;
        Player toMove = Player::First;
        bool over = false;
    };
    static std::optional<QString> apply(State& state, ShogiMove& move);

    StartPosition start_;
    bool setUp_ = false;
    State state_;
    std::vector<PlayedMove> moves_;
};

// The board as `viewer` sees it: the first player's view itself, or turned
// for the second player.
shogi::Board boardSeenBy(const shogi::Board& firstView, Player viewer);

// Whether two boards hold the same pieces, a king of either code counting as
// a king.
bool samePieces(const shogi::Board& a, const shogi::Board& b);

}  // namespace records
