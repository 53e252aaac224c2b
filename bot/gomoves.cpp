#include "gomoves.h"

#include <QList>
#include <array>

#include "gorules/capture.h"

namespace bot {

using go::Ban;
using go::Point;
using go::Stone;

namespace {

// GTP columns skip the letter I.
constexpr std::string_view kColumns = "ABCDEFGHJKLMNOPQRST";

constexpr std::array<Point, 4> kSteps{{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}};

// One group of stones and whether it has a liberty.
struct Group {
    std::vector<Point> points;
    bool hasLiberty = false;
};

// Every group of the board, and for each point the number of its group.
struct Groups {
    std::vector<Group> groups;
    std::array<int, go::kPointCount> groupOf{};
};

Groups findGroups(const Ban& ban) {
    Groups result;
    result.groupOf.fill(-1);
    for (int k = 0; k < go::kPointCount; ++k) {
        const Point start = Point::fromNumber(k);
        const Stone colour = ban.at(start);
        if (colour == Stone::Empty || result.groupOf[static_cast<std::size_t>(k)] >= 0) continue;
        const int id = static_cast<int>(result.groups.size());
        Group group;
        group.points.push_back(start);
        result.groupOf[static_cast<std::size_t>(k)] = id;
        for (std::size_t i = 0; i < group.points.size(); ++i) {
            for (const Point step : kSteps) {
                const Point n{group.points[i].x + step.x, group.points[i].y + step.y};
                if (!n.isOnBoard()) continue;
                const Stone s = ban.at(n);
                if (s == Stone::Empty) group.hasLiberty = true;
                int& mark = result.groupOf[static_cast<std::size_t>(n.number())];
                if (s == colour && mark < 0) {
                    mark = id;
                    group.points.push_back(n);
                }
            }
        }
        result.groups.push_back(std::move(group));
    }
    return result;
}

QChar sgfLetter(int coordinate) {
    return QChar(u'a' + coordinate);
}

}  // namespace

QString gtpVertex(Point p) {
    return QChar::fromLatin1(kColumns[static_cast<std::size_t>(p.x)]) +
           QString::number(go::kBoardSize - p.y);
}

std::optional<Point> pointFromVertex(QStringView text) {
    if (text.size() < 2 || text.size() > 3) return std::nullopt;
    const char column = text[0].toUpper().toLatin1();
    const std::size_t x = kColumns.find(column);
    if (column == 0 || x == std::string_view::npos) return std::nullopt;
    int row = 0;
    for (const QChar c : text.sliced(1)) {
        if (c < u'0' || c > u'9') return std::nullopt;
        row = row * 10 + (c.unicode() - u'0');
    }
    if (row < 1 || row > go::kBoardSize || text[1] == u'0') return std::nullopt;
    return Point{static_cast<int>(x), go::kBoardSize - row};
}

std::optional<std::vector<Point>> pointsFromList(QStringView text) {
    std::vector<Point> points;
    for (const QStringView vertex : text.split(u' ', Qt::SkipEmptyParts)) {
        const auto p = pointFromVertex(vertex);
        if (!p) return std::nullopt;
        points.push_back(*p);
    }
    return points;
}

std::optional<GoMove> deriveOpponentMove(const Ban& before, const go::MarkedBan& after,
                                         Stone opponent) {
    if (!after.lastMove) {
        if (after.ban == before) return GoMove{true, {}};
        return std::nullopt;
    }
    const Point p = *after.lastMove;
    if (after.ban.at(p) != opponent || before.at(p) != Stone::Empty) return std::nullopt;
    Ban trial = before;
    trial.set(p, opponent);
    qint32 taken = 0;
    go::CaptureSearch(trial).CheckCapture(p, opponent, taken);
    if (trial != after.ban) return std::nullopt;
    return GoMove{false, p};
}

Ban engineView(const Ban& ban) {
    const Groups found = findGroups(ban);
    Ban view = ban;
    for (const Group& group : found.groups) {
        if (group.hasLiberty) continue;
        const Stone colour = ban.at(group.points.front());
        // Handed over as the colour around it, unless a group around it has
        // no liberty either: such a knot is left out altogether.
        bool wallsLive = true;
        for (const Point p : group.points) {
            for (const Point step : kSteps) {
                const Point n{p.x + step.x, p.y + step.y};
                if (!n.isOnBoard() || ban.at(n) == colour) continue;
                const int id = found.groupOf[static_cast<std::size_t>(n.number())];
                wallsLive = wallsLive && found.groups[static_cast<std::size_t>(id)].hasLiberty;
            }
        }
        const Stone shown = wallsLive ? go::opponentOf(colour) : Stone::Empty;
        for (const Point p : group.points)
            view.set(p, shown);
    }
    return view;
}

QString setupRecord(const Ban& ban, Stone toPlay, double komi) {
    const Ban view = engineView(ban);
    QString black;
    QString white;
    for (int k = 0; k < go::kPointCount; ++k) {
        const Point p = Point::fromNumber(k);
        const Stone s = view.at(p);
        if (s != Stone::Black && s != Stone::White) continue;
        QString& list = s == Stone::Black ? black : white;
        list += u'[';
        list += sgfLetter(p.x);
        list += sgfLetter(p.y);
        list += u']';
    }
    QString record = QStringLiteral("(;GM[1]FF[4]SZ[%1]KM[%2]").arg(go::kBoardSize).arg(komi);
    if (!black.isEmpty()) record += QStringLiteral("AB") + black;
    if (!white.isEmpty()) record += QStringLiteral("AW") + white;
    record += toPlay == Stone::Black ? QStringLiteral("PL[B])") : QStringLiteral("PL[W])");
    return record;
}

std::optional<Stone> estimatedWinner(QStringView text) {
    if (text.startsWith(u"B+")) return Stone::Black;
    if (text.startsWith(u"W+")) return Stone::White;
    return std::nullopt;
}

}  // namespace bot
