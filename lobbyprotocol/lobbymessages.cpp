#include "lobbymessages.h"

#include "lobbyclassify.h"
#include "lobbykeywords.h"
#include "lobbynumbers.h"

using namespace Qt::StringLiterals;

namespace lobby {

namespace {

// A lobby message: the keyword and its fields joined by "|", then "|END".
template <typename... Fields>
QString message(QStringView keyword, const Fields&... fields) {
    QString text = keyword.toString();
    ((text += u'|', text += fields), ...);
    text += kEnd;
    return text;
}

// The number field nobody reads, still sent for the older clients' sake.
QString unusedNumber() {
    return signedNumber(0);
}

}  // namespace

QString loginRequest(const QString& id, const QString& pass, const QString& mail, int kind) {
    return message(kLoginRequestKeyword,
                   id + u',' + pass + u',' + mail + u',' + signedNumber(kind));
}

QString userListRequest(const QString& id, const QString& pass, int ownIndex) {
    return message(kUserListRequestKeyword, id, pass, plainNumber(ownIndex));
}

QString challengeRequest(const QString& id, const QString& pass, int target) {
    return message(kChallengeKeyword, id, pass, plainNumber(target));
}

QString watchRequest(int target) {
    return message(kWatchRequestKeyword, plainNumber(target));
}

QString chatMessage(const QString& id, const QString& text) {
    return message(kChatKeyword, id + u'>' + text, unusedNumber());
}

QString chatAck() {
    return message(kChatAckKeyword, u"受信しました。"_s, unusedNumber());
}

QString logoutRequest(const QString& id) {
    return message(kGameEndKeyword, id);
}

QString gameLoginRequest(const QString& id, const QString& pass, const QString& mail) {
    return message(kGameLoginKeyword, id, pass, mail);
}

QString gameLeaveMessage() {
    return message(kGameLeaveKeyword);
}

QString gameRejoinRequest() {
    return message(kGameRejoinKeyword);
}

QString serverChatLine(QStringView text) {
    QString line = gamecommon::kChatKeyword.toString() + u':';
    line += text;
    return line;
}

QString ownMoveMessage(QStringView move) {
    const QString prefix = gamecommon::kMoveKeyword.toString() + u':';
    const QStringView body = move.startsWith(prefix) ? move.sliced(prefix.size()) : move;
    QString text = gamecommon::kOwnMoveKeyword.toString() + u'|';
    text += body;
    text += gamecommon::kLobbyEnd;
    return text;
}

std::optional<QString> moveOfOwnMoveMessage(QStringView text) {
    const QString prefix = gamecommon::kOwnMoveKeyword.toString() + u'|';
    // "OwnMove|END" has the prefix and the end, overlapping: no move.
    if (text.size() < prefix.size() + gamecommon::kLobbyEnd.size() || !text.startsWith(prefix) ||
        !text.endsWith(gamecommon::kLobbyEnd))
        return std::nullopt;
    const QStringView body =
        text.sliced(prefix.size(), text.size() - prefix.size() - gamecommon::kLobbyEnd.size());
    QString move = gamecommon::kMoveKeyword.toString() + u':';
    move += body;
    return move;
}

QString serverFullReply() {
    return message(kLoginReplyKeyword, u"No"_s);
}

QString loginOkReply(int index) {
    return message(kLoginReplyKeyword, u"OK"_s, signedNumber(index));
}

QString duplicateLoginReply() {
    return message(kDuplicateLoginKeyword);
}

QString battleNotice(const QString& opponentId, int opponentIndex) {
    return message(kChatKeyword, kBattleField, opponentId, signedNumber(opponentIndex));
}

QString shutDownNotice() {
    return message(kChatKeyword, kShutDownField);
}

QString notStartNotice() {
    return message(kChatKeyword, kNotStartField);
}

QString gmokRelay(const QString& text) {
    return message(kChatAckKeyword, text);
}

QString opponentGoneNotice() {
    return message(kOpponentGoneKeyword);
}

QString gameSetOkNotice(const QString& opponentId) {
    return message(kGameSetOkKeyword, opponentId);
}

QString challengeRefusal(QStringView text) {
    return message(kChatKeyword, text.toString());
}

QString watchDataMessage(const QString& first, const QString& second) {
    return message(kWatchDataKeyword, first, second);
}

QString watchMoveMessage(const QString& move) {
    // The move ends as a move does: nothing is appended.
    return gamecommon::kWatchMoveKeyword.toString() + u'|' + move;
}

std::optional<QString> lobbyField(QStringView message, int n) {
    const QStringList fields = splitFields(message);
    if (n < 0 || n >= fields.size()) return std::nullopt;
    return fields[n];
}

std::optional<LoginRequest> parseLoginRequest(QStringView message) {
    const auto field = lobbyField(message, 1);
    if (!field) return std::nullopt;
    const QStringList parts = field->split(u',');
    if (parts.size() < 4) return std::nullopt;
    return LoginRequest{parts[0], parts[1], parts[2], lenientNumber(parts[3])};
}

std::optional<GameLoginRequest> parseGameLoginRequest(QStringView message) {
    const QStringList fields = splitFields(message);
    if (fields.size() < 3) return std::nullopt;
    return GameLoginRequest{fields[1], fields[2]};
}

std::optional<LoginReply> parseLoginReply(QStringView message) {
    if (classifyClientMessage(message) != ClientReply::Login) return std::nullopt;
    const QStringList fields = splitFields(message);
    if (fields.size() < 2) return std::nullopt;
    // The older clients accepted any answer containing "OK"; so do we.
    if (!fields[1].contains(u"OK")) return LoginReply{false, 0};
    if (fields.size() < 3) return std::nullopt;
    return LoginReply{true, lenientNumber(fields[2])};
}

}  // namespace lobby
