#include "recordlines.h"

#include "gorules/positionstring.h"

namespace web {

QString recordLine(const Position& position) {
    if (const auto* shogi = std::get_if<ShogiState>(&position.state))
        return shogi->board.positionString();
    const GoState& s = std::get<GoState>(position.state);
    // After black's own stone it is white's turn.
    if (position.turn == Colour::White) return go::recordLine(s.board);
    if (s.last && s.last->point) return go::positionString(s.board, *s.last->point);
    return go::positionString(s.board);
}

QStringList recordLines(const GameRecord& game) {
    QStringList lines;
    for (std::size_t n = 1; n < game.positions.size(); ++n)
        lines.append(recordLine(game.positions[n]));
    return lines;
}

}  // namespace web
