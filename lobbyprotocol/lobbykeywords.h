#pragma once

#include <QStringView>

#include "gamekeywords.h"

namespace lobby {

// The keywords of the lobby messages, written here once: the builders, the
// classification and the framing take them from here. The keywords of what
// a game program sends or is sent through the server (its login, the watch
// messages, the game messages) are the game messages' own.

// Lobby client -> server.
inline constexpr QStringView kLoginRequestKeyword = u"SVMSG_LOGIN";
inline constexpr QStringView kUserListRequestKeyword = u"GetGameData";
inline constexpr QStringView kChallengeKeyword = u"GameStart";
inline constexpr QStringView kWatchRequestKeyword = gamecommon::kWatchMoveKeyword;  // "WatchMsg"
inline constexpr QStringView kChatKeyword = u"GameMsg";     // also server -> client
inline constexpr QStringView kChatAckKeyword = u"GMOK";     // also server -> client
inline constexpr QStringView kGameEndKeyword = u"GameEnd";  // also server -> client
inline constexpr QStringView kLogoutKeyword = u"LOGOUT";    // the older clients' logout

// Game program -> server.
inline constexpr QStringView kGameLoginKeyword = gamecommon::kGameLoginKeyword;
inline constexpr QStringView kGameLeaveKeyword = gamecommon::kGameLeaveKeyword;
inline constexpr QStringView kGameRejoinKeyword = gamecommon::kGameRejoinKeyword;

// Server -> lobby client.
inline constexpr QStringView kLoginReplyKeyword = u"LOGIN";
inline constexpr QStringView kUserListKeyword = u"AddFriends";
inline constexpr QStringView kOpponentGoneKeyword = u"HisNone";
inline constexpr QStringView kLogOutKeyword = u"LogOut";
inline constexpr QStringView kDeadKeyword = u"Dead";
inline constexpr QStringView kDuplicateLoginKeyword = u"NoLogin";
inline constexpr QStringView kGameSetOkKeyword = u"GAMESETOK";
// The second field of a server's "GameMsg" notice.
inline constexpr QStringView kBattleField = u"Battle";
inline constexpr QStringView kShutDownField = u"ShutDown";
inline constexpr QStringView kNotStartField = u"NotStart";

// Server -> game program.
inline constexpr QStringView kWatchDataKeyword = gamecommon::kWatchPlayersKeyword;

inline constexpr QStringView kEnd = gamecommon::kLobbyEnd;  // "|END"

}  // namespace lobby
