#include "gamemessage.h"

#include <QList>

#include "gamekeywords.h"

namespace gamecommon {

namespace {

// Whether `text` starts with `keyword` and the "|" after it.
bool startsWithField(QStringView text, QStringView keyword) {
    return text.startsWith(keyword) && text.size() > keyword.size() && text[keyword.size()] == u'|';
}

}  // namespace

GameMsgType classifyGameMsg(QStringView text) {
    if (startsWithField(text, kWatchMoveKeyword)) return GameMsgType::WatchMove;
    if (startsWithField(text, kWatchPlayersKeyword)) return GameMsgType::WatchPlayers;
    if (startsWithField(text, kGameLeaveKeyword)) return GameMsgType::SentAway;
    if (startsWithField(text, kOwnMoveKeyword)) return GameMsgType::OwnMove;
    if (!text.startsWith(kGameKeyword) || text.size() <= kGameKeyword.size()) {
        return GameMsgType::Unknown;
    }
    switch (text[kGameKeyword.size()].unicode()) {
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
    if (move.endsWith(kLobbyEnd)) move.chop(kLobbyEnd.size());
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
    typed.replace(kGameKeyword.toString(), QStringLiteral("SYOUGI＿MSG"));
    return kChatKeyword.toString() + u':' + typed;
}

QString conversationMsg(const QString& text) {
    return kConversationKeyword.toString() + u':' + text;
}

QString endOfGameMsg(const QString& text) {
    return kEndOfGameKeyword.toString() + u':' + text;
}

}  // namespace gamecommon
