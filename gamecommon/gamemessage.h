#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include "gamekeywords.h"

namespace gamecommon {

// The messages two game programs exchange, directly or through the lobby
// server: "SYOUGI_MSG" + a type digit + ":" + fields separated by ":", and
// the two watch messages of the lobby server, fields separated by "|".
enum class GameMsgType {
    Type1,         // "SYOUGI_MSG1": taken and ignored
    Move,          // "SYOUGI_MSG2"
    Ack,           // "SYOUGI_MSG3:SEND_OK"
    Chat,          // "SYOUGI_MSG4"
    EndOfGame,     // "SYOUGI_MSG5"
    Conversation,  // "SYOUGI_MSG6"
    Notice,        // "SYOUGI_MSG7" (go)
    WatchMove,     // "WatchMsg|" + a move message
    WatchPlayers,  // "WatchData|" + first player + "|" + second player
    SentAway,      // "GameLeave|END" from the server: the close that follows is meant
    OwnMove,       // "OwnMove|" + this program's own last move, for one that rejoined
    Unknown,       // anything else: ignored, and acknowledged
};

// The type of a received message, by the keyword it starts with: a keyword
// further inside (typed into a chat line, say) never decides.
GameMsgType classifyGameMsg(QStringView text);

// The text a message of types 3 to 7 carries: everything after its first ":",
// so a typed "a:b" arrives as "a:b".
QString gameMsgText(QStringView text);

// The move carried by "WatchMsg|<move>" (any "|END" after it dropped).
QString unwrapWatchMove(QStringView text);

// The two player names of "WatchData|<first>|<second>|END"; missing names
// are empty.
QStringList watchPlayers(QStringView text);

// A chat line is cut to its first 500 characters; a game keyword typed into
// it ("SYOUGI_MSG") goes out as "SYOUGI＿MSG".
inline constexpr int kMaxChatLength = 500;
QString chatMsg(const QString& text);

// A canned line of the conversation menus, or the shogi resignation.
QString conversationMsg(const QString& text);

// The end of a game told to the other player: "SYOUGI_MSG5:" + the text he is
// shown (a resignation, a king taken).
QString endOfGameMsg(const QString& text);

}  // namespace gamecommon
