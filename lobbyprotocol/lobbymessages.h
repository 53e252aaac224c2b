#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace lobby {

// Every lobby message, built exactly as the lobby programs put it on the wire.
// Text fields go out as given: nothing is escaped, so a "|" or "," inside an
// ID or a chat text shifts the fields for the receiver. Every message ends
// with "|END", which the framing of the receiver relies on.

// ---- lobby client -> server ----

// "SVMSG_LOGIN|" ID "," PASS "," MAIL "," KIND "|END", KIND signed (" 0").
QString loginRequest(const QString& id, const QString& pass, const QString& mail, int kind);

// "GetGameData|" ID "|" PASS "|" N "|END", N the own index, plain.
QString userListRequest(const QString& id, const QString& pass, int ownIndex);

// "GameStart|" ID "|" PASS "|" TARGET "|END", TARGET plain.
QString challengeRequest(const QString& id, const QString& pass, int target);

// "WatchMsg|" TARGET "|END", TARGET plain.
QString watchRequest(int target);

// "GameMsg|" ID ">" TEXT "|" " 0" "|END": a chat line to the paired opponent.
QString chatMessage(const QString& id, const QString& text);

// "GMOK|受信しました。| 0|END": the client's answer to a "GameMsg".
QString chatAck();

// "GameEnd|" ID "|END": logout, and the last word of a client that ends.
QString logoutRequest(const QString& id);

// ---- game program -> server ----

// "GameLogin|" ID "|" PASS "|" MAIL "|END".
QString gameLoginRequest(const QString& id, const QString& pass, const QString& mail);
// "GameLeave|END", both ways. From a game program: it closes its connection
// on purpose (the player disconnected or closed the window), so a game in
// progress ends at once. From the server: it closes this connection on
// purpose (the match is over, or the user left), so the program must not
// come back by itself.
QString gameLeaveMessage();
// "GameRejoin|END": the program connected again by itself after its
// connection was lost, and asks for the game's last position.
QString gameRejoinRequest();

// ---- server -> game program ----

// "SYOUGI_MSG4:" + `text`: a line of the server's that the program shows as
// it shows a chat line.
QString serverChatLine(QStringView text);
// "OwnMove|" + `move` without its "SYOUGI_MSG2:" + "|END": the rejoining
// player's own move, the last one relayed in his game.
QString ownMoveMessage(QStringView move);
// The move message inside an "OwnMove" (its keyword put back), or nothing
// when `text` is not one.
std::optional<QString> moveOfOwnMoveMessage(QStringView text);

// ---- server -> lobby client ----

// "LOGIN|No|END": all connection slots are taken.
QString serverFullReply();
// "LOGIN|OK|" IDX "|END", IDX signed.
QString loginOkReply(int index);
// "NoLogin|END": the same ID and password are logged in already.
QString duplicateLoginReply();
// "GameMsg|Battle|" OPPID "|" OPPIDX "|END", OPPIDX signed.
QString battleNotice(const QString& opponentId, int opponentIndex);
// "GameMsg|ShutDown|END".
QString shutDownNotice();
// "GameMsg|NotStart|END".
QString notStartNotice();
// "GMOK|" TEXT "|END": the opponent acknowledged a "GameMsg".
QString gmokRelay(const QString& text);
// "HisNone|END": the paired opponent's lobby login has ended.
QString opponentGoneNotice();
// "GAMESETOK|" ID "|END": the opponent's game program has logged in.
QString gameSetOkNotice(const QString& opponentId);

// A challenge the server refuses comes back as a "GameMsg" whose second field
// is one of these sentences, so every client logs it as a line.
inline constexpr QStringView kAlreadyPlayingText = u"あなたは既に対戦中です。";
inline constexpr QStringView kOpponentLoggedOutText =
    u"相手はログアウトしてしまいました。対戦できません。";
inline constexpr QStringView kOpponentPlayingText = u"相手は既に対戦中です。";
// "GameMsg|" TEXT "|END".
QString challengeRefusal(QStringView text);

// ---- server -> game program ----

// "WatchData|" FIRST "|" SECOND "|END": the players of a watched game.
QString watchDataMessage(const QString& first, const QString& second);
// "WatchMsg|" followed by the move text, nothing appended.
QString watchMoveMessage(const QString& move);

// ---- reading ----

// Field `n` of a lobby message (split at "|"), or nothing when it has fewer.
std::optional<QString> lobbyField(QStringView message, int n);

// What "SVMSG_LOGIN" carries in its field 1.
struct LoginRequest {
    QString id;
    QString pass;
    QString mail;
    int kind = 0;
};

// Takes a login request apart; nothing when field 1 or one of its four
// comma parts is missing.
std::optional<LoginRequest> parseLoginRequest(QStringView message);

// What "GameLogin" carries: ID and PASS (MAIL is not read).
struct GameLoginRequest {
    QString id;
    QString pass;
};

std::optional<GameLoginRequest> parseGameLoginRequest(QStringView message);

// The reply to a login: accepted with the own index, or refused because the
// server is full ("No"). Nothing when the message is not a login reply.
struct LoginReply {
    bool accepted = false;
    int index = 0;
};

std::optional<LoginReply> parseLoginReply(QStringView message);

}  // namespace lobby
