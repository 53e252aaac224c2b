#include "gamemessage.h"

#include <QList>

namespace gamecommon {

namespace {

constexpr QStringView kGamePrefix = u"SYOUGI_MSG";

}  // namespace

GameMsgType classifyGameMsg(QStringView text) {
    if (text.startsWith(u"WatchMsg|")) return GameMsgType::WatchMove;
    if (text.startsWith(u"WatchData|")) return GameMsgType::WatchPlayers;
    if (!text.startsWith(kGamePrefix) || text.size() <= kGamePrefix.size()) {
        return GameMsgType::Unknown;
    }
    switch (text[kGamePrefix.size()].unicode()) {
        case u'1':
            return GameMsgType::Type1;
        case u'2':
            return GameMsgType::Move;
        case u'3':
            return GameMsgType::Ack;
        case u'4':
            return GameMsgType::Chat;
        case u'5':
            return GameMsgType::EndOfGame;
        case u'6':
            return GameMsgType::Conversation;
        case u'7':
            return GameMsgType::Notice;
        default:
            return GameMsgType::Unknown;
    }
}

QString gameMsgText(QStringView text) {
    const qsizetype colon = text.indexOf(u':');
    return colon < 0 ? QString() : text.sliced(colon + 1).toString();
}

QString unwrapWatchMove(QStringView text) {
    QStringView move = text.sliced(text.indexOf(u'|') + 1);
    if (move.endsWith(u"|END")) move.chop(4);
    return move.toString();
}

QStringList watchPlayers(QStringView text) {
    const QList<QStringView> fields = text.split(u'|');
    QStringList names;
    for (int i = 1; i <= 2; ++i)
        names << (i < fields.size() ? fields[i].toString() : QString());
    return names;
}

QString chatMsg(const QString& text) {
    // A chat line has no end of its own: the receiver takes it to end where
    // the next game message starts. So a game keyword typed into it goes out
    // with a full-width low line, and can never become a message of its own.
    QString typed = text.left(kMaxChatLength);
    typed.replace(kGamePrefix.toString(), QStringLiteral("SYOUGI＿MSG"));
    return QStringLiteral("SYOUGI_MSG4:") + typed;
}

QString conversationMsg(const QString& text) {
    return QStringLiteral("SYOUGI_MSG6:") + text;
}

}  // namespace gamecommon
