#include "gamerecord.h"

#include <QTimeZone>
#include <array>

namespace web {

namespace {

QString sideName(GameKind kind, Colour colour) {
    if (kind == GameKind::Go)
        return colour == Colour::Black ? QStringLiteral("黒") : QStringLiteral("白");
    return colour == Colour::Black ? QStringLiteral("先手") : QStringLiteral("後手");
}

constexpr std::array<QStringView, 4> kHowNames{u"resignation", u"king taken", u"player gone",
                                               u"ended"};

}  // namespace

QString resultText(GameKind kind, const GameResult& result) {
    switch (result.how) {
        case EndHow::Resignation:
            if (!result.winner) break;
            return sideName(kind, otherColour(*result.winner)) + QStringLiteral("の投了で") +
                   sideName(kind, *result.winner) + QStringLiteral("の勝ち");
        case EndHow::KingTaken:
            if (!result.winner) break;
            return sideName(kind, *result.winner) + QStringLiteral("が玉を取って") +
                   sideName(kind, *result.winner) + QStringLiteral("の勝ち");
        case EndHow::PlayerGone:
            return QStringLiteral("対局者の接続が切れました");
        case EndHow::Ended:
            break;
    }
    return QStringLiteral("対局は終わりました");
}

Position startPosition(GameKind kind) {
    Position p;
    if (kind == GameKind::Go) p.state = GoState{};
    return p;
}

QString kindName(GameKind kind) {
    return kind == GameKind::Go ? QStringLiteral("go") : QStringLiteral("shogi");
}

std::optional<GameKind> kindFromName(QStringView name) {
    if (name == u"shogi") return GameKind::Shogi;
    if (name == u"go") return GameKind::Go;
    return std::nullopt;
}

QString colourName(Colour colour) {
    return colour == Colour::Black ? QStringLiteral("black") : QStringLiteral("white");
}

std::optional<Colour> colourFromName(QStringView name) {
    if (name == u"black") return Colour::Black;
    if (name == u"white") return Colour::White;
    return std::nullopt;
}

QString howName(EndHow how) {
    return kHowNames[static_cast<std::size_t>(how)].toString();
}

std::optional<EndHow> howFromName(QStringView name) {
    for (std::size_t i = 0; i < kHowNames.size(); ++i)
        if (kHowNames[i] == name) return static_cast<EndHow>(i);
    return std::nullopt;
}

QString timeText(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

std::optional<QDateTime> timeFromText(QStringView text) {
    // Only the form timeText writes: twenty characters, "Z" at the end.
    if (text.size() != 20 || !text.endsWith(u'Z')) return std::nullopt;
    if (text[10] != u'T') return std::nullopt;
    const QDate date = QDate::fromString(text.first(10).toString(), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(text.sliced(11, 8).toString(), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(date, time, QTimeZone::utc());
}

}  // namespace web
