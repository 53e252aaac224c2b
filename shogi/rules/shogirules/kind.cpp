#include "shogirules/kind.h"

namespace shogi {

std::optional<Kind> kindFromCode(std::string_view code) {
    for (int k = 0; k < kPieceKindCount; ++k) {
        if (KomaList[static_cast<std::size_t>(k)] == code) return static_cast<Kind>(k);
    }
    return std::nullopt;
}

std::optional<Kind> promotedKind(Kind k) {
    for (std::size_t i = 0; i < PromoteFrom.size(); ++i) {
        if (PromoteFrom[i] == k) return PromoteTo[i];
    }
    return std::nullopt;
}

Kind unpromotedKind(Kind k) {
    for (std::size_t i = 0; i < PromoteTo.size(); ++i) {
        if (PromoteTo[i] == k) return PromoteFrom[i];
    }
    return k;
}

}  // namespace shogi
