#include "shogirules/movemessage.h"

#include "gamekeywords.h"

#include <QList>

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

// A number after leading blanks, with nothing else but trailing blanks.
std::optional<qint32> readNumber(QStringView text, qint32 max) {
    const QStringView digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
    qint32 value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > max) return std::nullopt;
    return value;
}

bool readHand(const QList<QStringView>& items, int first, Hand& hand) {
    for (std::size_t i = 0; i < hand.entries.size(); ++i) {
        const int at = first + 2 * static_cast<int>(i);
        if (items[at].trimmed() != QLatin1String(kindCode(hand.entries[i].code).data(), 2)) {
            return false;
        }
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
    const QList<QStringView> fields = text.split(u':');
    if (fields.size() < 3 || fields[0] != gamecommon::kMoveKeyword) return std::nullopt;

    ReceivedMove move;
    if (move.board.load(fields[1])) return std::nullopt;
    move.positionString = fields[1].toString();

    const QList<QStringView> items = fields[2].split(u',');
    if (items.size() < kHandItems + 1) return std::nullopt;
    if (!readHand(items, 0, move.myHand) || !readHand(items, kHandItems / 2, move.oppHand)) {
        return std::nullopt;
    }
    const auto moveNo = readNumber(items.last(), kMaxMoveNo);
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
