#pragma once

namespace shogi {

inline constexpr int kBoardSize = 9;
inline constexpr int kCellCount = kBoardSize * kBoardSize;

// A board cell: x is the column from the left, y the row from the top. Row 0
// is the opponent's back row; the own pieces move toward it.
struct Square {
    int x = 0;
    int y = 0;

    constexpr bool isOnBoard() const {
        return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize;
    }
    // Cell number: the order of the position string, row 0 first, x fastest.
    constexpr int cellNumber() const { return x + kBoardSize * y; }
    // Rows 0 to 2 are where the own pieces may promote.
    constexpr bool inPromotionZone() const { return y <= 2; }
    static constexpr Square fromCellNumber(int k) { return {k % kBoardSize, k / kBoardSize}; }

    friend constexpr bool operator==(Square, Square) = default;
};

}  // namespace shogi
