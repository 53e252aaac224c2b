#include "archivefile.h"

#include <QList>
#include <QUrl>
#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <utility>

#include "gorules/positionstring.h"
#include "recordlines.h"

namespace web {

namespace {

constexpr char kMagic[] = "quor-web-game\t1";
constexpr int kHandKinds = 7;
constexpr qint32 kMaxHandCount = 40;
// The most characters a hand count can take (any int a hand may hold).
constexpr int kCountDigits = 11;
constexpr int kMaxCaptures = go::kPointCount * kMaxMoves;
// The longest line is a go move: 361 points of two digits and their commas.
constexpr qsizetype kMaxLineBytes = 4096;

// Fields parted by tabs, and the line break; written into one buffer, as
// a line goes out for every move of every game.
QByteArray line(std::initializer_list<QByteArrayView> fields) {
    qsizetype size = qsizetype(fields.size());
    for (const QByteArrayView field : fields)
        size += field.size();
    QByteArray out(size, Qt::Uninitialized);
    char* at = out.data();
    for (const QByteArrayView* field = fields.begin(); field != fields.end(); ++field) {
        if (field != fields.begin()) *at++ = '\t';
        if (!field->isEmpty()) at = std::copy(field->begin(), field->end(), at);
    }
    *at = '\n';
    return out;
}

QByteArray idField(const QString& id) {
    return QUrl::toPercentEncoding(id);
}

QByteArray text(const QString& s) {
    return s.toUtf8();
}

std::optional<int> number(QByteArrayView field, int max) {
    if (field.isEmpty() || field.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > max) return std::nullopt;
    return value;
}

std::optional<QString> idOf(const QByteArray& field) {
    if (field.isEmpty()) return std::nullopt;
    return QUrl::fromPercentEncoding(field);
}

// A file and a rank digit, for a square on the board, written at `out`;
// past them.
char* writeSquare(char* out, shogi::Square s) {
    *out++ = static_cast<char>('0' + shogi::kBoardSize - s.x);
    *out++ = static_cast<char>('0' + s.y + 1);
    return out;
}

// A file and a rank digit; nothing for anything off the board.
std::optional<shogi::Square> squareOf(QByteArrayView digits) {
    const auto file = number(digits.first(1), 9);
    const auto rank = number(digits.sliced(1), 9);
    if (!file || !rank || *file == 0 || *rank == 0) return std::nullopt;
    return shogi::Square{shogi::kBoardSize - *file, *rank - 1};
}

// The fourteen hand counts, black's first, commas between, written at
// `out`; past them.
char* writeShogiCounts(char* out, const ShogiState& s) {
    bool first = true;
    for (const shogi::Hand* hand : {&s.black, &s.white}) {
        for (const shogi::HandEntry& e : hand->entries) {
            if (!std::exchange(first, false)) *out++ = ',';
            out = std::to_chars(out, out + kCountDigits, e.count).ptr;
        }
    }
    return out;
}

// The last move's squares (from "00" for a drop), or "-", written at `out`;
// past them.
char* writeShogiLast(char* out, const ShogiState& s) {
    if (!s.last) {
        *out++ = '-';
        return out;
    }
    if (s.last->from) {
        out = writeSquare(out, *s.last->from);
    } else {
        *out++ = '0';
        *out++ = '0';
    }
    return writeSquare(out, s.last->to);
}

// A colour's name as the lines write it.
QByteArrayView colourField(Colour c) {
    static const QByteArray names[] = {text(colourName(Colour::Black)),
                                       text(colourName(Colour::White))};
    return names[c == Colour::Black ? 0 : 1];
}

// A shogi move's line: a board and its hands come with every move, written
// where they stand, the line in one buffer.
QByteArray shogiMoveLine(Colour mover, const ShogiState& s) {
    char board[shogi::kPositionStringSize];
    s.board.writePositionString(board);
    char counts[2 * kHandKinds * (kCountDigits + 1)];
    const char* const countsEnd = writeShogiCounts(counts, s);
    char last[4];
    const char* const lastEnd = writeShogiLast(last, s);
    return line({"M", colourField(mover), QByteArrayView(board, sizeof board),
                 QByteArrayView(counts, countsEnd), QByteArrayView(last, lastEnd)});
}

QByteArray goLast(const GoState& s) {
    if (!s.last) return "-";
    if (!s.last->point) return "pass";
    return QByteArray::number(s.last->point->x + 1) + ',' +
           QByteArray::number(s.last->point->y + 1);
}

bool readShogi(const QList<QByteArray>& f, ShogiState& s) {
    if (s.board.load(QString::fromLatin1(f[2]))) return false;
    const QList<QByteArray> counts = f[3].split(',');
    if (counts.size() != 2 * kHandKinds) return false;
    for (int i = 0; i < 2 * kHandKinds; ++i) {
        const auto count = number(counts[i], kMaxHandCount);
        if (!count) return false;
        shogi::Hand& hand = i < kHandKinds ? s.black : s.white;
        hand.entries[static_cast<std::size_t>(i % kHandKinds)].count = *count;
    }
    if (f[4] == "-") return true;
    if (f[4].size() != 4) return false;
    const auto to = squareOf(QByteArrayView(f[4]).sliced(2));
    if (!to) return false;
    s.last = ShogiLast{*to, std::nullopt};
    if (f[4].startsWith("00")) return true;
    s.last->from = squareOf(QByteArrayView(f[4]).first(2));
    return s.last->from.has_value();
}

bool readGo(const QList<QByteArray>& f, GoState& s) {
    const auto seen = go::readPosition(QString::fromLatin1(f[2]));
    if (!seen) return false;
    s.board = seen->ban;
    const QList<QByteArray> counts = f[3].split(',');
    if (counts.size() != 2) return false;
    const auto black = number(counts[0], kMaxCaptures);
    const auto white = number(counts[1], kMaxCaptures);
    if (!black || !white) return false;
    s.blackCaptures = *black;
    s.whiteCaptures = *white;
    if (f[4] == "-") return true;
    if (f[4] == "pass") {
        s.last = GoLast{};
        return true;
    }
    const QList<QByteArray> xy = f[4].split(',');
    if (xy.size() != 2) return false;
    const auto x = number(xy[0], go::kBoardSize);
    const auto y = number(xy[1], go::kBoardSize);
    if (!x || !y || *x == 0 || *y == 0) return false;
    s.last = GoLast{go::Point{*x - 1, *y - 1}};
    return true;
}

std::optional<Position> readMove(const QList<QByteArray>& f, GameKind kind) {
    if (f.size() != 5) return std::nullopt;
    const auto mover = colourFromName(QString::fromLatin1(f[1]));
    if (!mover) return std::nullopt;
    Position p = startPosition(kind);
    p.turn = otherColour(*mover);
    bool read = false;
    if (auto* s = std::get_if<ShogiState>(&p.state)) {
        s->board = {};
        read = readShogi(f, *s);
    } else {
        read = readGo(f, std::get<GoState>(p.state));
    }
    if (!read) return std::nullopt;
    return p;
}

bool readBegin(const QList<QByteArray>& f, quint64 id, GameRecord& game) {
    if (f.size() != 6 || f[0] != "B" || f[1] != QByteArray::number(id)) return false;
    const auto kind = kindFromName(QString::fromLatin1(f[2]));
    const auto a = idOf(f[3]);
    const auto b = idOf(f[4]);
    const auto started = timeFromText(QString::fromLatin1(f[5]));
    if (!kind || !a || !b || !started) return false;
    GameSummary& s = game.summary;
    s.id = id;
    s.kind = *kind;
    s.black = *a;
    s.white = *b;
    s.started = *started;
    game.positions.push_back(startPosition(*kind));
    return true;
}

bool readSides(const QList<QByteArray>& f, GameSummary& s) {
    const auto black = f.size() == 3 ? idOf(f[1]) : std::nullopt;
    const auto white = f.size() == 3 ? idOf(f[2]) : std::nullopt;
    if (s.sidesKnown || !black || !white) return false;
    s.black = *black;
    s.white = *white;
    s.sidesKnown = true;
    return true;
}

bool readEnd(const QList<QByteArray>& f, GameSummary& s) {
    if (f.size() != 4) return false;
    const auto how = howFromName(QString::fromLatin1(f[1]));
    const auto ended = timeFromText(QString::fromLatin1(f[3]));
    std::optional<Colour> winner;
    if (f[2] != "-") {
        winner = colourFromName(QString::fromLatin1(f[2]));
        if (!winner) return false;
    }
    if (!how || !ended) return false;
    s.result = GameResult{*how, winner};
    s.ended = *ended;
    return true;
}

}  // namespace

QByteArray beginLines(const GameSummary& game) {
    return QByteArray(kMagic) + '\n' +
           line({"B", QByteArray::number(game.id), text(kindName(game.kind)), idField(game.black),
                 idField(game.white), text(timeText(game.started))});
}

QByteArray sidesLine(const GameSummary& game) {
    return line({"S", idField(game.black), idField(game.white)});
}

QByteArray moveLine(const Position& position) {
    const Colour mover = otherColour(position.turn);
    if (const auto* shogi = std::get_if<ShogiState>(&position.state))
        return shogiMoveLine(mover, *shogi);
    const GoState& s = std::get<GoState>(position.state);
    return line({"M", colourField(mover), text(recordLine(position)),
                 QByteArray::number(s.blackCaptures) + ',' + QByteArray::number(s.whiteCaptures),
                 goLast(s)});
}

QByteArray endLine(const GameSummary& game) {
    const GameResult result = game.result.value_or(GameResult{});
    return line({"E", text(howName(result.how)),
                 result.winner ? text(colourName(*result.winner)) : QByteArray("-"),
                 text(timeText(game.ended.value_or(game.started)))});
}

std::optional<GameRecord> readGameFile(const QByteArray& bytes, quint64 id,
                                       const QDateTime& noEndTime) {
    // Line by line, each up to its line break: what follows the last one is
    // a line cut off. A line longer than any this file has is damage.
    qsizetype at = 0;
    const auto nextLine = [&]() -> std::optional<QByteArray> {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0 || end - at > kMaxLineBytes) return std::nullopt;
        QByteArray line = bytes.sliced(at, end - at);
        at = end + 1;
        return line;
    };
    const auto magic = nextLine();
    const auto begin = nextLine();
    GameRecord game;
    if (!magic || *magic != kMagic || !begin || !readBegin(begin->split('\t'), id, game))
        return std::nullopt;
    while (const auto next = nextLine()) {
        const QList<QByteArray> f = next->split('\t');
        if (f[0] == "S") {
            if (!readSides(f, game.summary)) break;
        } else if (f[0] == "M") {
            if (game.summary.moves >= kMaxMoves) break;
            const auto position = readMove(f, game.summary.kind);
            if (!position) break;
            game.positions.push_back(*position);
            game.summary.moves = static_cast<int>(game.positions.size()) - 1;
        } else if (f[0] == "E") {
            if (readEnd(f, game.summary)) return game;
            break;
        } else {
            break;
        }
    }
    game.summary.result = GameResult{EndHow::Ended, std::nullopt};
    game.summary.ended = noEndTime.toUTC();
    return game;
}

}  // namespace web
