#pragma once

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <array>
#include <cstring>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "gorules/capture.h"
#include "gtpclient.h"

// The random go games that GNU Go plays with us: the capture rules are
// checked against them move by move, and the record tool writes them out and
// has GNU Go read them back.

namespace go::test {

inline constexpr int kGnuGoGames = 20;
inline constexpr int kMovesPerGnuGoGame = 300;
inline constexpr unsigned kFirstGnuGoSeed = 1;

// GTP columns skip the letter I; rows count from 1 at the bottom.
inline constexpr char kGtpColumns[] = "ABCDEFGHJKLMNOPQRST";

inline QString vertexOf(Point p) {
    return QChar::fromLatin1(kGtpColumns[p.x]) + QString::number(kBoardSize - p.y);
}

inline std::optional<Point> pointOf(const QString& vertex) {
    if (vertex.size() < 2) return std::nullopt;
    const char* column = std::strchr(kGtpColumns, vertex[0].toUpper().toLatin1());
    bool isNumber = false;
    const int row = vertex.mid(1).toInt(&isNumber);
    if (column == nullptr || *column == '\0' || !isNumber || row < 1 || row > kBoardSize)
        return std::nullopt;
    return Point{static_cast<int>(column - kGtpColumns), kBoardSize - row};
}

// The board of GTP list answers ("A19 D4 ..."), black's then white's; nothing
// when a vertex is not a point of the board.
inline std::optional<Ban> banOf(const QString& black, const QString& white) {
    Ban ban;
    for (const auto& [answer, stone] :
         std::array{std::pair{black, Stone::Black}, std::pair{white, Stone::White}}) {
        for (const QString& vertex : answer.split(u' ', Qt::SkipEmptyParts)) {
            const std::optional<Point> p = pointOf(vertex);
            if (!p) return std::nullopt;
            ban.set(*p, stone);
        }
    }
    return ban;
}

inline QString gtpColour(Stone s) {
    return s == Stone::Black ? QStringLiteral("black") : QStringLiteral("white");
}

// GNU Go lives in /usr/games on Debian, which is not on every PATH.
inline QString gnugoProgram() {
    QString found = QStandardPaths::findExecutable(QStringLiteral("gnugo"));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QStringLiteral("gnugo"), {"/usr/games"});
    return found;
}

inline QString gnugoMissing() {
    return QStringLiteral(
        "gnugo is not installed (looked on PATH and in /usr/games): run "
        "scripts/setup-deps");
}

// What a game's check sees after each move: the move, our board with the
// stones taken by each colour, and GNU Go's answers to the check commands.
struct GnuGoMove {
    int number = 0;
    Stone colour = Stone::Black;
    Point point;
    const Ban* ban = nullptr;
    std::array<qint32, 2> captured{};  // by black, by white
    std::vector<QString> answers;
};

namespace detail {

inline QString isLegal(Stone colour, Point p) {
    return "is_legal " + gtpColour(colour) + " " + vertexOf(p);
}

inline std::vector<Point> emptyPoints(const Ban& ban) {
    std::vector<Point> points;
    for (int k = 0; k < kPointCount; ++k)
        if (ban.at(Point::fromNumber(k)) == Stone::Empty) points.push_back(Point::fromNumber(k));
    return points;
}

// Takes a random point out of `points`. By remainder, not a distribution, so
// that a seed replays the same game with any standard library.
inline Point drawFrom(std::vector<Point>& points, std::mt19937& random) {
    const std::size_t i = random() % points.size();
    const Point p = points[i];
    points[i] = points.back();
    points.pop_back();
    return p;
}

}  // namespace detail

// A game never fills the board, so there is always an empty point to draw.
static_assert(kMovesPerGnuGoGame < kPointCount);

// One game of random moves, alternating from black, each placed on our board
// as the go program places its own stone. A move is drawn among the empty
// points until GNU Go calls one legal, which picks it evenly among the legal
// moves; the first draw rides with the previous move's checks, so a move
// usually costs one round trip (asking for all legal moves costs GNU Go far
// more time than that). After each move `check` gets the move with the
// answers to `checks`, sent with it; a fatal failure ends the game.
template <typename Check>
void playGnuGoGame(GtpClient& gnugo, unsigned seed, const QStringList& checks, Check check) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    Ban ban;
    GnuGoMove move;
    move.ban = &ban;
    std::vector<Point> candidates = detail::emptyPoints(ban);
    Point candidate = detail::drawFrom(candidates, random);
    auto answers =
        gnugo.ask({"boardsize 19", "clear_board", detail::isLegal(Stone::Black, candidate)});
    ASSERT_TRUE(answers) << gnugo.error().toStdString();
    for (int number = 1; number <= kMovesPerGnuGoGame; ++number) {
        const Stone colour = number % 2 == 1 ? Stone::Black : Stone::White;
        // The last answer says whether GNU Go allows `candidate`.
        while (answers->back() != u"1") {
            ASSERT_EQ(answers->back().toStdString(), "0") << "is_legal answered something else";
            if (candidates.empty()) break;  // no legal move left: the game ends
            candidate = detail::drawFrom(candidates, random);
            answers = gnugo.ask({detail::isLegal(colour, candidate)});
            ASSERT_TRUE(answers) << gnugo.error().toStdString();
        }
        if (answers->back() != u"1") break;
        const Point p = candidate;
        SCOPED_TRACE(testing::Message()
                     << "move " << number << ": " << gtpColour(colour).toStdString() << " "
                     << vertexOf(p).toStdString());
        ban.set(p, colour);
        CaptureSearch(ban).CheckCapture(p, colour, move.captured[stoneCode(colour)]);

        candidates = detail::emptyPoints(ban);
        candidate = detail::drawFrom(candidates, random);
        QStringList commands{"play " + gtpColour(colour) + " " + vertexOf(p)};
        commands += checks;
        commands += detail::isLegal(opponentOf(colour), candidate);
        answers = gnugo.ask(commands);
        ASSERT_TRUE(answers) << gnugo.error().toStdString();
        move.number = number;
        move.colour = colour;
        move.point = p;
        move.answers.assign(answers->begin() + 1, answers->end() - 1);
        check(std::as_const(move));
        if (testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace go::test
