#pragma once

#include <QString>
#include <array>
#include <optional>

#include "gorules/point.h"

namespace go {

// The four neighbours of a point, named by the digit 3 (dy + 1) + (dx + 1) + 1
// of a numeric keypad: 2 up, 6 right, 8 down, 4 left. Every walk visits them
// in that order, which decides the path a group search takes.
enum class Dir : char { Up = '2', Right = '6', Down = '8', Left = '4' };

inline constexpr std::array<Dir, 4> kDirOrder{Dir::Up, Dir::Right, Dir::Down, Dir::Left};

// The neighbour of p in direction d (possibly off the playing area).
constexpr Point neighbour(Point p, Dir d) {
    switch (d) {
        case Dir::Up:
            return {p.x, p.y - 1};
        case Dir::Right:
            return {p.x + 1, p.y};
        case Dir::Down:
            return {p.x, p.y + 1};
        case Dir::Left:
            return {p.x - 1, p.y};
    }
    return p;
}

// The direction a digit names; nothing for any other character.
std::optional<Dir> dirFromDigit(QChar digit);

// What a neighbour walk found: up to four direction digits in visiting order
// ("268"), or "QUIT" when the walk stopped at a liberty. A fixed-size value,
// so a group search allocates nothing however often it walks.
class DirDigits {
public:
    static DirDigits quit() {
        DirDigits d;
        d.quit_ = true;
        return d;
    }

    // Appends a direction (ignored once the walk has quit or holds four).
    void add(Dir d);

    bool isQuit() const { return quit_; }
    bool isEmpty() const { return !quit_ && count_ == 0; }
    bool contains(Dir d) const;
    int size() const { return count_; }
    Dir operator[](int i) const { return dirs_[static_cast<std::size_t>(i)]; }

    // "QUIT", the digits in order, or the empty text.
    QString text() const;

private:
    std::array<Dir, 4> dirs_{};
    int count_ = 0;
    bool quit_ = false;
};

}  // namespace go
