#pragma once

#include <array>

#include "gorules/point.h"
#include "gorules/stone.h"

namespace go {

// The board `Ban` as a plain value: 20 x 20 points indexed (x, y), of which
// x, y = 0..18 are played on. Column 19 and row 19 are never written and hold
// the wall, so a search that steps off the right or bottom edge meets
// something that is neither a stone nor a liberty; a step off the left or top
// edge meets the wall too. Copying a board is cheap and leaves the original
// alone.
class Ban {
public:
    static constexpr int kSize = kBoardSize + 1;

    // Every playing point empty ("Dummy").
    Ban();

    // What (x, y) holds: the wall for column or row 19 and for anything outside
    // the 20 x 20 array.
    Stone at(int x, int y) const;
    Stone at(Point p) const { return at(p.x, p.y); }

    // Writes a black, white or empty point of the playing area. Anything else
    // (the wall value, a point outside 0..18) is refused and changes nothing.
    bool set(Point p, Stone s);

    friend bool operator==(const Ban&, const Ban&) = default;

private:
    std::array<std::array<Stone, kSize>, kSize> points_;  // [x][y]
};

}  // namespace go
