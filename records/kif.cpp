#include "kif.h"

#include <QRegularExpression>
#include <array>

#include "recordtext.h"
#include "recordview.h"
#include "shoginames.h"

namespace records {

namespace {

constexpr QStringView kTableHeader = u"手数----指手---------消費時間--";

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

bool isDiagramLine(QStringView line) {
    return line.startsWith(u"先手の持駒") || line.startsWith(u"後手の持駒") ||
           line.startsWith(u"下手の持駒") || line.startsWith(u"上手の持駒") ||
           line.startsWith(u'|') || line.startsWith(u"+--") || line.startsWith(u"  ９ ８");
}

}  // namespace

QString kifText(const ShogiGame& game, Player recorder) {
    QString text;
    text += QStringLiteral("# ---- Quor 棋譜ファイル ----\r\n");
    text += u'#' + kViewKey.toString() + u' ' + viewName(recorder) + QStringLiteral("\r\n");
    text += QStringLiteral("手合割：平手\r\n");
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
        if (isDiagramLine(trimmed))
            return fail(number, QStringLiteral("a starting diagram: only games from the usual "
                                               "start can be converted"));
        const qsizetype colon = trimmed.indexOf(u'：');
        if (colon <= 0) return fail(number, QStringLiteral("neither a KIF header nor a move"));
        if (trimmed.first(colon) == u"手合割" && trimmed.sliced(colon + 1).trimmed() != u"平手")
            return fail(number, QStringLiteral("a handicap game (%1): only even games can be "
                                               "converted")
                                    .arg(trimmed.sliced(colon + 1).trimmed()));
    }
    if (read.game.moves().empty()) return fail(0, QStringLiteral("the file holds no move"));
    return read;
}

}  // namespace records
