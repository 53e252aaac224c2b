#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "gorules/board.h"

namespace bot::test {

// A piece of go board drawn as rows, top row first, its top-left point at
// `origin`: "X" black, "O" white, "." empty; blanks are ignored. Points the
// drawing does not cover are empty.
inline go::Ban goBoard(const std::vector<const char*>& rows, go::Point origin = {0, 0}) {
    go::Ban ban;
    int y = origin.y;
    for (const char* row : rows) {
        int x = origin.x;
        for (const char* c = row; *c != '\0'; ++c) {
            if (*c == ' ') continue;
            const go::Stone s = *c == 'X'   ? go::Stone::Black
                                : *c == 'O' ? go::Stone::White
                                            : go::Stone::Empty;
            if ((*c != '.' && s == go::Stone::Empty) || !ban.set({x, y}, s))
                throw std::invalid_argument(row);
            ++x;
        }
        ++y;
    }
    return ban;
}

// The liberties of the group standing on `p`.
inline int liberties(const go::Ban& ban, go::Point p) {
    const go::Stone colour = ban.at(p);
    std::vector<go::Point> group{p};
    std::vector<go::Point> seen;
    const auto known = [](const std::vector<go::Point>& list, go::Point q) {
        for (const go::Point r : list)
            if (r == q) return true;
        return false;
    };
    for (std::size_t i = 0; i < group.size(); ++i) {
        for (const go::Point step :
             {go::Point{0, -1}, go::Point{1, 0}, go::Point{0, 1}, go::Point{-1, 0}}) {
            const go::Point n{group[i].x + step.x, group[i].y + step.y};
            if (!n.isOnBoard()) continue;
            if (ban.at(n) == go::Stone::Empty && !known(seen, n)) seen.push_back(n);
            if (ban.at(n) == colour && !known(group, n)) group.push_back(n);
        }
    }
    return static_cast<int>(seen.size());
}

// The whole board as a drawing, for failure messages.
inline std::string drawing(const go::Ban& ban) {
    std::string text;
    for (int y = 0; y < go::kBoardSize; ++y) {
        for (int x = 0; x < go::kBoardSize; ++x) {
            const go::Stone s = ban.at(x, y);
            text += s == go::Stone::Black ? 'X' : s == go::Stone::White ? 'O' : '.';
        }
        text += '\n';
    }
    return text;
}

}  // namespace bot::test
