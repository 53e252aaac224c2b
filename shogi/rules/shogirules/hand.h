#pragma once

#include <QtGlobal>
#include <array>

#include "shogirules/kind.h"

namespace shogi {

// One kind of captured piece and how many of it a player holds.
struct HandEntry {
    Kind code;
    qint32 count = 0;

    friend bool operator==(const HandEntry&, const HandEntry&) = default;
};

// A player's pieces in hand: seven entries in the fixed order Fu, Ky, Ke, Gi,
// Ki, Hi, Ka; the order is also the order they are shown and picked in.
struct Hand {
    std::array<HandEntry, 7> entries{
        {{Kind::Fu}, {Kind::Ky}, {Kind::Ke}, {Kind::Gi}, {Kind::Ki}, {Kind::Hi}, {Kind::Ka}}};

    // The entry for a kind, or nothing for a kind that is never held in hand.
    HandEntry* find(Kind code);
    const HandEntry* find(Kind code) const;
    qint32 count(Kind code) const;
    void clear();

    friend bool operator==(const Hand&, const Hand&) = default;
};

}  // namespace shogi
