#pragma once

#include <QString>

#include "shogirules/kind.h"

namespace shogi {

// The character written on a piece of this kind, as players read it on the
// board ("歩" for Fu, "龍" for Ry); empty for the empty cell.
QString pieceGlyph(Kind kind);

// Promoted pieces are written in red on real pieces and in the images.
constexpr bool isPromotedKind(Kind k) {
    return k >= Kind::To && k <= Kind::Ry;
}

}  // namespace shogi
