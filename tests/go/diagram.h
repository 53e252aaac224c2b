#pragma once

#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

#include "gorules/board.h"

namespace go::test {

// A piece of board drawn as rows of points, top row first, its top-left
// point at `origin`: "X" black, "O" white, "." empty; blanks are ignored.
// Points the diagram does not cover are empty.
inline Ban boardFromDiagram(const std::vector<const char*>& rows, Point origin = {0, 0}) {
    Ban ban;
    int y = origin.y;
    for (const char* row : rows) {
        int x = origin.x;
        for (const char* c = row; *c != '\0'; ++c) {
            if (*c == ' ') continue;
            const Stone s = *c == 'X' ? Stone::Black : *c == 'O' ? Stone::White : Stone::Empty;
            if ((*c != '.' && s == Stone::Empty) || !ban.set({x, y}, s)) {
                throw std::invalid_argument(row);
            }
            ++x;
        }
        ++y;
    }
    return ban;
}

// The whole board as a diagram, for readable failure messages.
inline std::string diagramOf(const Ban& ban) {
    std::string text;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const Stone s = ban.at(x, y);
            text += s == Stone::Black ? 'X' : s == Stone::White ? 'O' : '.';
        }
        text += '\n';
    }
    return text;
}

}  // namespace go::test
