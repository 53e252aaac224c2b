#include "shogigame.h"

#include <random>

#include "movemessage.h"
#include "moverules.h"

namespace bench {

using shogi::ShogiPosition;

ShogiPosition turned(const ShogiPosition& p) {
    return {p.Ban.rotated(), p.OppHand, p.MyHand};
}

void forEachMove(
    const ShogiPosition& p,
    const std::function<void(const ShogiPosition&, const shogi::MoveOutcome&)>& visit) {
    const auto play = [&](const shogi::DragRelease& release) {
        for (const bool yes : {true, false}) {
            ShogiPosition next = p;
            bool asked = false;
            const shogi::MoveOutcome outcome = AttemptMove(next, release, {nullptr, [&] {
                                                                               asked = true;
                                                                               return yes;
                                                                           }});
            if (outcome.accepted()) visit(next, outcome);
            if (!asked) break;
        }
    };
    for (int from = 0; from < shogi::kCellCount; ++from) {
        const shogi::Cell piece = p.Ban.atNumber(from);
        if (!piece.isOwnPiece()) continue;
        const shogi::Square f = shogi::Square::fromCellNumber(from);
        for (int to = 0; to < shogi::kCellCount; ++to) {
            const shogi::Square t = shogi::Square::fromCellNumber(to);
            // A target the piece cannot reach is refused by the shape test
            // alone; the player never lets go there.
            if (shogi::CanReach(p.Ban, t, f, piece.kind())) play({piece, false, f, t});
        }
    }
    for (const shogi::HandEntry& e : p.MyHand.entries) {
        if (e.count <= 0) continue;
        for (int to = 0; to < shogi::kCellCount; ++to)
            play({shogi::Cell::own(e.code), true, {}, shogi::Square::fromCellNumber(to)});
    }
}

long long perft(const ShogiPosition& p, int depth) {
    long long total = 0;
    forEachMove(p, [&](const ShogiPosition& next, const shogi::MoveOutcome&) {
        total += depth == 1 ? 1 : perft(turned(next), depth - 1);
    });
    return total;
}

std::vector<ShogiPosition> playedPositions(int plies, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<ShogiPosition> played;
    ShogiPosition current;
    while (static_cast<int>(played.size()) < plies) {
        // A move that takes the king would end the game: a new one starts
        // when nothing else is left.
        std::vector<ShogiPosition> choices;
        forEachMove(current, [&](const ShogiPosition& next, const shogi::MoveOutcome& outcome) {
            if (!outcome.kingCaptured) choices.push_back(next);
        });
        if (choices.empty()) {
            current = ShogiPosition{};
            continue;
        }
        std::uniform_int_distribution<std::size_t> pick(0, choices.size() - 1);
        played.push_back(choices[pick(random)]);
        current = turned(played.back());
    }
    return played;
}

std::vector<QString> playedMoveMessages(int plies, unsigned seed) {
    std::vector<QString> messages;
    const std::vector<ShogiPosition> positions = playedPositions(plies, seed);
    for (std::size_t k = 0; k < positions.size(); ++k)
        messages.push_back(shogi::BuildMoveMsg(positions[k], static_cast<qint32>(k + 1)));
    return messages;
}

}  // namespace bench
