#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "wirepeer.h"

namespace bench {

// One user of the lobby as the benchmark plays him: his lobby client's
// connection and, once linked, his game program's.
struct LobbyPlayer {
    QString id;
    int index = 0;  // his slot index, from the login reply
    std::unique_ptr<WirePeer> lobby;
    std::unique_ptr<WirePeer> game;
};

// The password of every benchmark user.
inline constexpr char16_t kBenchPassword[] = u"pw";

// The ID of benchmark user `n` (from 1).
QString benchUserId(int n);

// The lines of a "BrellowLogIn.txt" that lets users 1..count in.
QStringList benchUserFile(int count);

// Logs `player` in as his lobby client does, at the server on `port`. The
// reason it failed, or empty.
QString logIn(quint16 port, LobbyPlayer& player);

// `a` challenges `b`, both clients answer the pairing as a client does, and
// both game programs connect and log in; done once each client has heard that
// the other's game program is there. The reason it failed, or empty.
QString pairAndLink(quint16 port, LobbyPlayer& a, LobbyPlayer& b);

}  // namespace bench
