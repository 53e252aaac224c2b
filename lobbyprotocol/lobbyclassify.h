#pragma once

#include <QStringList>
#include <QStringView>

namespace lobby {

// A lobby message is "|"-separated fields whose first field is its keyword;
// a game message is "SYOUGI_MSG" + type digit, then ":"-separated fields.
// A message is known by the keyword it starts with and by nothing else: text a
// user typed (a chat line, a game chat) can mention any keyword without being
// taken for that request.

// What a message received by the lobby server asks for.
enum class ServerRequest {
    Login,        // "SVMSG_LOGIN|" ID,PASS,MAIL,KIND
    GetGameData,  // user-list poll, also the keep-alive
    GameEnd,      // logout
    GameStart,    // challenge
    WatchMsg,     // watch request
    GameMsg,      // lobby chat between paired players
    Logout,       // "LOGOUT": same as GameEnd; no program of ours sends it
    GameAck,      // "SYOUGI_MSG3", relayed to the opponent's game program
    GameChat,     // "SYOUGI_MSG4", relayed
    GameOver,     // "SYOUGI_MSG5", relayed
    GameTalk,     // "SYOUGI_MSG6", relayed
    Move,         // "SYOUGI_MSG2", relayed and copied to watchers
    GameLogin,    // a game program linking itself to its user
    GameLeave,    // a linked game program leaving on purpose, before it closes
    GameRejoin,   // a game program that connected again asks for the last position
    Gmok,         // a client acknowledging a "GameMsg"
    Unknown,      // anything else: ignored
};

ServerRequest classifyServerMessage(QStringView text);

// What a message received by a lobby client is.
enum class ClientReply {
    Login,       // "LOGIN|OK|" IDX or "LOGIN|No"
    AddFriends,  // the user list
    GameMsg,     // pairing, shut-down, not-started, refusal or chat line
    HisNone,     // the opponent's lobby login has ended
    LogOut,
    Dead,
    NoLogin,  // duplicate login refused
    GameEnd,
    GameSetOk,  // the opponent's game program has logged in
    Gmok,       // the opponent acknowledged a chat line; changes nothing
    Unknown,
};

ClientReply classifyClientMessage(QStringView text);

// What a lobby client that searches the whole text for its keywords, in the
// order it tests them, takes the text for (clients of other makers do, and
// take "GMOK" for nothing): a chat line that mentions "LOGIN", or an
// acknowledgement that says "Dead", is a login reply or a farewell to such a
// client.
ClientReply classifyClientMessageAnywhere(QStringView text);

// The fields of a lobby message, split at "|" (the keyword is field 0 and the
// closing "END" the last field).
QStringList splitFields(QStringView text);

}  // namespace lobby
