#include "shosetup.h"

#include <array>

namespace records {

using shogi::Kind;

Player recorderByKings(const shogi::Board& seen) {
    bool first = false;
    bool second = false;
    for (int k = 0; k < shogi::kCellCount; ++k) {
        const shogi::Cell c = seen.atNumber(k);
        if (!shogi::isKing(c.kind())) continue;
        // "Gy" at the bottom or "Ou" at the top: kept by the first player.
        const bool bottom = c.side() == shogi::Side::Own;
        ((c.kind() == Kind::Gy) == bottom ? first : second) = true;
    }
    return second && !first ? Player::Second : Player::First;
}

SetUpHands handsForSetUp(const shogi::Hand& offBoard, Player toMove,
                         const std::vector<PlayedMove>& moves) {
    SetUpHands hands;
    hands.unshown = offBoard;
    // What each player has taken during the record and not dropped yet.
    std::array<shogi::Hand, 2> taken;
    for (const PlayedMove& played : moves) {
        const ShogiMove& m = played.move;
        shogi::Hand& own = taken[m.player == Player::First ? 0 : 1];
        if (!m.from) {
            shogi::HandEntry* held = own.find(m.piece);
            shogi::HandEntry* pool = hands.unshown.find(m.piece);
            if (!held || !pool) break;  // no hand kind: the rules refused it before
            if (held->count > 0) {
                --held->count;
            } else if (pool->count > 0) {
                --pool->count;
                shogi::Hand& start = m.player == Player::First ? hands.first : hands.second;
                ++start.find(m.piece)->count;
            } else {
                break;
            }
        } else if (m.captured && !shogi::isKing(*m.captured)) {
            if (shogi::HandEntry* e = own.find(shogi::unpromotedKind(*m.captured))) ++e->count;
        }
        ++hands.movesThatFit;
    }
    shogi::Hand& notToMove = toMove == Player::First ? hands.second : hands.first;
    for (const shogi::HandEntry& e : hands.unshown.entries)
        notToMove.find(e.code)->count += e.count;
    return hands;
}

}  // namespace records
