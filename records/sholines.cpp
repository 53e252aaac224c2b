#include "sholines.h"

namespace records {

namespace {

// The move from the start that reaches `seen` when `recorder` saw it.
std::optional<ShogiMove> firstMove(const shogi::Board& seen, Player recorder) {
    return ShogiGame().moveTo(boardSeenBy(seen, recorder));
}

bool startsAGame(const shogi::Board& seen) {
    return firstMove(seen, Player::First) || firstMove(seen, Player::Second);
}

}  // namespace

ShoRead readSho(const QStringList& lines) {
    ShoRead read;
    if (lines.isEmpty()) {
        read.problems.push_back({0, QStringLiteral("the record holds no position")});
        return read;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        shogi::Board seen;
        if (seen.load(lines[i])) {
            read.problems.push_back(
                {number, QStringLiteral("not a position (81 hexadecimal items); converted the "
                                        "%1 moves before it")
                             .arg(i)});
            return read;
        }
        if (i == 0) {
            for (Player recorder : {Player::First, Player::Second}) {
                if (firstMove(seen, recorder)) {
                    read.recorder = recorder;
                    break;
                }
            }
        }
        const shogi::Board next = boardSeenBy(seen, read.recorder);
        const std::optional<ShogiMove> move = read.game.moveTo(next);
        if (!move) {
            QString text;
            if (i == 0)
                text = QStringLiteral(
                    "not one move from the starting position: the record "
                    "was begun during a game, and positions hold no pieces "
                    "in hand; nothing converted");
            else if (startsAGame(seen))
                text = QStringLiteral(
                           "a new game starts here; converted the %1 moves of the "
                           "game before it")
                           .arg(i);
            else
                text = QStringLiteral(
                           "not one legal move after line %1 (a move is missing or "
                           "the line was changed); converted the %2 moves before it")
                           .arg(i)
                           .arg(i);
            read.problems.push_back({number, text});
            return read;
        }
        (void)read.game.play(*move);  // moveTo found it legal
    }
    return read;
}

QStringList shoLines(const ShogiGame& game, Player recorder) {
    QStringList lines;
    for (const PlayedMove& played : game.moves())
        lines.append(boardSeenBy(played.after, recorder).positionString());
    return lines;
}

}  // namespace records
