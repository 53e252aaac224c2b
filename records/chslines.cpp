#include "chslines.h"

#include "gorules/positionstring.h"

namespace records {

ChsRead readChs(const QStringList& lines) {
    ChsRead read;
    if (lines.isEmpty()) {
        read.problems.push_back({0, QStringLiteral("the record holds no position")});
        return read;
    }
    bool recorderKnown = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const std::optional<go::MarkedBan> seen = go::readPosition(lines[i]);
        if (!seen) {
            read.problems.push_back(
                {number, QStringLiteral("not a position (361 points); converted the %1 lines "
                                        "before it")
                             .arg(i)});
            return read;
        }
        const auto placed = read.game.placementTo(seen->ban);
        if (!placed) {
            read.problems.push_back(
                {number, i == 0 ? QStringLiteral("not one stone on the empty board (a record "
                                                 "begun during a game): kept as a set-up")
                                : QStringLiteral("not one stone after line %1: kept as a "
                                                 "set-up")
                                      .arg(i)});
            read.game.setUp(seen->ban);
            continue;
        }
        if (!recorderKnown) {
            // The opponent's stones arrive marked; the own ones never are.
            read.recorder = seen->lastMove ? go::opponentOf(placed->colour) : placed->colour;
            recorderKnown = true;
        }
        (void)read.game.place(placed->colour, placed->point);  // placementTo tried it
    }
    return read;
}

QStringList chsLines(const GoGame& game, go::Stone recorder) {
    QStringList lines;
    for (const GoNode& node : game.nodes()) {
        if (node.isMove() && *node.colour != recorder)
            lines.append(go::positionString(node.after, node.point));
        else
            lines.append(go::recordLine(node.after));
    }
    return lines;
}

}  // namespace records
