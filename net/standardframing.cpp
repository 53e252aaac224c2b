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

// The game messages a game program sends, as its peer or the lobby server
// receives them. Only game messages follow an open (unmarked) game message on
// a connection, so only they end one.
void addGameMessages(std::vector<MessageKind>& kinds) {
    MessageKind move;
    move.keyword = QStringLiteral("SYOUGI_MSG2");
    move.end = MessageEnd::Move;
    move.endText = QStringLiteral(":END");
    move.boardDigits = 361;
    move.mayEnclose = false;  // positions and numbers only
    move.endsOpenMessage = true;
    kinds.push_back(move);

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
    // which ends with the move's own ":END".
    MessageKind watchMove;
    watchMove.keyword = QStringLiteral("WatchMsg|");
    watchMove.end = MessageEnd::Marker;
    watchMove.endText = QStringLiteral(":END");
    rules.kinds.push_back(watchMove);

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
