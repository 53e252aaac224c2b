#include "gorules/movemessage.h"

#include "gamekeywords.h"

#include <QList>

#include "gorules/positionstring.h"

namespace go {

namespace {

constexpr QStringView kKeyword = gamecommon::kMoveKeyword;
constexpr int kFieldCount = 4;

// Decimal digits after leading blanks, from `min` to `max`.
std::optional<qint32> readNumber(QStringView text, qint32 min, qint32 max) {
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    const QStringView digits = text.mid(at);
    if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
    qint32 value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < min || value > max) return std::nullopt;
    return value;
}

}  // namespace

QString numberText(qint32 value) {
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

QString BuildMoveMsg(const Ban& ban, Point myLastMove, qint32 moveNo, qint32 myCaptured) {
    QString text = kKeyword.toString();
    text += u':';
    for (int k = kPointCount - 1; k >= 0; --k) {
        const Point p = Point::fromNumber(k);
        text += pointCodeChar(ban.at(p), p == myLastMove);
    }
    text += u':';
    text += numberText(moveNo);
    text += u':';
    text += QString::number(myCaptured);
    return text;
}

std::optional<ReceivedMove> parseMoveMsg(QStringView text) {
    const QList<QStringView> fields = text.split(u':');
    if (fields.size() != kFieldCount || fields[0] != kKeyword) return std::nullopt;

    const QStringView points = fields[1];
    if (points.size() != kPointCount) return std::nullopt;
    ReceivedMove move;
    move.positionString.reserve(2 * kPointCount - 1);
    bool marked = false;
    for (QChar c : points) {
        const auto code = decodePointCode(c);
        if (!code || (code->last && marked)) return std::nullopt;
        marked = marked || code->last;
        if (!move.positionString.isEmpty()) move.positionString += u',';
        move.positionString += c;
    }

    const auto moveNo = readNumber(fields[2], 1, kMaxMoveNo);
    const auto captured = readNumber(fields[3], 0, kMaxCaptured);
    if (!moveNo || !captured) return std::nullopt;
    move.moveNo = *moveNo;
    move.captured = *captured;
    return move;
}

}  // namespace go
