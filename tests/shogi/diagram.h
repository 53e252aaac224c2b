#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <stdexcept>

#include "shogirules/board.h"

namespace shogi::test {

// A board drawn as nine rows of nine cells, top row first: "." for an empty
// cell, otherwise a cell text such as "Fu1" or "Ry2".
inline Board boardFromDiagram(std::initializer_list<const char*> rows) {
    if (rows.size() != kBoardSize) throw std::invalid_argument("a diagram has nine rows");
    Board board;
    int y = 0;
    for (const char* row : rows) {
        const QStringList items = QString::fromLatin1(row).split(u' ', Qt::SkipEmptyParts);
        if (items.size() != kBoardSize) throw std::invalid_argument(row);
        for (int x = 0; x < kBoardSize; ++x) {
            if (items[x] == u".") continue;
            const auto cell = cellFromText(items[x]);
            if (!cell) throw std::invalid_argument(row);
            board.set({x, y}, *cell);
        }
        ++y;
    }
    return board;
}

// The board as a diagram, for readable failure messages.
inline QString diagramOf(const Board& board) {
    QString text;
    for (int y = 0; y < kBoardSize; ++y) {
        for (int x = 0; x < kBoardSize; ++x) {
            const Cell c = board.at({x, y});
            text += c.isEmpty() ? QStringLiteral("  . ") : QLatin1Char(' ') + cellText(c);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

}  // namespace shogi::test
