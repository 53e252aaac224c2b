#include "lobbyplayers.h"

#include "gameframing.h"
#include "lobbyframing.h"
#include "lobbykeywords.h"
#include "lobbymessages.h"

using namespace Qt::StringLiterals;

namespace bench {

namespace {

QString mailOf(const QString& id) {
    return id + u"@example.jp"_s;
}

QString password() {
    return QString::fromUtf16(kBenchPassword);
}

QString linkGame(quint16 port, LobbyPlayer& player) {
    player.game = std::make_unique<WirePeer>(port, gamecommon::gameProgramFraming());
    if (!player.game->ok()) return player.id + u": the game program cannot connect"_s;
    if (!player.game->send(lobby::gameLoginRequest(player.id, password(), mailOf(player.id))))
        return player.id + u": the game login was not sent"_s;
    return {};
}

}  // namespace

QString benchUserId(int n) {
    return u"bench%1"_s.arg(n, 2, 10, QChar(u'0'));
}

QStringList benchUserFile(int count) {
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines << u"%1,%2,%3,%4,"_s.arg(n).arg(benchUserId(n), password(), mailOf(benchUserId(n)));
    return lines;
}

QString logIn(quint16 port, LobbyPlayer& player) {
    player.lobby = std::make_unique<WirePeer>(port, lobby::lobbyClientFraming());
    if (!player.lobby->ok()) return player.id + u": the lobby client cannot connect"_s;
    player.lobby->send(lobby::loginRequest(player.id, password(), mailOf(player.id), 0));
    const auto reply = player.lobby->nextStartingWith(lobby::kLoginReplyKeyword.toString() + u'|');
    const auto login = reply ? lobby::parseLoginReply(*reply) : std::nullopt;
    if (!login || !login->accepted)
        return player.id + u": no login: "_s + reply.value_or(QString());
    player.index = login->index;
    return {};
}

QString pairAndLink(quint16 port, LobbyPlayer& a, LobbyPlayer& b) {
    a.lobby->send(lobby::challengeRequest(a.id, password(), b.index));
    for (LobbyPlayer* p : {&a, &b}) {
        if (!p->lobby->nextStartingWith(lobby::kChatKeyword.toString() + u'|' +
                                        lobby::kBattleField.toString() + u'|'))
            return p->id + u": no pairing notice"_s;
        p->lobby->send(lobby::chatAck());
    }
    // Each game program is linked once the other client hears of it.
    if (QString error = linkGame(port, a); !error.isEmpty()) return error;
    if (!b.lobby->nextStartingWith(lobby::gameSetOkNotice(a.id)))
        return a.id + u": the game program was not linked"_s;
    if (QString error = linkGame(port, b); !error.isEmpty()) return error;
    if (!a.lobby->nextStartingWith(lobby::gameSetOkNotice(b.id)))
        return b.id + u": the game program was not linked"_s;
    return {};
}

}  // namespace bench
