#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>
#include <variant>
#include <vector>

#include "gorules/board.h"
#include "shogirules/board.h"
#include "shogirules/hand.h"

namespace web {

// A game as the web pages show it: who played, how it ended, and every
// position from the start, each in the first player's view. The live game
// (WatchedGame) builds it from what the server relays, the archive reads it
// back from disk; the JSON and the records are made from it alone.

enum class GameKind { Shogi, Go };

// Black is the player who moved first (先手), white the other (後手).
enum class Colour { Black, White };

constexpr Colour otherColour(Colour c) {
    return c == Colour::Black ? Colour::White : Colour::Black;
}

enum class EndHow {
    Resignation,
    KingTaken,   // shogi: the winner took the loser's king
    PlayerGone,  // a player's program or lobby connection went
    Ended,       // the server ended it without a known winner
};

struct GameResult {
    EndHow how = EndHow::Ended;
    std::optional<Colour> winner;

    friend bool operator==(const GameResult&, const GameResult&) = default;
};

// The Japanese text a page shows for a result ("後手の投了で先手の勝ち").
QString resultText(GameKind kind, const GameResult& result);

// A shogi move as a page marks it: squares in the first player's view
// (x from the left, y from the top); no origin for a drop.
struct ShogiLast {
    shogi::Square to;
    std::optional<shogi::Square> from;

    friend bool operator==(const ShogiLast&, const ShogiLast&) = default;
};

// A shogi position: side 1 (`Side::Own`) of the board is black, at the bottom.
struct ShogiState {
    shogi::Board board = shogi::Board::initial();
    shogi::Hand black;
    shogi::Hand white;
    std::optional<ShogiLast> last;  // nothing at the start or when no one move shows

    friend bool operator==(const ShogiState&, const ShogiState&) = default;
};

// A go stone as a page marks it; no point for a pass (a move that left the
// board as it was).
struct GoLast {
    std::optional<go::Point> point;

    friend bool operator==(const GoLast&, const GoLast&) = default;
};

struct GoState {
    go::Ban board;
    int blackCaptures = 0;  // stones black has taken in this game
    int whiteCaptures = 0;
    std::optional<GoLast> last;

    friend bool operator==(const GoState&, const GoState&) = default;
};

struct Position {
    Colour turn = Colour::Black;  // who moves next
    std::variant<ShogiState, GoState> state;

    friend bool operator==(const Position&, const Position&) = default;
};

// The position every game of `kind` starts from.
Position startPosition(GameKind kind);

struct GameSummary {
    quint64 id = 0;
    GameKind kind = GameKind::Shogi;
    // Before the first move the challenger stands as black: who moves first
    // is known only when he does (`sidesKnown`).
    QString black;
    QString white;
    bool sidesKnown = false;
    int moves = 0;
    int watchers = 0;
    QDateTime started;
    std::optional<QDateTime> ended;
    std::optional<GameResult> result;
};

struct GameRecord {
    GameSummary summary;
    std::vector<Position> positions;  // [0] is the start, [n] the position after move n
};

// The names the JSON and the archive files use: "shogi"/"go",
// "black"/"white", "resignation"/"king taken"/"player gone"/"ended".
QString kindName(GameKind kind);
std::optional<GameKind> kindFromName(QStringView name);
QString colourName(Colour colour);
std::optional<Colour> colourFromName(QStringView name);
QString howName(EndHow how);
std::optional<EndHow> howFromName(QStringView name);

// Times as the pages and the archive write them: ISO 8601 in UTC to the
// second ("2026-12-08T21:00:00Z"); nothing for anything else.
QString timeText(const QDateTime& time);
std::optional<QDateTime> timeFromText(QStringView text);

// No real game comes near this many moves; a pair of programs that sends
// more is not followed further, so that no game can fill the memory or disk.
inline constexpr int kMaxMoves = 4000;

}  // namespace web
