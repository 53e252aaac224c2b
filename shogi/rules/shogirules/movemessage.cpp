#include "shogirules/movemessage.h"

#include "gamekeywords.h"

#include <QVarLengthArray>

namespace shogi {

namespace {

constexpr int kHandItems = 28;  // two hands of seven (code, count) pairs
constexpr qint32 kMaxHandCount = 40;
constexpr qint32 kMaxMoveNo = 1000000;

void appendHand(QString& out, const Hand& hand) {
    for (const HandEntry& e : hand.entries) {
        out += QLatin1String(kindCode(e.code).data(), 2);
        out += u',';
        out += numberText(e.count);
        out += u',';
    }
}

// The text without blanks around it (a hand item, a number): read in
// place, as every relayed move has thirty of them.
QStringView trimmedItem(QStringView text) {
    const QChar* begin = text.data();
    const QChar* end = begin + text.size();
    while (begin != end && begin->isSpace())
        ++begin;
    while (end != begin && end[-1].isSpace())
        --end;
    return QStringView(begin, end);
}

// A number of up to nine digits after leading blanks, with nothing else but
// trailing blanks; read in one pass.
std::optional<qint32> readNumber(QStringView text, qint32 max) {
    const QChar* at = text.data();
    const QChar* const end = at + text.size();
    while (at != end && at->isSpace())
        ++at;
    const QChar* const digits = at;
    qint32 value = 0;
    while (at != end && at - digits < 9 && *at >= u'0' && *at <= u'9') {
        value = value * 10 + (at->unicode() - u'0');
        ++at;
    }
    if (at == digits) return std::nullopt;
    while (at != end && at->isSpace())
        ++at;
    if (at != end || value > max) return std::nullopt;
    return value;
}

bool readHand(const QStringView* items, int first, Hand& hand) {
    for (std::size_t i = 0; i < hand.entries.size(); ++i) {
        const int at = first + 2 * static_cast<int>(i);
        const QStringView code = trimmedItem(items[at]);
        const auto expected = kindCode(hand.entries[i].code);
        if (code.size() != 2 || code[0] != QLatin1Char(expected[0]) ||
            code[1] != QLatin1Char(expected[1]))
            return false;
        const auto count = readNumber(items[at + 1], kMaxHandCount);
        if (!count) return false;
        hand.entries[i].count = *count;
    }
    return true;
}

}  // namespace

QString numberText(qint32 value) {
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

QString BuildMoveMsg(const ShogiPosition& position, qint32 moveNo) {
    QString text = gamecommon::kMoveKeyword.toString() + u':';
    text += position.Ban.rotated().positionString();
    text += u':';
    appendHand(text, position.OppHand);
    appendHand(text, position.MyHand);
    text += numberText(moveNo);
    text += u':';
    text += numberText(moveNo);
    text += QStringLiteral(":END");
    return text;
}

std::optional<ReceivedMove> parseMoveMsg(QStringView text) {
    // The fields are read where they stand: every relayed move is read so
    // by whoever keeps the game.
    const qsizetype first = text.indexOf(u':');
    if (first < 0 || text.first(first) != gamecommon::kMoveKeyword) return std::nullopt;
    const qsizetype second = text.indexOf(u':', first + 1);
    if (second < 0) return std::nullopt;
    const qsizetype third = text.indexOf(u':', second + 1);
    const QStringView board = text.sliced(first + 1, second - first - 1);
    const QStringView hands =
        third < 0 ? text.sliced(second + 1) : text.sliced(second + 1, third - second - 1);

    ReceivedMove move;
    if (move.board.load(board)) return std::nullopt;
    move.positionString = board.toString();

    QVarLengthArray<QStringView, kHandItems + 2> items;
    const QChar* const end = hands.data() + hands.size();
    for (const QChar* item = hands.data();; ++item) {
        const QChar* comma = item;
        while (comma != end && *comma != u',')
            ++comma;
        items.append(QStringView(item, comma));
        if (comma == end) break;
        item = comma;
    }
    if (items.size() < kHandItems + 1) return std::nullopt;
    if (!readHand(items.data(), 0, move.myHand) ||
        !readHand(items.data(), kHandItems / 2, move.oppHand)) {
        return std::nullopt;
    }
    const auto moveNo = readNumber(items.back(), kMaxMoveNo);
    if (!moveNo) return std::nullopt;
    move.moveNo = *moveNo;
    return move;
}

std::optional<qint32> moveNumberOf(QStringView text) {
    // "<keyword>:<board>:<hands>, N: N:END": the number closes the third field.
    qsizetype colon = -1;
    for (int field = 0; field < 3; ++field) {
        colon = text.indexOf(u':', colon + 1);
        if (colon < 0) return std::nullopt;
    }
    const QStringView third = text.first(colon);
    return readNumber(third.sliced(third.lastIndexOf(u',') + 1), kMaxMoveNo);
}

}  // namespace shogi
