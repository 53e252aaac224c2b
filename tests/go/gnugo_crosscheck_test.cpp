#include <gtest/gtest.h>

#include <QStandardPaths>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "capture.h"
#include "diagram.h"
#include "gtpclient.h"

// Plays random games on our board and on GNU Go's side by side and compares
// every position and both capture counts after every move. GNU Go forbids
// suicide and ko, so every move it allows is one where our rules (which
// allow both) must give the same board as any go rules.

namespace go {
namespace {

using test::diagramOf;
using test::GtpClient;

constexpr int kGames = 20;
constexpr int kMovesPerGame = 300;
constexpr unsigned kFirstSeed = 1;

// GTP columns skip the letter I; rows count from 1 at the bottom.
constexpr char kColumns[] = "ABCDEFGHJKLMNOPQRST";

QString vertexOf(Point p) {
    return QChar::fromLatin1(kColumns[p.x]) + QString::number(kBoardSize - p.y);
}

std::optional<Point> pointOf(const QString& vertex) {
    if (vertex.size() < 2) return std::nullopt;
    const char* column = std::strchr(kColumns, vertex[0].toUpper().toLatin1());
    bool isNumber = false;
    const int row = vertex.mid(1).toInt(&isNumber);
    if (column == nullptr || *column == '\0' || !isNumber || row < 1 || row > kBoardSize)
        return std::nullopt;
    return Point{static_cast<int>(column - kColumns), kBoardSize - row};
}

// The vertices of a GTP list answer ("A19 D4 ..."); nothing when one is not
// a point of the board.
std::optional<std::vector<Point>> pointsOf(const QString& answer) {
    std::vector<Point> points;
    for (const QString& vertex : answer.split(u' ', Qt::SkipEmptyParts)) {
        const std::optional<Point> p = pointOf(vertex);
        if (!p) return std::nullopt;
        points.push_back(*p);
    }
    return points;
}

QString gtpColour(Stone s) {
    return s == Stone::Black ? QStringLiteral("black") : QStringLiteral("white");
}

// GNU Go lives in /usr/games on Debian, which is not on every PATH.
QString gnugoProgram() {
    QString found = QStandardPaths::findExecutable(QStringLiteral("gnugo"));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QStringLiteral("gnugo"), {"/usr/games"});
    return found;
}

QString isLegal(Stone colour, Point p) {
    return "is_legal " + gtpColour(colour) + " " + vertexOf(p);
}

std::vector<Point> emptyPoints(const Ban& ban) {
    std::vector<Point> points;
    for (int k = 0; k < kPointCount; ++k)
        if (ban.at(Point::fromNumber(k)) == Stone::Empty) points.push_back(Point::fromNumber(k));
    return points;
}

// Takes a random point out of `points`. By remainder, not a distribution, so
// that a seed replays the same game with any standard library.
Point drawFrom(std::vector<Point>& points, std::mt19937& random) {
    const std::size_t i = random() % points.size();
    const Point p = points[i];
    points[i] = points.back();
    points.pop_back();
    return p;
}

// A game never fills the board, so there is always an empty point to draw.
static_assert(kMovesPerGame < kPointCount);

// One game of random moves, alternating from black, each placed on our board
// as the go program places its own stone. A move is drawn among the empty
// points until GNU Go calls one legal, which picks it evenly among the legal
// moves; the first draw rides with the previous move's checks, so a move
// usually costs one round trip (asking for all legal moves costs GNU Go far
// more time than that). Adds the stones taken to `taken`.
void playGame(GtpClient& gnugo, unsigned seed, int& taken) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    Ban ban;
    qint32 captured[2] = {0, 0};  // by black, by white
    std::vector<Point> candidates = emptyPoints(ban);
    Point candidate = drawFrom(candidates, random);
    auto answers = gnugo.ask({"boardsize 19", "clear_board", isLegal(Stone::Black, candidate)});
    ASSERT_TRUE(answers) << gnugo.error().toStdString();
    for (int move = 1; move <= kMovesPerGame; ++move) {
        const Stone colour = move % 2 == 1 ? Stone::Black : Stone::White;
        // The last answer says whether GNU Go allows `candidate`.
        while (answers->back() != u"1") {
            ASSERT_EQ(answers->back().toStdString(), "0") << "is_legal answered something else";
            if (candidates.empty()) break;  // no legal move left: the game ends
            candidate = drawFrom(candidates, random);
            answers = gnugo.ask({isLegal(colour, candidate)});
            ASSERT_TRUE(answers) << gnugo.error().toStdString();
        }
        if (answers->back() != u"1") break;
        const Point p = candidate;
        SCOPED_TRACE(testing::Message()
                     << "move " << move << ": " << gtpColour(colour).toStdString() << " "
                     << vertexOf(p).toStdString());
        ban.set(p, colour);
        CaptureSearch(ban).CheckCapture(p, colour, captured[stoneCode(colour)]);

        candidates = emptyPoints(ban);
        candidate = drawFrom(candidates, random);
        answers = gnugo.ask({"play " + gtpColour(colour) + " " + vertexOf(p), "list_stones black",
                             "list_stones white", "captures black", "captures white",
                             isLegal(opponentOf(colour), candidate)});
        ASSERT_TRUE(answers) << gnugo.error().toStdString();
        Ban theirs;
        for (const auto& [answer, stone] :
             {std::pair{(*answers)[1], Stone::Black}, std::pair{(*answers)[2], Stone::White}}) {
            const auto stones = pointsOf(answer);
            ASSERT_TRUE(stones) << "list_stones: " << answer.toStdString();
            for (Point s : *stones)
                theirs.set(s, stone);
        }
        ASSERT_TRUE(ban == theirs) << "ours:\n"
                                   << diagramOf(ban) << "GNU Go's:\n"
                                   << diagramOf(theirs);
        ASSERT_EQ(std::to_string(captured[0]), (*answers)[3].toStdString()) << "taken by black";
        ASSERT_EQ(std::to_string(captured[1]), (*answers)[4].toStdString()) << "taken by white";
    }
    taken += captured[0] + captured[1];
}

TEST(GoCrossCheck, RandomGamesGiveGnuGosPositionsAndCaptures) {
    const QString program = gnugoProgram();
    ASSERT_FALSE(program.isEmpty())
        << "gnugo is not installed (looked on PATH and in /usr/games): run scripts/setup-deps";
    GtpClient gnugo;
    ASSERT_TRUE(gnugo.start(program, {"--mode", "gtp"})) << gnugo.error().toStdString();
    int taken = 0;
    for (unsigned seed = kFirstSeed; seed < kFirstSeed + kGames; ++seed) {
        playGame(gnugo, seed, taken);
        if (HasFatalFailure()) return;
    }
    // Random games take a dozen stones or more each; far fewer would mean
    // the captures went unchecked.
    EXPECT_GT(taken, 5 * kGames);
}

}  // namespace
}  // namespace go
