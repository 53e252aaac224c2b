#include "sgf.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "recordtext.h"
#include "recordview.h"

namespace records {

using go::Ban;
using go::Point;
using go::Stone;

namespace {

QString pointText(Point p) {
    return QString(QChar(char16_t(u'a' + p.x))) + QChar(char16_t(u'a' + p.y));
}

QString colourLetter(Stone s) {
    return s == Stone::Black ? QStringLiteral("B") : QStringLiteral("W");
}

Player viewOf(Stone recorder) {
    return recorder == Stone::Black ? Player::First : Player::Second;
}

// AB/AW/AE that turn `from` into `to`.
QString setUpText(const Ban& from, const Ban& to) {
    QString black, white, empty;
    for (int k = 0; k < go::kPointCount; ++k) {
        const Point p = Point::fromNumber(k);
        if (from.at(p) == to.at(p)) continue;
        const QString value = u'[' + pointText(p) + u']';
        if (to.at(p) == Stone::Black)
            black += value;
        else if (to.at(p) == Stone::White)
            white += value;
        else
            empty += value;
    }
    QString text;
    if (!black.isEmpty()) text += QStringLiteral("AB") + black;
    if (!white.isEmpty()) text += QStringLiteral("AW") + white;
    if (!empty.isEmpty()) text += QStringLiteral("AE") + empty;
    return text;
}

struct Property {
    QByteArray ident;
    std::vector<QByteArray> values;
    int line = 0;
};

struct Node {
    std::vector<Property> properties;
    int line = 0;
};

// The nodes of the main line of the first game, or the problem with the file.
struct Parsed {
    std::vector<Node> nodes;
    LineProblems problems;
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// What a byte that cannot start anything in SGF is, for the message.
QString byteText(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u > 0x20 && u < 0x7F) return QStringLiteral("\"%1\"").arg(QChar::fromLatin1(c));
    return QStringLiteral("the byte 0x%1").arg(u, 2, 16, QLatin1Char('0'));
}

Parsed parse(const QByteArray& bytes) {
    Parsed parsed;
    const auto fail = [&parsed](int line, const QString& text) {
        parsed.problems.push_back({line, text});
        parsed.nodes.clear();
        return parsed;
    };
    // SGF is text in a one-byte encoding or UTF-8; a file saved as UTF-16
    // would otherwise only be "not SGF" at its first byte.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.contains('\0'))
        return fail(1, QStringLiteral("not SGF text: UTF-16 or binary (SGF is saved as UTF-8)"));
    qsizetype i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int line = 1;
    int depth = 0;
    bool started = false;
    // The main line takes the first variation at every branch, so it ends at
    // the first ")" however deep; the rest is read only to see that it is whole.
    bool mainLineDone = false;
    const auto next = [&]() {
        const char c = bytes[i++];
        if (c == '\n') ++line;
        return c;
    };
    while (i < bytes.size()) {
        const char c = next();
        if (isSpace(c)) continue;
        if (c == '(') {
            ++depth;
            started = true;
        } else if (c == ')') {
            if (depth == 0) return fail(line, QStringLiteral("a \")\" with no \"(\" before it"));
            mainLineDone = true;
            if (--depth == 0) break;  // the first game is whole; others are not read
        } else if (c == ';') {
            if (depth == 0) return fail(line, QStringLiteral("a node outside a game"));
            Node node;
            node.line = line;
            for (;;) {
                while (i < bytes.size() && isSpace(bytes[i]))
                    next();
                if (i >= bytes.size() || !std::isalpha(static_cast<unsigned char>(bytes[i]))) break;
                Property property;
                property.line = line;
                while (i < bytes.size() && std::isalpha(static_cast<unsigned char>(bytes[i]))) {
                    const char letter = next();
                    // Old files spell identifiers out ("AddBlack"): the capitals count.
                    if (letter >= 'A' && letter <= 'Z') property.ident += letter;
                }
                for (;;) {
                    while (i < bytes.size() && isSpace(bytes[i]))
                        next();
                    if (i >= bytes.size() || bytes[i] != '[') break;
                    next();
                    const int valueLine = line;
                    QByteArray value;
                    for (;;) {
                        if (i >= bytes.size())
                            return fail(valueLine, QStringLiteral("the file ends inside a "
                                                                  "property value"));
                        char v = next();
                        if (v == ']') break;
                        if (v == '\\') {
                            if (i >= bytes.size())
                                return fail(valueLine, QStringLiteral("the file ends inside a "
                                                                      "property value"));
                            v = next();
                        }
                        value += v;
                    }
                    property.values.push_back(value);
                }
                if (property.values.empty())
                    return fail(property.line, QStringLiteral("a property without a value"));
                node.properties.push_back(std::move(property));
            }
            if (mainLineDone) continue;
            if (parsed.nodes.size() > static_cast<std::size_t>(kMaxRecordMoves))
                return fail(node.line, QStringLiteral("more than %1 moves: no game is that long")
                                           .arg(kMaxRecordMoves));
            parsed.nodes.push_back(std::move(node));
        } else {
            return fail(
                line,
                QStringLiteral("not SGF: %1 where a node or a bracket was due").arg(byteText(c)));
        }
    }
    if (!started) return fail(line, QStringLiteral("no game in the file"));
    if (depth > 0)
        return fail(line, QStringLiteral("the file ends before the game is closed (cut off?)"));
    return parsed;
}

// The points of a value: "pd", a pass ("" or "tt" on 19 x 19), or for a
// set-up the rectangle "aa:cc".
struct Points {
    std::vector<Point> points;
    bool pass = false;
    bool valid = true;
};

std::optional<Point> pointOf(QByteArrayView v) {
    if (v.size() != 2) return std::nullopt;
    const Point p{v[0] - 'a', v[1] - 'a'};
    if (!p.isOnBoard()) return std::nullopt;
    return p;
}

Points pointsOf(const QByteArray& value, bool rectangle) {
    Points result;
    const QByteArray v = value.trimmed();
    if (v.isEmpty() || v == "tt") {
        result.pass = true;
        return result;
    }
    const qsizetype colon = rectangle ? v.indexOf(':') : -1;
    const auto a = pointOf(colon < 0 ? QByteArrayView(v) : QByteArrayView(v).first(colon));
    const auto b = colon < 0 ? a : pointOf(QByteArrayView(v).sliced(colon + 1));
    if (!a || !b) {
        result.valid = false;
        return result;
    }
    for (int y = std::min(a->y, b->y); y <= std::max(a->y, b->y); ++y)
        for (int x = std::min(a->x, b->x); x <= std::max(a->x, b->x); ++x)
            result.points.push_back({x, y});
    return result;
}

const Property* rootProperty(const Parsed& parsed, QByteArrayView ident) {
    if (parsed.nodes.empty()) return nullptr;
    for (const Property& property : parsed.nodes.front().properties)
        if (property.ident == ident) return &property;
    return nullptr;
}

bool isUtf8Name(const Property& charset) {
    const QByteArray name = charset.values.front().trimmed().toUpper();
    return name == "UTF-8" || name == "UTF8";
}

}  // namespace

QString sgfText(const GoGame& game, Stone recorder, const RecordPlayers& players) {
    QString text = QStringLiteral("(;FF[4]GM[1]SZ[19]CA[UTF-8]AP[Quor:1.0]QV[") +
                   viewName(viewOf(recorder)) + u']';
    for (const auto& [property, name] : {std::pair{QStringView(u"PB["), &players.first},
                                         std::pair{QStringView(u"PW["), &players.second}}) {
        const QString value = headerName(*name);
        if (value.isEmpty()) continue;
        text += property;
        for (const QChar c : value) {
            // A text value ends at "]"; a backslash escapes.
            if (c == u']' || c == u'\\') text += u'\\';
            text += c;
        }
        text += u']';
    }
    const auto& nodes = game.nodes();
    Ban before;
    // Ten stones to a line; a set-up on a line of its own.
    int onLine = 10;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const GoNode& node = nodes[n];
        if (node.isMove()) {
            if (onLine == 10) {
                text += u'\n';
                onLine = 0;
            }
            text += u';' + colourLetter(*node.colour) + u'[' + pointText(node.point) + u']';
            ++onLine;
        } else {
            // A set-up at the start goes into the root, as a handicap does.
            if (n > 0) text += QStringLiteral("\n;");
            text += setUpText(before, node.after);
            if (n + 1 < nodes.size() && nodes[n + 1].isMove())
                text += QStringLiteral("PL[") + colourLetter(*nodes[n + 1].colour) + u']';
            onLine = 10;
        }
        before = node.after;
    }
    text += QStringLiteral(")\n");
    return text;
}

SgfImport readSgf(const QByteArray& bytes) {
    SgfImport read;
    Parsed parsed = parse(bytes);
    if (!parsed.problems.empty()) {
        read.problems = parsed.problems;
        return read;
    }
    const auto fail = [&read](int line, const QString& text) {
        read.problems.push_back({line, text});
        read.game = GoGame();
        return read;
    };
    // The texts are not converted, but a file that is not in the encoding it
    // names is damaged or was saved wrongly: its moves are not trusted either.
    if (const Property* charset = rootProperty(parsed, "CA"); charset && isUtf8Name(*charset)) {
        const TextLines text = decodeLines(bytes, TextEncoding::Utf8);
        if (!text.problems.empty())
            return fail(text.problems.front().line,
                        QStringLiteral("not UTF-8 text, which its CA[%1] says it is")
                            .arg(QString::fromLatin1(charset->values.front())));
    }
    std::optional<int> passLine;
    for (std::size_t n = 0; n < parsed.nodes.size(); ++n) {
        const Node& node = parsed.nodes[n];
        Ban board = read.game.board();
        bool setUp = false;
        std::optional<std::pair<Stone, const Property*>> move;
        for (const Property& property : node.properties) {
            const QByteArray& id = property.ident;
            const QByteArray first = property.values.front().trimmed();
            if (n == 0 && id == "GM" && first != "1")
                return fail(
                    property.line,
                    QStringLiteral("not a go game (GM[%1])").arg(QString::fromLatin1(first)));
            if (n == 0 && id == "SZ" && first != "19")
                return fail(property.line,
                            QStringLiteral("a board of size %1: the programs play on 19 x 19")
                                .arg(QString::fromLatin1(first)));
            if (id == "QV") {
                const auto view = viewFromName(QString::fromLatin1(first));
                if (!view)
                    return fail(property.line,
                                QStringLiteral("a view other than \"first\" or \"second\""));
                read.recorder = *view == Player::First ? Stone::Black : Stone::White;
            }
            if (id == "B" || id == "W") {
                if (move) return fail(property.line, QStringLiteral("two stones in one node"));
                move = std::pair{id == "B" ? Stone::Black : Stone::White, &property};
            }
            if (id == "AB" || id == "AW" || id == "AE") {
                const Stone stone = id == "AB"   ? Stone::Black
                                    : id == "AW" ? Stone::White
                                                 : Stone::Empty;
                for (const QByteArray& value : property.values) {
                    const Points points = pointsOf(value, true);
                    if (!points.valid || points.pass)
                        return fail(property.line,
                                    QStringLiteral("not a point: %1[%2]")
                                        .arg(QString::fromLatin1(id), QString::fromLatin1(value)));
                    for (Point p : points.points)
                        board.set(p, stone);
                }
                setUp = true;
            }
        }
        if ((setUp || (move && !pointsOf(move->second->values.front(), false).pass)) && passLine)
            return fail(*passLine, QStringLiteral("a pass before further play: the programs' "
                                                  "records have no line for it"));
        if (setUp) read.game.setUp(board);
        if (!move) continue;
        const auto& [colour, property] = *move;
        const Points points = pointsOf(property->values.front(), false);
        const QString written = QString::fromLatin1(property->ident) + u'[' +
                                QString::fromLatin1(property->values.front()) + u']';
        if (!points.valid) return fail(property->line, QStringLiteral("not a point: ") + written);
        if (points.pass) {
            passLine = property->line;
            continue;
        }
        if (!read.game.place(colour, points.points.front()))
            return fail(property->line,
                        QStringLiteral("%1 is on a point that holds a stone").arg(written));
    }
    if (read.game.nodes().empty())
        return fail(parsed.nodes.empty() ? 1 : parsed.nodes.front().line,
                    QStringLiteral("the game holds no stone"));
    return read;
}

}  // namespace records
