#include "shogigame.h"

#include <random>

#include "shogirules/movemessage.h"

namespace bench {

using shogi::ShogiPosition;

long long perft(const ShogiPosition& p, int depth) {
    long long total = 0;
    shogi::ForEachLegalMove(p, [&](const shogi::LegalMove& move) {
        total += depth == 1 ? 1 : perft(shogi::TurnedForOpponent(move.after), depth - 1);
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
        shogi::ForEachLegalMove(current, [&](const shogi::LegalMove& move) {
            if (!move.outcome.kingCaptured) choices.push_back(move.after);
        });
        if (choices.empty()) {
            current = ShogiPosition{};
            continue;
        }
        std::uniform_int_distribution<std::size_t> pick(0, choices.size() - 1);
        played.push_back(choices[pick(random)]);
        current = shogi::TurnedForOpponent(played.back());
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
