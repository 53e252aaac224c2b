#pragma once

#include <optional>
#include <vector>

// Not "board.h": the shogi rules have one of that name too.
#include "gorules/positionstring.h"

namespace records {

// A go game as SGF holds it: node after node, each either a stone placed
// (with the captures the rules make) or the board set up as it stands (the
// start of a record begun during a game, or the position after a gap). The
// board is kept as the record showed it; go has no side to turn it to.
struct GoNode {
    std::optional<go::Stone> colour;  // the stone placed; nothing for a set-up
    go::Point point;                  // where it was placed
    go::Ban after;                    // the board after the node

    bool isMove() const { return colour.has_value(); }
};

class GoGame {
public:
    const std::vector<GoNode>& nodes() const { return nodes_; }
    // The board after the last node (empty at the start).
    const go::Ban& board() const { return nodes_.empty() ? empty_ : nodes_.back().after; }

    // Places a stone of `colour` on `p` and removes the opponent groups left
    // without a liberty, as the programs do (no suicide or ko rule). False,
    // changing nothing, when p is off the board or taken.
    bool place(go::Stone colour, go::Point p);

    // The board becomes `board` as a set-up.
    void setUp(const go::Ban& board);

    // The stone that turns the board into `next`, or nothing when `next` is
    // not one placement away.
    struct Placement {
        go::Stone colour;
        go::Point point;
    };
    std::optional<Placement> placementTo(const go::Ban& next) const;

private:
    go::Ban empty_;
    std::vector<GoNode> nodes_;
};

}  // namespace records
