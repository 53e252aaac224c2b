#include "gameframing.h"

#include "gamekeywords.h"

namespace gamecommon {

namespace {

// A move of either game: a shogi move ends with ":END", a go move after the
// 361 digits of its board and two more fields.
net::MessageKind moveMessage(const QString& keyword) {
    net::MessageKind move;
    move.keyword = keyword;
    move.end = net::MessageEnd::Move;
    move.endText = QStringLiteral(":END");
    move.boardDigits = 361;
    move.mayEnclose = false;  // positions and numbers only
    move.endsOpenMessage = true;
    return move;
}

QString withBar(QStringView keyword) {
    return keyword.toString() + u'|';
}

}  // namespace

std::vector<net::MessageKind> gameMessageKinds() {
    std::vector<net::MessageKind> kinds;
    kinds.push_back(moveMessage(kMoveKeyword.toString()));

    net::MessageKind ack;
    ack.keyword = kAckMsg.toString();
    ack.end = net::MessageEnd::FixedText;
    ack.endsOpenMessage = true;
    kinds.push_back(ack);

    // Only game messages follow an open (unmarked) game message on a
    // connection, so only they end one.
    net::MessageKind other;
    other.keyword = kGameKeyword.toString();
    other.digitFollows = true;
    other.end = net::MessageEnd::Open;
    other.endsOpenMessage = true;
    kinds.push_back(other);
    return kinds;
}

net::FramingRules gameProgramFraming() {
    net::FramingRules rules;
    rules.kinds = gameMessageKinds();

    // The lobby server's copy of a move for a watcher: "WatchMsg|" + the move,
    // which ends as the move does (a shogi move at its ":END", a go move after
    // its capture count).
    net::MessageKind watchMove = moveMessage(withBar(kWatchMoveKeyword) + kMoveKeyword.toString());
    watchMove.endsOpenMessage = false;  // only the server sends it, never after a chat line
    rules.kinds.push_back(watchMove);
    net::MessageKind watchOther;
    watchOther.keyword = withBar(kWatchMoveKeyword);
    watchOther.end = net::MessageEnd::Marker;
    watchOther.endText = QStringLiteral(":END");
    watchOther.mayEnclose = false;
    rules.kinds.push_back(watchOther);

    // Lobby messages, whose fields end with "|END".
    const QString end = kLobbyEnd.toString();
    rules.kinds.push_back(net::countedMessage(withBar(kWatchPlayersKeyword), end, 2, 2));
    rules.kinds.push_back(net::countedMessage(withBar(kGameLoginKeyword), end, 3, 3));
    return rules;
}

}  // namespace gamecommon
