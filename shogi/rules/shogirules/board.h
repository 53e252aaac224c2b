#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

#include "shogirules/cell.h"
#include "shogirules/square.h"

namespace shogi {

// Why a position string was refused.
enum class PositionError {
    ItemCount,  // not exactly 81 items
    BadItem,    // an item that is not a hexadecimal number from 0 to 30
};

// The position every game starts from, exactly as the programs exchange it.
inline constexpr QStringView kInitialPositionString =
    u"11,12,13,14,15,14,13,12,11,0F,17,0F,0F,0F,0F,0F,18,0F,10,10,10,10,10,10,10,10,10,"
    u"0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,0F,"
    u"0,0,0,0,0,0,0,0,0,0F,8,0F,0F,0F,0F,0F,7,0F,1,2,3,4,6,4,3,2,1";

// The length of a position string with two digits per item.
inline constexpr qsizetype kPositionStringSize = kCellCount * 3 - 1;

// The 9 x 9 board seen from the local player, row 0 at the top. A plain value:
// copying it is how the rules try a move without touching the real board.
class Board {
public:
    // Every cell empty.
    Board() = default;

    static Board initial();

    // Reads a position string: 81 comma-separated hexadecimal items of one or
    // two digits, 15 for an empty cell, 0..14 a side-1 piece, 16..30 a side-2
    // piece of kind value - 16. On error the board is left exactly as it was.
    std::optional<PositionError> load(QStringView positionString);

    // The position string with two upper-case digits per item, as a move
    // message carries it.
    QString positionString() const;
    // The same in Latin-1, written at `out` (kPositionStringSize characters);
    // past them.
    char* writePositionString(char* out) const;

    Cell at(Square s) const { return cells_[static_cast<std::size_t>(s.cellNumber())]; }
    void set(Square s, Cell c) { cells_[static_cast<std::size_t>(s.cellNumber())] = c; }
    Cell atNumber(int k) const { return cells_[static_cast<std::size_t>(k)]; }

    // The same board seen by the other player: the piece at (x, y) goes to
    // (8 - x, 8 - y) with its side exchanged.
    Board rotated() const;

    friend bool operator==(const Board&, const Board&) = default;

private:
    std::array<Cell, kCellCount> cells_{};
};

// One position item, as the sender writes it: two upper-case hexadecimal digits.
QString encodeCell(Cell cell);

// One position item as the reader takes it (one or two hexadecimal digits).
std::optional<Cell> decodeCell(QStringView item);

}  // namespace shogi
