#include "kif.h"

#include <QRegularExpression>
#include <array>
#include <utility>

#include "recordtext.h"
#include "recordview.h"
#include "shoginames.h"

namespace records {

namespace {

constexpr QStringView kTableHeader = u"手数----指手---------消費時間--";

// A board diagram: the files above, a frame, and a row per rank between
// "|" with its rank after it; a cell is "v" for the second player's piece or
// a blank, then the piece, or " ・" when empty.
constexpr QStringView kDiagramFiles = u"  ９ ８ ７ ６ ５ ４ ３ ２ １";
constexpr QStringView kDiagramFrame = u"+---------------------------+";
constexpr QStringView kRanks = u"一二三四五六七八九";
constexpr QChar kEmptyCell = u'・';
constexpr QChar kSecondsMark = u'v';

// The words that end a game's moves in place of a move.
constexpr std::array<QStringView, 14> kEndWords{
    u"投了",     u"中断",     u"詰み",   u"千日手", u"持将棋", u"切れ負け", u"反則勝ち",
    u"反則負け", u"入玉勝ち", u"不戦勝", u"不戦敗", u"不詰",   u"詰",       u"封じ手"};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\u3000' || c == u'\t';
}

QString moveText(const PlayedMove& played, const PlayedMove* previous) {
    const ShogiMove& m = played.move;
    QString text = previous && previous->move.to == m.to ? QStringLiteral("同　") : kifSquare(m.to);
    text += kifPieceName(m.piece);
    if (m.promote) text += u"成";
    text += m.from ? u'(' + digitSquare(*m.from) + u')' : QStringLiteral("打");
    return text;
}

// One move line's text after its number, read against the game so far.
struct ParsedMove {
    std::optional<ShogiMove> move;
    bool end = false;  // a word that ends the game
    QString problem;
};

ParsedMove parseMove(QStringView text, const ShogiGame& game) {
    ParsedMove parsed;
    for (QStringView word : kEndWords) {
        if (text.startsWith(word)) {
            parsed.end = true;
            return parsed;
        }
    }
    ShogiMove move;
    move.player = game.toMove();
    qsizetype i = 0;
    if (text.startsWith(u"同")) {
        if (game.moves().empty()) {
            parsed.problem = QStringLiteral("\"同\" with no move before it");
            return parsed;
        }
        move.to = game.moves().back().move.to;
        i = 1;
        while (i < text.size() && isBlank(text[i]))
            ++i;
    } else {
        const auto to = text.size() >= 2 ? kifSquareOf(text[0], text[1]) : std::nullopt;
        if (!to) {
            parsed.problem = QStringLiteral("no square where the move goes");
            return parsed;
        }
        move.to = *to;
        i = 2;
    }
    const auto piece = kifPieceAt(text.sliced(i));
    if (!piece) {
        parsed.problem = QStringLiteral("no piece name");
        return parsed;
    }
    move.piece = piece->kind;
    i += piece->length;
    const QStringView rest = text.sliced(i);
    qsizetype used = 0;
    if (rest.startsWith(u"不成")) {
        used = 2;
    } else if (rest.startsWith(u"成")) {
        move.promote = true;
        used = 1;
    }
    const QStringView origin = rest.sliced(used);
    if (origin.startsWith(u"打")) {
        if (move.promote) {
            parsed.problem = QStringLiteral("a drop cannot promote");
            return parsed;
        }
    } else if (origin.size() >= 4 && origin[0] == u'(' && origin[3] == u')') {
        move.from = squareOfDigits(origin[1], origin[2]);
        if (!move.from) {
            parsed.problem = QStringLiteral("no square the piece comes from");
            return parsed;
        }
    } else {
        parsed.problem = QStringLiteral("neither \"打\" nor the square the piece comes from");
        return parsed;
    }
    parsed.move = move;
    return parsed;
}

QString diagramText(const StartPosition& start) {
    const QString newline = QStringLiteral("\r\n");
    QString text = QStringLiteral("後手の持駒：") + kifHandText(start.second) + newline;
    text += kDiagramFiles.toString() + newline + kDiagramFrame.toString() + newline;
    for (int y = 0; y < shogi::kBoardSize; ++y) {
        text += u'|';
        for (int x = 0; x < shogi::kBoardSize; ++x) {
            const shogi::Cell c = start.board.at({x, y});
            if (c.isEmpty())
                text += QString(u' ') + kEmptyCell;
            else
                text += (c.isOwnPiece() ? u' ' : kSecondsMark) + kifBoardName(c.kind());
        }
        text += u'|' + kRanks[y] + newline;
    }
    text += kDiagramFrame.toString() + newline;
    text += QStringLiteral("先手の持駒：") + kifHandText(start.first) + newline;
    text += (start.toMove == Player::First ? QStringLiteral("先手番") : QStringLiteral("後手番")) +
            newline;
    return text;
}

// The lines of a board diagram, read before the moves into the position the
// game starts from.
struct Diagram {
    bool seen = false;  // a row or a hand was given
    int rows = 0;
    StartPosition start{shogi::Board(), {}, {}, Player::First};

    // One row, the next one due; false when it is none.
    bool readRow(QStringView line) {
        if (rows >= shogi::kBoardSize || line.size() < 20 || line[19] != u'|') return false;
        for (int x = 0; x < shogi::kBoardSize; ++x) {
            const QChar mark = line[1 + 2 * x];
            const QChar name = line[2 + 2 * x];
            shogi::Cell cell;
            if (name != kEmptyCell) {
                const auto piece = kifPieceAt(QStringView(&name, 1));
                if (!piece || (mark != u' ' && mark != kSecondsMark)) return false;
                cell = shogi::Cell(piece->kind, mark == u' ' ? shogi::Side::Own : shogi::Side::Opp);
            }
            start.board.set({x, rows}, cell);
        }
        ++rows;
        seen = true;
        return true;
    }
};

}  // namespace

QString kifText(const ShogiGame& game, Player recorder, const RecordPlayers& players) {
    QString text;
    text += QStringLiteral("# ---- Quor 棋譜ファイル ----\r\n");
    text += u'#' + kViewKey.toString() + u' ' + viewName(recorder) + QStringLiteral("\r\n");
    for (const auto& [label, name] : {std::pair{QStringView(u"先手："), &players.first},
                                      std::pair{QStringView(u"後手："), &players.second}}) {
        const QString line = headerName(*name);
        if (line.isEmpty()) continue;
        text += label;
        text += line + QStringLiteral("\r\n");
    }
    text += game.isSetUp() ? diagramText(game.start()) : QStringLiteral("手合割：平手\r\n");
    text += kTableHeader.toString() + QStringLiteral("\r\n");
    const PlayedMove* previous = nullptr;
    int number = 0;
    for (const PlayedMove& played : game.moves()) {
        text += QStringLiteral("%1 ").arg(++number, 4) + moveText(played, previous) +
                QStringLiteral("\r\n");
        previous = &played;
    }
    return text;
}

ShogiImport readKif(const QStringList& lines) {
    static const QRegularExpression moveLine(QStringLiteral("^\\s*(\\d+)\\s+(\\S.*)$"));
    ShogiImport read;
    const auto fail = [&read](int line, const QString& text) {
        read.problems.push_back({line, text});
        return read;
    };
    Diagram diagram;
    bool begun = false;  // the moves have begun: the start is known
    // The game starts from the diagram, if there was one; false when it is
    // no position to play from (the problem is named then).
    const auto begin = [&](int line) {
        if (std::exchange(begun, true)) return true;
        if (!diagram.seen) {
            if (diagram.start.toMove == Player::First) return true;
            fail(line, QStringLiteral("the second player to move at the usual start"));
            return false;
        }
        if (diagram.rows != shogi::kBoardSize) {
            fail(line,
                 QStringLiteral("a board diagram of %1 rows: one has nine").arg(diagram.rows));
            return false;
        }
        if (auto problem = beginFromSetUp(diagram.start, read.game)) {
            fail(line,
                 QStringLiteral("a board diagram that is no position of a game: ") + *problem);
            return false;
        }
        return true;
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const QString& line = lines[i];
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'*') || trimmed.startsWith(u'&')) continue;
        if (trimmed.startsWith(u'#')) {
            const QStringView comment = trimmed.sliced(1).trimmed();
            if (comment.startsWith(kViewKey)) {
                read.view = viewFromName(comment.sliced(kViewKey.size()));
                if (!read.view)
                    return fail(number, QStringLiteral("a view other than "
                                                       "\"first\" or \"second\""));
            }
            continue;
        }
        if (trimmed.startsWith(u"変化") || trimmed.startsWith(u"まで")) break;
        if (trimmed.startsWith(kTableHeader.first(4))) continue;
        const QRegularExpressionMatch m = moveLine.match(line);
        if (m.hasMatch()) {
            const qsizetype expected = static_cast<qsizetype>(read.game.moves().size()) + 1;
            if (expected > kMaxRecordMoves)
                return fail(number, QStringLiteral("more than %1 moves: no game is that long")
                                        .arg(kMaxRecordMoves));
            if (m.capturedView(1).toLongLong() != expected)
                return fail(number, QStringLiteral("move number %1 where %2 was due")
                                        .arg(m.capturedView(1))
                                        .arg(expected));
            if (!begin(number)) return read;
            const ParsedMove parsed = parseMove(m.capturedView(2), read.game);
            if (parsed.end) break;
            if (!parsed.move)
                return fail(number, QStringLiteral("not a move (%1): %2")
                                        .arg(parsed.problem, m.capturedView(2).trimmed()));
            if (auto refused = read.game.play(*parsed.move))
                return fail(
                    number,
                    QStringLiteral("move %1 is not allowed: %2").arg(expected).arg(*refused));
            continue;
        }
        const bool firstsHand =
            trimmed.startsWith(u"先手の持駒") || trimmed.startsWith(u"下手の持駒");
        const bool secondsHand =
            trimmed.startsWith(u"後手の持駒") || trimmed.startsWith(u"上手の持駒");
        const bool turn = trimmed.startsWith(u"先手番") || trimmed.startsWith(u"下手番") ||
                          trimmed.startsWith(u"後手番") || trimmed.startsWith(u"上手番");
        const bool row = trimmed.startsWith(u'|');
        if ((firstsHand || secondsHand || turn || row) && begun)
            return fail(number, QStringLiteral("a board diagram after the moves"));
        if (firstsHand || secondsHand) {
            QStringView pieces = trimmed.sliced(5);  // after "先手の持駒"
            if (pieces.startsWith(u'：') || pieces.startsWith(u':')) pieces = pieces.sliced(1);
            const auto hand = handOfKifText(pieces);
            if (!hand) return fail(number, QStringLiteral("not a hand of pieces"));
            (firstsHand ? diagram.start.first : diagram.start.second) = *hand;
            diagram.seen = true;
            continue;
        }
        if (turn) {
            diagram.start.toMove = trimmed.startsWith(u"先手番") || trimmed.startsWith(u"下手番")
                                       ? Player::First
                                       : Player::Second;
            continue;
        }
        if (row) {
            if (!diagram.readRow(trimmed))
                return fail(number, QStringLiteral("not a row of a board diagram"));
            continue;
        }
        // The files above the diagram, its frame, and the number of moves
        // some writers put under it.
        if (trimmed == kDiagramFiles.trimmed() || trimmed == kDiagramFrame ||
            trimmed.startsWith(u"手数＝"))
            continue;
        const qsizetype colon = trimmed.indexOf(u'：');
        if (colon <= 0) return fail(number, QStringLiteral("neither a KIF header nor a move"));
        if (trimmed.first(colon) == u"手合割" && trimmed.sliced(colon + 1).trimmed() != u"平手")
            return fail(number, QStringLiteral("a handicap game (%1): only even games can be "
                                               "converted")
                                    .arg(trimmed.sliced(colon + 1).trimmed()));
    }
    if (!begin(static_cast<int>(lines.size()))) return read;
    if (read.game.moves().empty() && !read.game.isSetUp())
        return fail(0, QStringLiteral("the file holds no move"));
    return read;
}

}  // namespace records
