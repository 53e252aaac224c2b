#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

#include "gorules/board.h"
#include "gorules/positionstring.h"

namespace bot {

// A go move as the bot sees the board: a stone on a point, or a pass. The
// game programs have no pass; the bot passes by sending its board unchanged,
// with no stone marked as the last one.
struct GoMove {
    bool pass = false;
    go::Point point;

    friend bool operator==(const GoMove&, const GoMove&) = default;
};

// The engine names points as "D4": columns A to T without I from the left,
// rows 19 down to 1 from the top. The bot's board goes to the engine as it
// is: the engine only needs one orientation kept throughout.
QString gtpVertex(go::Point p);

// Reads a vertex ("q16" or "Q16"); nothing for anything else, "PASS" included.
std::optional<go::Point> pointFromVertex(QStringView text);

// The points of a list answer ("A19 D4 ..."); nothing when one is no point.
std::optional<std::vector<go::Point>> pointsFromList(QStringView text);

// The opponent's move that turns `before` into `after`: a pass (the same
// board, nothing marked), or his stone on the marked point, placed with the
// capture rules of the game programs and giving exactly `after`. Nothing when
// the boards differ by anything else.
std::optional<GoMove> deriveOpponentMove(const go::Ban& before, const go::MarkedBan& after,
                                         go::Stone opponent);

// The board as the engine can hold it. The game programs have no suicide
// rule, so a group may stand without a liberty; the engine cannot hold such a
// group (it stops on it), and no move can ever take it, since it has no empty
// neighbour. It is walled in by the other colour and the edge only, so it is
// handed to the engine as stones of that colour: the points stay taken, the
// surrounding group gains no liberty, and the area goes to the side that
// holds it.
go::Ban engineView(const go::Ban& ban);

// The whole position as a game record the engine loads: the board (as
// engineView gives it), the komi and the colour to play.
QString setupRecord(const go::Ban& ban, go::Stone toPlay, double komi);

// The winner of a score estimate ("W+12.5 (upper bound: ...)"); nothing for
// anything else.
std::optional<go::Stone> estimatedWinner(QStringView text);

}  // namespace bot
