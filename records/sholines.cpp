#include "sholines.h"

#include "shoginames.h"
#include "shosetup.h"

namespace records {

namespace {

// The move from the start that reaches `seen` when `recorder` saw it.
std::optional<ShogiMove> firstMove(const shogi::Board& seen, Player recorder) {
    return ShogiGame().moveTo(boardSeenBy(seen, recorder));
}

bool startsAGame(const shogi::Board& seen) {
    return firstMove(seen, Player::First) || firstMove(seen, Player::Second);
}

bool isEmpty(const shogi::Hand& hand) {
    for (const shogi::HandEntry& e : hand.entries)
        if (e.count != 0) return false;
    return true;
}

// Plays the move each line from `from` on shows, as long as there is one;
// the line where that ends is named in `problems`.
void playLines(ShogiGame& game, Player recorder, const QStringList& lines, qsizetype from,
               LineProblems& problems) {
    for (qsizetype i = from; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const qsizetype moves = static_cast<qsizetype>(game.moves().size());
        shogi::Board seen;
        if (seen.load(lines[i])) {
            problems.push_back(
                {number, QStringLiteral("not a position (81 hexadecimal items); converted the "
                                        "%1 moves before it")
                             .arg(moves)});
            return;
        }
        const std::optional<ShogiMove> move = game.moveTo(boardSeenBy(seen, recorder));
        if (!move) {
            const QString text =
                startsAGame(seen) ? QStringLiteral(
                                        "a new game starts here; converted the %1 moves of the "
                                        "game before it")
                                        .arg(moves)
                                  : QStringLiteral(
                                        "not one legal move after line %1 (a move is missing or "
                                        "the line was changed); converted the %2 moves before it")
                                        .arg(i)
                                        .arg(moves);
            problems.push_back({number, text});
            return;
        }
        (void)game.play(*move);  // moveTo found it legal
    }
}

// A record whose first line is no move from the start: that line is set up,
// with the hands and the turn the lines after it show.
void readSetUp(ShoRead& read, const shogi::Board& seen, const QStringList& lines) {
    read.recorder = recorderByKings(seen);
    StartPosition start;
    start.board = boardSeenBy(seen, read.recorder);
    if (auto problem = startProblem(start)) {
        read.problems.push_back(
            {1, QStringLiteral("not one move from the starting position, and no position of "
                               "a game: %1; nothing converted")
                    .arg(*problem)});
        return;
    }
    const shogi::Hand offBoard = piecesOffBoard(start.board);
    // Each player may hold every piece off the board until the drops tell.
    start.first = offBoard;
    start.second = offBoard;
    // The lines alternate: the player who makes the move to line 2 is to move.
    bool turnShown = false;
    shogi::Board second;
    if (lines.size() > 1 && !second.load(lines[1])) {
        for (Player p : {Player::First, Player::Second}) {
            start.toMove = p;
            if (ShogiGame(start).moveTo(boardSeenBy(second, read.recorder))) {
                turnShown = true;
                break;
            }
        }
    }
    if (!turnShown) start.toMove = Player::First;
    ShogiGame trial(start);
    LineProblems breaks;
    playLines(trial, read.recorder, lines, 1, breaks);

    const SetUpHands hands = handsForSetUp(offBoard, start.toMove, trial.moves());
    if (hands.movesThatFit < trial.moves().size()) {
        const int line = static_cast<int>(hands.movesThatFit) + 2;
        breaks = {{line, QStringLiteral("not one legal move after line %1 (a drop of a piece "
                                        "that is on the board or in the other hand); converted "
                                        "the %2 moves before it")
                             .arg(line - 1)
                             .arg(hands.movesThatFit)}};
    }
    start.first = hands.first;
    start.second = hands.second;
    read.game = ShogiGame(start);
    for (std::size_t i = 0; i < hands.movesThatFit; ++i)
        (void)read.game.play(trial.moves()[i].move);  // legal with these hands too

    QString text = QStringLiteral(
                       "not one move from the starting position (a record begun during a "
                       "game): kept as a set-up with %1 to move")
                       .arg(playerName(start.toMove));
    if (!turnShown) text += QStringLiteral(", which no move after it shows");
    if (!isEmpty(hands.unshown))
        text += QStringLiteral("; the pieces in hand no drop shows (%1) are given to %2")
                    .arg(kifHandText(hands.unshown).trimmed())
                    .arg(playerName(otherPlayer(start.toMove)));
    read.problems.push_back({1, text});
    read.problems.insert(read.problems.end(), breaks.begin(), breaks.end());
}

}  // namespace

ShoRead readSho(const QStringList& lines) {
    ShoRead read;
    if (lines.isEmpty()) {
        read.problems.push_back({0, QStringLiteral("the record holds no position")});
        return read;
    }
    shogi::Board seen;
    if (seen.load(lines[0])) {
        read.problems.push_back(
            {1, QStringLiteral("not a position (81 hexadecimal items); converted the 0 moves "
                               "before it")});
        return read;
    }
    for (Player recorder : {Player::First, Player::Second}) {
        if (firstMove(seen, recorder)) {
            read.recorder = recorder;
            playLines(read.game, recorder, lines, 0, read.problems);
            return read;
        }
    }
    readSetUp(read, seen, lines);
    return read;
}

QStringList shoLines(const ShogiGame& game, Player recorder) {
    QStringList lines;
    if (game.isSetUp()) lines.append(boardSeenBy(game.start().board, recorder).positionString());
    for (const PlayedMove& played : game.moves())
        lines.append(boardSeenBy(played.after, recorder).positionString());
    return lines;
}

}  // namespace records
