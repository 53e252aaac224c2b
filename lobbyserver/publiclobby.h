#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <vector>

namespace lobby {

// What anyone may see of the lobby, as the server hands it to an onlooker (the
// web front): who is on and which games run. It holds no password, mail
// address, client address or chat line.
struct PublicUser {
    enum class State { Free, Playing, Watching };
    QString id;
    int gameKind = 0;  // 0 shogi, 1 go
    State state = State::Free;

    bool operator==(const PublicUser&) const = default;
};

struct PublicGame {
    quint64 number = 0;  // the server's number of the pairing, from 1
    int gameKind = 0;
    QString challenger;  // who is first shows only at move 1
    QString challenged;
    int watchers = 0;  // users who watch it through the lobby

    bool operator==(const PublicGame&) const = default;
};

struct PublicLobby {
    std::vector<PublicUser> users;  // in slot order
    std::vector<PublicGame> games;  // in pairing order

    bool operator==(const PublicLobby&) const = default;
};

// Why the server ended a running game by itself (a game the players end, by a
// resignation or a king taken, shows in the messages relayed).
enum class GameEndCause {
    ProgramGone,  // a player's game program closed its connection
    PlayerLeft,   // a player logged out, or his lobby connection went
};

}  // namespace lobby

Q_DECLARE_METATYPE(lobby::PublicLobby)
Q_DECLARE_METATYPE(lobby::GameEndCause)
