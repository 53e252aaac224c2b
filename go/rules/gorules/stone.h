#pragma once

#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

namespace go {

// What a point of the board holds. The first three values are the stone
// codes of the position string and the move message, and index the name
// table; `Wall` stands for the never-written column and row 19, whose empty
// name is neither a stone nor "Dummy", so a group search stops there without
// counting a liberty.
enum class Stone : std::uint8_t { Black = 0, White = 1, Empty = 2, Wall = 3 };

inline constexpr int kStoneCodeCount = 3;

// The stone names by code; they are also the base names of the stone images.
inline constexpr std::array<QStringView, kStoneCodeCount> StoneNames{u"bl1", u"wh2", u"Dummy"};

// The code of a stone (0, 1, 2), or -1 for the wall.
constexpr int stoneCode(Stone s) {
    return s == Stone::Wall ? -1 : static_cast<int>(s);
}

// "bl1", "wh2", "Dummy", or the empty text for the wall.
constexpr QStringView stoneName(Stone s) {
    return s == Stone::Wall ? QStringView() : StoneNames[static_cast<std::size_t>(s)];
}

// The stone a code names; nothing for any other number.
constexpr std::optional<Stone> stoneFromCode(int code) {
    if (code < 0 || code >= kStoneCodeCount) return std::nullopt;
    return static_cast<Stone>(code);
}

// The stone a name names; nothing for any other text.
constexpr std::optional<Stone> stoneFromName(QStringView name) {
    for (int code = 0; code < kStoneCodeCount; ++code)
        if (StoneNames[static_cast<std::size_t>(code)] == name) return static_cast<Stone>(code);
    return std::nullopt;
}

// The colour whose groups a placement of `own` can capture: white for black,
// black for anything else.
constexpr Stone opponentOf(Stone own) {
    return own == Stone::Black ? Stone::White : Stone::Black;
}

}  // namespace go
