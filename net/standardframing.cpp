#include "standardframing.h"

namespace net {

namespace {

MessageKind lobbyMessage(const char* keyword) {
    MessageKind kind;
    kind.keyword = QString::fromLatin1(keyword);
    kind.end = MessageEnd::Marker;
    kind.endText = QStringLiteral("|END");
    return kind;
}

// A move of either game: a shogi move ends with ":END", a go move after the
// 361 digits of its board and two more fields.
MessageKind moveMessage() {
    MessageKind move;
    move.keyword = QStringLiteral("SYOUGI_MSG2");
    move.end = MessageEnd::Move;
    move.endText = QStringLiteral(":END");
    move.boardDigits = 361;
    move.mayEnclose = false;  // positions and numbers only
    move.endsOpenMessage = true;
    return move;
}

// The game messages a game program sends, as its peer or the lobby server
// receives them. Only game messages follow an open (unmarked) game message on
// a connection, so only they end one.
void addGameMessages(std::vector<MessageKind>& kinds) {
    kinds.push_back(moveMessage());

    MessageKind ack;
    ack.keyword = QStringLiteral("SYOUGI_MSG3:SEND_OK");
    ack.end = MessageEnd::FixedText;
    ack.endsOpenMessage = true;
    kinds.push_back(ack);

    MessageKind other;
    other.keyword = QStringLiteral("SYOUGI_MSG");
    other.digitFollows = true;
    other.end = MessageEnd::Open;
    other.endsOpenMessage = true;
    kinds.push_back(other);
}

}  // namespace

FramingRules gameProgramFraming() {
    FramingRules rules;
    addGameMessages(rules.kinds);

    // The lobby server's copy of a move for a watcher: "WatchMsg|" + the move,
    // which ends as the move does (a shogi move at its ":END", a go move after
    // its capture count).
    MessageKind watchMove = moveMessage();
    watchMove.keyword = QStringLiteral("WatchMsg|SYOUGI_MSG2");
    watchMove.endsOpenMessage = false;  // only the server sends it, never after a chat line
    rules.kinds.push_back(watchMove);
    MessageKind watchOther;
    watchOther.keyword = QStringLiteral("WatchMsg|");
    watchOther.end = MessageEnd::Marker;
    watchOther.endText = QStringLiteral(":END");
    watchOther.mayEnclose = false;
    rules.kinds.push_back(watchOther);

    rules.kinds.push_back(lobbyMessage("WatchData|"));
    rules.kinds.push_back(lobbyMessage("GameLogin|"));
    return rules;
}

FramingRules lobbyClientFraming() {
    FramingRules rules;
    for (const char* keyword : {"LOGIN|", "NoLogin|", "AddFriends|", "GameMsg|", "GMOK|",
                                "HisNone|", "GAMESETOK|", "GameEnd|", "LogOut", "Dead"})
        rules.kinds.push_back(lobbyMessage(keyword));
    return rules;
}

FramingRules lobbyServerFraming() {
    FramingRules rules;
    for (const char* keyword : {"SVMSG_LOGIN|", "GetGameData|", "GameEnd|", "GameStart|",
                                "WatchMsg|", "GameMsg|", "LOGOUT", "GMOK|", "GameLogin|"})
        rules.kinds.push_back(lobbyMessage(keyword));
    addGameMessages(rules.kinds);
    return rules;
}

}  // namespace net
