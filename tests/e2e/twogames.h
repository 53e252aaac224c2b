#pragma once

#include <utility>

#include "gorules/movemessage.h"
#include "ostrimdriver.h"
#include "ostrimwindow.h"
#include "shogirules/movemessage.h"
#include "varneldriver.h"
#include "varnelwindow.h"

namespace test {

// The two games as the test plays them: the k-th move (from 1) of a game,
// made with the mouse by whoever's turn it is, and what must hold between
// the two players' boards.
struct ShogiGame {
    using Window = shogi::VarnelWindow;
    static constexpr int kKind = 0;
    static void move(Window& w, int k) {
        // Pawns on files of their own: taro's odd moves, hana's even ones.
        static const std::pair<shogi::Square, shogi::Square> kMoves[] = {
            {{2, 6}, {2, 5}}, {{4, 6}, {4, 5}}, {{2, 5}, {2, 4}}, {{5, 6}, {5, 5}},
            {{7, 6}, {7, 5}}, {{3, 6}, {3, 5}}, {{6, 6}, {6, 5}}};
        const auto [from, to] = kMoves[k - 1];
        shogi::test::dragOnBoard(w.board(), shogi::test::cellCentre(w.board(), from),
                                 shogi::test::cellCentre(w.board(), to));
    }
    static bool sameGame(Window& first, Window& second) {
        return first.position().Ban == second.position().Ban.rotated();
    }
    static int moveNo(const QString& move) {
        const auto m = shogi::parseMoveMsg(move);
        return m ? m->moveNo : -1;
    }
};

struct GoGame {
    using Window = go::OstrimWindow;
    static constexpr int kKind = 1;
    static void move(Window& w, int k) {
        // taro's stones along one line, hana's on the diagonal (her own
        // view: the point (x, y) is taro's (18 - x, 18 - y)).
        static const go::Point kStones[] = {{3, 15}, {10, 10}, {4, 15}, {11, 11},
                                            {5, 15}, {12, 12}, {6, 15}};
        go::test::placeStone(w.board(), kStones[k - 1]);
    }
    static bool sameGame(Window& first, Window& second) {
        go::Ban turned;
        for (int k = 0; k < go::kPointCount; ++k)
            turned.set(go::Point::fromNumber(go::kPointCount - 1 - k),
                       second.position().ban.at(go::Point::fromNumber(k)));
        return first.position().ban == turned;
    }
    static int moveNo(const QString& move) {
        const auto m = go::parseMoveMsg(move);
        return m ? m->moveNo : -1;
    }
};

}  // namespace test
