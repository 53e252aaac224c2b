#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace shogi {

// The fifteen piece kinds and the empty cell, numbered as the position string
// numbers them; the number is also the column of the piece's image. "Ou" and
// "Gy" are both kings: the two players' kings only look different.
enum class Kind : std::uint8_t {
    Fu,
    Ky,
    Ke,
    Gi,
    Ki,
    Ou,
    Gy,
    Hi,
    Ka,
    To,
    NC,
    NK,
    NG,
    Um,
    Ry,
    Dummy
};

inline constexpr int kKindCount = 16;
inline constexpr int kPieceKindCount = 15;  // kinds 0..14 stand on the board

// Two-letter code of each kind, index = kind number.
inline constexpr std::array<std::string_view, kKindCount> KomaList = {
    "Fu", "Ky", "Ke", "Gi", "Ki", "Ou", "Gy", "Hi",
    "Ka", "To", "NC", "NK", "NG", "Um", "Ry", "Dummy"};

// Promotion pairs, same index in both tables (rook before bishop in both).
inline constexpr std::array<Kind, 6> PromoteFrom = {Kind::Fu, Kind::Ky, Kind::Ke,
                                                    Kind::Gi, Kind::Hi, Kind::Ka};
inline constexpr std::array<Kind, 6> PromoteTo = {Kind::To, Kind::NC, Kind::NK,
                                                  Kind::NG, Kind::Ry, Kind::Um};

constexpr int kindIndex(Kind k) {
    return static_cast<int>(k);
}

constexpr std::string_view kindCode(Kind k) {
    return KomaList[static_cast<std::size_t>(k)];
}

// The kind whose code is `code`, searched over the fifteen piece kinds; the
// empty code is not a piece kind and gives nothing.
std::optional<Kind> kindFromCode(std::string_view code);

constexpr bool isKing(Kind k) {
    return k == Kind::Ou || k == Kind::Gy;
}

// The promoted kind of a kind that promotes.
std::optional<Kind> promotedKind(Kind k);

// A promoted kind goes back to the kind it came from (a captured piece returns
// to the hand unpromoted); every other kind stays as it is.
Kind unpromotedKind(Kind k);

}  // namespace shogi
