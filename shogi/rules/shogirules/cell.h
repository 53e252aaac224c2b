#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "shogirules/kind.h"

namespace shogi {

// Side 1 is always the local player at the bottom of the screen, side 2 the
// opponent at the top; a received position has its sides already exchanged.
enum class Side : std::uint8_t { Own = 1, Opp = 2 };

// What one board cell holds. Its text form is the two-letter code followed by
// the side digit ("Fu1", "Ry2"), and "Dummy1" for an empty cell; an empty cell
// always belongs to side 1, so there is exactly one empty value.
class Cell {
public:
    constexpr Cell() = default;
    constexpr Cell(Kind kind, Side side)
        : kind_(kind), side_(kind == Kind::Dummy ? Side::Own : side) {}

    static constexpr Cell empty() { return Cell(); }
    static constexpr Cell own(Kind kind) { return Cell(kind, Side::Own); }
    static constexpr Cell opp(Kind kind) { return Cell(kind, Side::Opp); }

    constexpr Kind kind() const { return kind_; }
    constexpr Side side() const { return side_; }
    constexpr bool isEmpty() const { return kind_ == Kind::Dummy; }
    constexpr bool isOwnPiece() const { return !isEmpty() && side_ == Side::Own; }
    constexpr bool isOppPiece() const { return side_ == Side::Opp; }

    friend constexpr bool operator==(Cell, Cell) = default;

private:
    Kind kind_ = Kind::Dummy;
    Side side_ = Side::Own;
};

// "Fu1", "Ou2", "Dummy1".
QString cellText(Cell cell);

// The cell a text names: a piece code of kinds 0..14 with side digit 1 or 2,
// or "Dummy1".
std::optional<Cell> cellFromText(QStringView text);

// The promoted form of an own piece ("Fu1" gives "To1"); nothing for a kind
// that does not promote.
std::optional<Cell> PromotedCode(Cell cell);

}  // namespace shogi
