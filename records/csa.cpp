#include "csa.h"

#include <algorithm>

#include "recordtext.h"
#include "recordview.h"
#include "shoginames.h"

namespace records {

namespace {

QChar sign(Player p) {
    return p == Player::First ? u'+' : u'-';
}

QString moveText(const PlayedMove& played) {
    const ShogiMove& m = played.move;
    const shogi::Kind after = played.after.at(m.to).kind();
    return sign(m.player) + (m.from ? digitSquare(*m.from) : QStringLiteral("00")) +
           digitSquare(m.to) + csaCode(after);
}

// The board rows as CSA draws them ("P1-KY-KE..."), " * " for an empty cell.
QStringList boardRows(const shogi::Board& board) {
    QStringList rows;
    for (int y = 0; y < shogi::kBoardSize; ++y) {
        QString row = QStringLiteral("P") + QString::number(y + 1);
        for (int x = 0; x < shogi::kBoardSize; ++x) {
            const shogi::Cell c = board.at({x, y});
            row += c.isEmpty() ? QStringLiteral(" * ")
                               : QString(c.isOwnPiece() ? u'+' : u'-') + csaCode(c.kind());
        }
        rows.append(row);
    }
    return rows;
}

// A hand line, "P+00KA00FU00FU": each piece in hand as a drop from "00".
QString handLine(Player p, const shogi::Hand& hand) {
    QString line = QStringLiteral("P") + sign(p);
    for (shogi::Kind kind : {shogi::Kind::Hi, shogi::Kind::Ka, shogi::Kind::Ki, shogi::Kind::Gi,
                             shogi::Kind::Ke, shogi::Kind::Ky, shogi::Kind::Fu})
        line += (QStringLiteral("00") + csaCode(kind)).repeated(std::max(0, hand.count(kind)));
    return line;
}

// A set-up: the nine rows, the hands that hold something, the player to move.
QString setUpText(const StartPosition& start) {
    QString text;
    for (const QString& row : boardRows(start.board))
        text += row + QStringLiteral("\r\n");
    for (Player p : {Player::First, Player::Second}) {
        const QString line = handLine(p, p == Player::First ? start.first : start.second);
        if (line.size() > 2) text += line + QStringLiteral("\r\n");
    }
    return text + sign(start.toMove) + QStringLiteral("\r\n");
}

struct Reader {
    ShogiImport read;
    bool started = false;  // the start position is known
    bool ended = false;
    // A start given as nine board rows and the hands after them.
    int rows = 0;
    StartPosition start{shogi::Board(), {}, {}, Player::First};

    // One statement; false once it stops the reading.
    bool statement(QStringView s, int line) {
        const auto fail = [&](const QString& text) {
            read.problems.push_back({line, text});
            return false;
        };
        if (s.isEmpty() || s.startsWith(u'V') || s.startsWith(u'N') || s.startsWith(u'$') ||
            s.startsWith(u'T'))
            return true;
        if (s.startsWith(u'%')) {
            ended = true;
            return true;
        }
        if (s == u"PI") {
            started = true;
            return true;
        }
        if (s.startsWith(u"PI"))
            return fail(
                QStringLiteral("a handicap or pieces in hand at the start: only even "
                               "games from the usual start can be converted"));
        if (s.startsWith(u"P+") || s.startsWith(u"P-")) return hand(s, line);
        if (s.size() >= 2 && s[0] == u'P' && s[1] >= u'1' && s[1] <= u'9') return row(s, line);
        if (s == u"+" || s == u"-") {
            const Player turn = s == u"+" ? Player::First : Player::Second;
            if (rows > 0 && !started) return begin(turn, line);
            if (turn == Player::Second && !read.game.isSetUp())
                return fail(QStringLiteral("the second player to move at the start"));
            return true;
        }
        if (s.startsWith(u'+') || s.startsWith(u'-')) {
            if (rows > 0 && !started && !begin(Player::First, line)) return false;
            return move(s, line);
        }
        return fail(QStringLiteral("not a CSA line: ") + s.toString());
    }

    // "P1-KY-KE...": the next row of the board.
    bool row(QStringView s, int line) {
        const qsizetype y = s[1].unicode() - u'1';
        if (started || y != rows) {
            read.problems.push_back(
                {line, QStringLiteral("a board row out of order: P1 to P9 come once each, "
                                      "before the moves")});
            return false;
        }
        // The blanks of an empty cell at the end may have been trimmed.
        const QString cells = s.sliced(2).toString().leftJustified(3 * shogi::kBoardSize, u' ');
        if (cells.size() != 3 * shogi::kBoardSize) {
            read.problems.push_back({line, QStringLiteral("not a board row: ") + s.toString()});
            return false;
        }
        for (int x = 0; x < shogi::kBoardSize; ++x) {
            const QStringView cell = QStringView(cells).sliced(3 * x, 3);
            shogi::Cell c;
            if (cell != u" * ") {
                const auto kind = kindFromCsa(cell.sliced(1));
                if (!kind || (cell[0] != u'+' && cell[0] != u'-')) {
                    read.problems.push_back(
                        {line, QStringLiteral("not a board row: ") + s.toString()});
                    return false;
                }
                c = shogi::Cell(*kind, cell[0] == u'+' ? shogi::Side::Own : shogi::Side::Opp);
            }
            start.board.set({x, static_cast<int>(y)}, c);
        }
        ++rows;
        return true;
    }

    // "P+00KA00FU": pieces in hand, after the board rows.
    bool hand(QStringView s, int line) {
        shogi::Hand& hand = s[1] == u'+' ? start.first : start.second;
        bool pieces = rows == shogi::kBoardSize && !started && (s.size() - 2) % 4 == 0;
        for (qsizetype i = 2; pieces && i < s.size(); i += 4) {
            const auto kind = kindFromCsa(s.sliced(i + 2, 2));
            shogi::HandEntry* entry = kind ? hand.find(*kind) : nullptr;
            pieces = s.sliced(i, 2) == u"00" && entry;
            if (pieces) ++entry->count;
        }
        if (!pieces)
            read.problems.push_back(
                {line, QStringLiteral("pieces placed one by one: a start is read as the nine "
                                      "board rows with the pieces in hand after them "
                                      "(P+00KA...)")});
        return pieces;
    }

    // The game starts from the board rows and hands read.
    bool begin(Player turn, int line) {
        start.toMove = turn;
        started = true;
        if (rows != shogi::kBoardSize) {
            read.problems.push_back(
                {line, QStringLiteral("a board of %1 rows: one has nine").arg(rows)});
            return false;
        }
        if (auto problem = beginFromSetUp(start, read.game)) {
            read.problems.push_back(
                {line, QStringLiteral("a start that is no position of a game: ") + *problem});
            return false;
        }
        return true;
    }

    bool move(QStringView s, int line) {
        const qsizetype number = static_cast<qsizetype>(read.game.moves().size()) + 1;
        const auto fail = [&](const QString& text) {
            read.problems.push_back({line, QStringLiteral("move %1 ").arg(number) + text});
            return false;
        };
        if (!started) return fail(QStringLiteral("before the starting position"));
        if (number > kMaxRecordMoves) return fail(QStringLiteral("is more than any game holds"));
        if (s.size() != 7) return fail(QStringLiteral("is not a move: ") + s.toString());
        ShogiMove m;
        m.player = s[0] == u'+' ? Player::First : Player::Second;
        const auto arrived = kindFromCsa(s.sliced(5, 2));
        const auto to = squareOfDigits(s[3], s[4]);
        if (!arrived || !to) return fail(QStringLiteral("is not a move: ") + s.toString());
        m.to = *to;
        if (s.sliced(1, 2) == u"00") {
            m.piece = *arrived;
        } else {
            m.from = squareOfDigits(s[1], s[2]);
            if (!m.from) return fail(QStringLiteral("is not a move: ") + s.toString());
            // The piece after the move is the one moved, or its promoted form.
            const shogi::Cell piece = read.game.board().at(*m.from);
            if (piece.isEmpty()) return fail(QStringLiteral("moves from an empty square"));
            const auto promoted = shogi::promotedKind(piece.kind());
            m.piece = piece.kind();
            m.promote = promoted && *promoted == *arrived;
            if (!m.promote && kindFromCsa(csaCode(piece.kind())) != arrived)
                return fail(QStringLiteral("names a piece that is not on the square moved from"));
        }
        if (auto refused = read.game.play(m))
            return fail(QStringLiteral("is not allowed: ") + *refused);
        return true;
    }
};

}  // namespace

QString csaText(const ShogiGame& game, Player recorder, const RecordPlayers& players) {
    QString text = QStringLiteral("V2.2\r\n");
    text += u'\'' + kViewKey.toString() + u' ' + viewName(recorder) + QStringLiteral("\r\n");
    text += QStringLiteral("N+") + headerName(players.first) + QStringLiteral("\r\nN-") +
            headerName(players.second) + QStringLiteral("\r\n");
    text += game.isSetUp() ? setUpText(game.start()) : QStringLiteral("PI\r\n+\r\n");
    for (const PlayedMove& played : game.moves())
        text += moveText(played) + QStringLiteral("\r\n");
    return text;
}

ShogiImport readCsa(const QStringList& lines) {
    Reader reader;
    for (qsizetype i = 0; i < lines.size() && !reader.ended; ++i) {
        const int number = static_cast<int>(i) + 1;
        const QStringView line = QStringView(lines[i]).trimmed();
        // A second game follows "/": the first one is the record.
        if (line == u"/") break;
        if (line.startsWith(u'\'')) {
            const QStringView comment = line.sliced(1).trimmed();
            if (comment.startsWith(kViewKey)) {
                reader.read.view = viewFromName(comment.sliced(kViewKey.size()));
                if (!reader.read.view) {
                    reader.read.problems.push_back(
                        {number, QStringLiteral("a view other than \"first\" or \"second\"")});
                    return reader.read;
                }
            }
            continue;
        }
        // Only moves and times share a line with others; a name or a board row
        // holds commas of its own only in the rare files that put them there.
        const bool shared = line.startsWith(u'+') || line.startsWith(u'-') ||
                            line.startsWith(u'T') || line.startsWith(u'%');
        const QList<QStringView> statements = shared ? line.split(u',') : QList<QStringView>{line};
        for (QStringView s : statements) {
            if (!reader.statement(s.trimmed(), number)) return reader.read;
            if (reader.ended) break;
        }
    }
    if (reader.rows > 0 && !reader.started &&
        !reader.begin(Player::First, static_cast<int>(lines.size())))
        return reader.read;
    if (reader.read.game.moves().empty() && !reader.read.game.isSetUp())
        reader.read.problems.push_back({0, QStringLiteral("the file holds no move")});
    return reader.read;
}

}  // namespace records
