#include "lobbymessages.h"

#include "lobbyclassify.h"
#include "lobbynumbers.h"

using namespace Qt::StringLiterals;

namespace lobby {

namespace {

const QString kEnd = QStringLiteral("|END");

// The number field nobody reads, still sent for the older clients' sake.
QString unusedNumber() {
    return signedNumber(0);
}

}  // namespace

QString loginRequest(const QString& id, const QString& pass, const QString& mail, int kind) {
    return u"SVMSG_LOGIN|"_s + id + u',' + pass + u',' + mail + u',' + signedNumber(kind) + kEnd;
}

QString userListRequest(const QString& id, const QString& pass, int ownIndex) {
    return u"GetGameData|"_s + id + u'|' + pass + u'|' + plainNumber(ownIndex) + kEnd;
}

QString challengeRequest(const QString& id, const QString& pass, int target) {
    return u"GameStart|"_s + id + u'|' + pass + u'|' + plainNumber(target) + kEnd;
}

QString watchRequest(int target) {
    return u"WatchMsg|"_s + plainNumber(target) + kEnd;
}

QString chatMessage(const QString& id, const QString& text) {
    return u"GameMsg|"_s + id + u'>' + text + u'|' + unusedNumber() + kEnd;
}

QString chatAck() {
    return u"GMOK|受信しました。|"_s + unusedNumber() + kEnd;
}

QString logoutRequest(const QString& id) {
    return u"GameEnd|"_s + id + kEnd;
}

QString gameLoginRequest(const QString& id, const QString& pass, const QString& mail) {
    return u"GameLogin|"_s + id + u'|' + pass + u'|' + mail + kEnd;
}

QString serverFullReply() {
    return QStringLiteral("LOGIN|No|END");
}

QString loginOkReply(int index) {
    return u"LOGIN|OK|"_s + signedNumber(index) + kEnd;
}

QString duplicateLoginReply() {
    return QStringLiteral("NoLogin|END");
}

QString battleNotice(const QString& opponentId, int opponentIndex) {
    return u"GameMsg|Battle|"_s + opponentId + u'|' + signedNumber(opponentIndex) + kEnd;
}

QString shutDownNotice() {
    return QStringLiteral("GameMsg|ShutDown|END");
}

QString notStartNotice() {
    return QStringLiteral("GameMsg|NotStart|END");
}

QString gmokRelay(const QString& text) {
    return u"GMOK|"_s + text + kEnd;
}

QString opponentGoneNotice() {
    return QStringLiteral("HisNone|END");
}

QString gameSetOkNotice(const QString& opponentId) {
    return u"GAMESETOK|"_s + opponentId + kEnd;
}

QString challengeRefusal(QStringView text) {
    return u"GameMsg|"_s + text.toString() + kEnd;
}

QString watchDataMessage(const QString& first, const QString& second) {
    return u"WatchData|"_s + first + u'|' + second + kEnd;
}

QString watchMoveMessage(const QString& move) {
    return u"WatchMsg|"_s + move;
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
