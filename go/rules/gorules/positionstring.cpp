#include "gorules/positionstring.h"

#include <QList>
#include <algorithm>

namespace go {

std::optional<PointCode> decodePointCode(QChar c) {
    switch (c.unicode()) {
        case u'0':
            return PointCode{Stone::Black, false};
        case u'1':
            return PointCode{Stone::White, false};
        case u'2':
            return PointCode{Stone::Empty, false};
        case kWhiteLastCode:
            return PointCode{Stone::White, true};
        case kBlackLastCode:
            return PointCode{Stone::Black, true};
        default:
            return std::nullopt;
    }
}

QChar pointCodeChar(Stone s, bool last) {
    if (last && s == Stone::Black) return QChar(kBlackLastCode);
    if (last && s == Stone::White) return QChar(kWhiteLastCode);
    return QChar(u'0' + (s == Stone::Wall ? stoneCode(Stone::Empty) : stoneCode(s)));
}

std::optional<MarkedBan> readPosition(QStringView text) {
    MarkedBan read;
    int k = 0;
    for (QStringView item : text.tokenize(u',')) {
        // A record line after an own move writes each code with two digits.
        if (item.size() == 2 && item.front() == u'0') item = item.sliced(1);
        if (k == kPointCount || item.size() != 1) return std::nullopt;
        const auto code = decodePointCode(item.front());
        if (!code) return std::nullopt;
        const Point p = Point::fromNumber(k++);
        if (code->last) {
            if (read.lastMove) return std::nullopt;
            read.lastMove = p;
        }
        read.ban.set(p, code->stone);
    }
    if (k != kPointCount) return std::nullopt;
    return read;
}

namespace {

QString write(const Ban& ban, std::optional<Point> lastMove) {
    QString text;
    text.reserve(2 * kPointCount - 1);
    for (int k = 0; k < kPointCount; ++k) {
        if (k > 0) text += u',';
        const Point p = Point::fromNumber(k);
        text += pointCodeChar(ban.at(p), lastMove == p);
    }
    return text;
}

}  // namespace

QString positionString(const Ban& ban) {
    return write(ban, std::nullopt);
}

QString positionString(const Ban& ban, Point lastMove) {
    return write(ban, lastMove);
}

QString recordLine(const Ban& ban) {
    QString text;
    text.reserve(3 * kPointCount - 1);
    for (int k = 0; k < kPointCount; ++k) {
        if (k > 0) text += u',';
        text += u'0';
        text += pointCodeChar(ban.at(Point::fromNumber(k)));
    }
    return text;
}

QString emptyBoardText() {
    return positionString(Ban());
}

std::optional<QString> turnPosition(QStringView text) {
    if (!readPosition(text)) return std::nullopt;
    QList<QStringView> items = text.split(u',');
    std::reverse(items.begin(), items.end());
    QString turned;
    turned.reserve(text.size());
    for (QStringView item : items) {
        if (!turned.isEmpty()) turned += u',';
        turned += item;
    }
    return turned;
}

}  // namespace go
