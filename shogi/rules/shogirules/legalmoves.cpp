#include "shogirules/legalmoves.h"

#include "shogirules/moverules.h"

namespace shogi {

void ForEachLegalMove(const ShogiPosition& p, const std::function<void(const LegalMove&)>& visit) {
    const auto play = [&](const DragRelease& release) {
        for (const bool yes : {true, false}) {
            LegalMove move{release, false, p, {}};
            bool asked = false;
            move.outcome = AttemptMove(move.after, release, {nullptr, [&] {
                                                                 asked = true;
                                                                 return yes;
                                                             }});
            move.promote = asked && yes;
            if (move.outcome.accepted()) visit(move);
            if (!asked) break;
        }
    };
    for (int from = 0; from < kCellCount; ++from) {
        const Cell piece = p.Ban.atNumber(from);
        if (!piece.isOwnPiece()) continue;
        const Square f = Square::fromCellNumber(from);
        for (int to = 0; to < kCellCount; ++to) {
            const Square t = Square::fromCellNumber(to);
            // A target the piece cannot reach is refused by the shape test
            // alone: no need to try it.
            if (CanReach(p.Ban, t, f, piece.kind())) play({piece, false, f, t});
        }
    }
    for (const HandEntry& e : p.MyHand.entries) {
        if (e.count <= 0) continue;
        for (int to = 0; to < kCellCount; ++to) {
            if (p.Ban.atNumber(to).isEmpty())
                play({Cell::own(e.code), true, {}, Square::fromCellNumber(to)});
        }
    }
}

std::vector<LegalMove> LegalMoves(const ShogiPosition& p) {
    std::vector<LegalMove> moves;
    ForEachLegalMove(p, [&](const LegalMove& move) { moves.push_back(move); });
    return moves;
}

ShogiPosition TurnedForOpponent(const ShogiPosition& p) {
    return {p.Ban.rotated(), p.OppHand, p.MyHand};
}

}  // namespace shogi
