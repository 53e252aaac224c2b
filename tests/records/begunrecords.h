#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "shogigames.h"
#include "sholines.h"

// Records a player began during a game: he switched "全手保存" on after some
// moves, so the record starts with the position after the next one. The games
// are scripted so that what the record cannot hold (the pieces in hand at its
// first line) is still known: each piece in hand there is dropped later by
// its holder, or was taken by the player who made the move to that line.

namespace records::test {

inline shogi::Square sq(int file, int rank) {
    return {9 - file, rank - 1};
}

struct BegunRecord {
    const char* name;
    ShogiGame game;  // the whole game, from the start
    int before;      // the moves played before recording was switched on

    // The record as `recorder` kept it, and the positions its lines stand for.
    QStringList lines(Player recorder) const { return shoLines(game, recorder).mid(before); }
    // As SFEN (board, player to move, hands), played from the start.
    std::vector<QString> positions() const {
        ShogiGame replay;
        std::vector<QString> sfens;
        for (const PlayedMove& played : game.moves()) {
            EXPECT_FALSE(replay.play(played.move));
            if (replay.moves().size() > static_cast<std::size_t>(before))
                sfens.push_back(sfenOf(replay.board(), replay.hand(Player::First),
                                       replay.hand(Player::Second), replay.toMove()));
        }
        return sfens;
    }
};

inline ShogiGame playedGame(const std::vector<ShogiMove>& moves) {
    ShogiGame game;
    for (const ShogiMove& m : moves)
        EXPECT_FALSE(game.play(m)) << "move " << game.moves().size() + 1;
    return game;
}

inline std::vector<BegunRecord> begunRecords() {
    using shogi::Kind;
    constexpr Player F = Player::First, S = Player::Second;
    const ShogiGame opening = playedGame({
        {F, sq(2, 7), sq(2, 6), Kind::Fu, false, {}},
        {S, sq(8, 3), sq(8, 4), Kind::Fu, false, {}},
        {F, sq(2, 6), sq(2, 5), Kind::Fu, false, {}},
        {S, sq(8, 4), sq(8, 5), Kind::Fu, false, {}},
        {F, sq(6, 9), sq(7, 8), Kind::Ki, false, {}},
    });
    // Bishops and a pawn taken before the record begins; in it, the second
    // player drops the bishop he holds, takes a pawn with a promotion and
    // drops it, the first player takes the horse back and drops it.
    const ShogiGame exchanges = playedGame({
        {F, sq(7, 7), sq(7, 6), Kind::Fu, false, {}},
        {S, sq(3, 3), sq(3, 4), Kind::Fu, false, {}},
        {F, sq(8, 8), sq(2, 2), Kind::Ka, true, {}},
        {S, sq(3, 1), sq(2, 2), Kind::Gi, false, {}},
        {F, std::nullopt, sq(4, 5), Kind::Ka, false, {}},
        {S, sq(7, 1), sq(6, 2), Kind::Gi, false, {}},
        {F, sq(4, 5), sq(3, 4), Kind::Ka, false, {}},
        {S, std::nullopt, sq(5, 5), Kind::Ka, false, {}},
        {F, sq(2, 7), sq(2, 6), Kind::Fu, false, {}},
        {S, sq(5, 5), sq(3, 7), Kind::Ka, true, {}},
        {F, sq(2, 9), sq(3, 7), Kind::Ke, false, {}},
        {S, std::nullopt, sq(3, 5), Kind::Fu, false, {}},
        {F, std::nullopt, sq(5, 5), Kind::Ka, false, {}},
    });
    return {
        {"begun after move 1", opening, 1},
        {"begun after move 2", exchanges, 2},
        {"begun after several moves, with pieces in hand", exchanges, 6},
    };
}

}  // namespace records::test
