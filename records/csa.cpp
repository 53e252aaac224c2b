#include "csa.h"

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

// The board rows of the usual start as CSA draws them ("P1-KY-KE...").
QStringList initialRows() {
    QStringList rows;
    const shogi::Board start = shogi::Board::initial();
    for (int y = 0; y < shogi::kBoardSize; ++y) {
        QString row = QStringLiteral("P") + QString::number(y + 1);
        for (int x = 0; x < shogi::kBoardSize; ++x) {
            const shogi::Cell c = start.at({x, y});
            row += c.isEmpty() ? QStringLiteral(" * ")
                               : QString(c.isOwnPiece() ? u'+' : u'-') + csaCode(c.kind());
        }
        rows.append(row);
    }
    return rows;
}

struct Reader {
    ShogiImport read;
    bool started = false;  // the start position is known
    bool ended = false;
    QStringList startRows;

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
        if (s.startsWith(u"PI") || s.startsWith(u"P+") || s.startsWith(u"P-"))
            return fail(
                QStringLiteral("a handicap or pieces in hand at the start: only even "
                               "games from the usual start can be converted"));
        if (s.size() >= 2 && s[0] == u'P' && s[1] >= u'1' && s[1] <= u'9') {
            const qsizetype row = s[1].unicode() - u'1';
            if (row != startRows.size() || s.trimmed() != initialRows()[row].trimmed())
                return fail(QStringLiteral("a starting position other than the usual one"));
            startRows.append(s.toString());
            if (startRows.size() == shogi::kBoardSize) started = true;
            return true;
        }
        if (s == u"+" || s == u"-") {
            if (s == u"-") return fail(QStringLiteral("the second player to move at the start"));
            return true;
        }
        if (s.startsWith(u'+') || s.startsWith(u'-')) return move(s, line);
        return fail(QStringLiteral("not a CSA line: ") + s.toString());
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

QString csaText(const ShogiGame& game, Player recorder) {
    QString text = QStringLiteral("V2.2\r\n");
    text += u'\'' + kViewKey.toString() + u' ' + viewName(recorder) + QStringLiteral("\r\n");
    text += QStringLiteral("N+\r\nN-\r\nPI\r\n+\r\n");
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
    if (reader.read.game.moves().empty())
        reader.read.problems.push_back({0, QStringLiteral("the file holds no move")});
    return reader.read;
}

}  // namespace records
