#include "gorules/board.h"

namespace go {

Ban::Ban() {
    for (auto& column : points_)
        column.fill(Stone::Wall);
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y)
            points_[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = Stone::Empty;
}

Stone Ban::at(int x, int y) const {
    if (x < 0 || x >= kSize || y < 0 || y >= kSize) return Stone::Wall;
    return points_[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

bool Ban::set(Point p, Stone s) {
    if (!p.isOnBoard() || s == Stone::Wall) return false;
    points_[static_cast<std::size_t>(p.x)][static_cast<std::size_t>(p.y)] = s;
    return true;
}

}  // namespace go
