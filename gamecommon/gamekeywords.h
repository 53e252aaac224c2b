#pragma once

#include <QStringView>

namespace gamecommon {

// The keywords of everything that travels on a game program's connection,
// written here once: the builders, the classification and the framing of the
// game programs, the bot and the lobby server take them from here.

// Game messages: "SYOUGI_MSG" + a type digit + ":" + fields.
inline constexpr QStringView kGameKeyword = u"SYOUGI_MSG";
inline constexpr QStringView kMoveKeyword = u"SYOUGI_MSG2";
inline constexpr QStringView kAckKeyword = u"SYOUGI_MSG3";
inline constexpr QStringView kAckMsg = u"SYOUGI_MSG3:SEND_OK";  // the whole acknowledgement
inline constexpr QStringView kChatKeyword = u"SYOUGI_MSG4";
inline constexpr QStringView kEndOfGameKeyword = u"SYOUGI_MSG5";
inline constexpr QStringView kConversationKeyword = u"SYOUGI_MSG6";
inline constexpr QStringView kNoticeKeyword = u"SYOUGI_MSG7";

// The lobby messages a game program sends or is sent, fields separated by
// "|": its login at the lobby server, and the two watch messages (the players
// of a watched game, and each of its moves wrapped).
inline constexpr QStringView kGameLoginKeyword = u"GameLogin";
inline constexpr QStringView kWatchPlayersKeyword = u"WatchData";
inline constexpr QStringView kWatchMoveKeyword = u"WatchMsg";
// What ends a lobby message (but a wrapped move, which ends as the move does).
inline constexpr QStringView kLobbyEnd = u"|END";

// A game that waits for a player whose connection was lost: his game program
// says it leaves on purpose before it closes ("GameLeave|END"), asks for the
// game's last position when it has connected again by itself
// ("GameRejoin|END"), and is given its own last move, when that was the last
// one relayed, as "OwnMove|" + the move message after its keyword + "|END"
// (without the keyword, so that no program reads it as a move of the
// opponent's).
inline constexpr QStringView kGameLeaveKeyword = u"GameLeave";
inline constexpr QStringView kGameRejoinKeyword = u"GameRejoin";
inline constexpr QStringView kOwnMoveKeyword = u"OwnMove";

// The resignation, as both programs send it (shogi as a conversation line,
// go as an end-of-game message).
inline constexpr QStringView kResignText = u"投了です。あなたの勝ちです。有り難うございました。";

}  // namespace gamecommon
