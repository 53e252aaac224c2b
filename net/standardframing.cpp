#include "standardframing.h"

namespace net {

namespace {

// A lobby message with `atLeast` to `atMost` fields between its keyword and
// "|END" (atMost < 0: any number).
MessageKind lobbyMessage(const char* keyword, int atLeast, int atMost) {
    MessageKind kind;
    kind.keyword = QString::fromLatin1(keyword);
    kind.end = MessageEnd::Marker;
    kind.endText = QStringLiteral("|END");
    kind.fieldsAtLeast = atLeast;
    kind.fieldsAtMost = atMost;
    return kind;
}

MessageKind lobbyMessage(const char* keyword, int fields) {
    return lobbyMessage(keyword, fields, fields);
}

// A keyword that is a message by itself, with or without "|END".
MessageKind bareMessage(const char* keyword) {
    MessageKind kind = lobbyMessage(keyword, 0, -1);
    kind.mayStandAlone = true;
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

    rules.kinds.push_back(lobbyMessage("WatchData|", 2));
    rules.kinds.push_back(lobbyMessage("GameLogin|", 3));
    return rules;
}

FramingRules lobbyClientFraming() {
    FramingRules rules;
    auto& k = rules.kinds;
    k.push_back(lobbyMessage("LOGIN|", 1, 2));  // "No", or "OK" and the index
    k.push_back(lobbyMessage("NoLogin|", 0));
    k.push_back(lobbyMessage("AddFriends|", 0, 1));  // an empty list has no field
    // The server's notices have fields of their own; a chat line has the line
    // and its number, a refused challenge only its sentence.
    k.push_back(lobbyMessage("GameMsg|Battle|", 2));
    k.push_back(lobbyMessage("GameMsg|ShutDown|", 0));
    k.push_back(lobbyMessage("GameMsg|NotStart|", 0));
    k.push_back(lobbyMessage("GameMsg|", 1, 2));
    k.push_back(lobbyMessage("GMOK|", 1, 2));
    k.push_back(lobbyMessage("HisNone|", 0));
    k.push_back(lobbyMessage("GAMESETOK|", 1));
    k.push_back(lobbyMessage("GameEnd|", 0, 1));
    k.push_back(bareMessage("LogOut"));
    k.push_back(bareMessage("Dead"));
    return rules;
}

FramingRules lobbyServerFraming() {
    FramingRules rules;
    auto& k = rules.kinds;
    k.push_back(lobbyMessage("SVMSG_LOGIN|", 1));  // ID,PASS,MAIL,KIND in one field
    k.push_back(lobbyMessage("GetGameData|", 3));
    k.push_back(lobbyMessage("GameEnd|", 1));
    k.push_back(lobbyMessage("GameStart|", 3));
    k.push_back(lobbyMessage("WatchMsg|", 1));
    k.push_back(lobbyMessage("GameMsg|", 2));
    k.push_back(bareMessage("LOGOUT"));
    k.push_back(lobbyMessage("GMOK|", 2));
    k.push_back(lobbyMessage("GameLogin|", 3));
    addGameMessages(k);
    return rules;
}

}  // namespace net
