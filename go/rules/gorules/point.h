#pragma once

namespace go {

inline constexpr int kBoardSize = 19;
inline constexpr int kLastLine = kBoardSize - 1;
inline constexpr int kPointCount = kBoardSize * kBoardSize;

// An intersection: x is the column from the left, y the row from the top,
// both 0..18 on the playing area. Coordinates outside it are allowed as
// values (a neighbour of an edge point), never as indices.
struct Point {
    int x = 0;
    int y = 0;

    constexpr bool isOnBoard() const {
        return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize;
    }
    // Point number k = x + 19 y, the order of the position string.
    constexpr int number() const { return x + kBoardSize * y; }
    static constexpr Point fromNumber(int k) { return {k % kBoardSize, k / kBoardSize}; }

    friend constexpr bool operator==(Point, Point) = default;
};

}  // namespace go
