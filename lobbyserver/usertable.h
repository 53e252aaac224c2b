#pragma once

#include <QString>
#include <array>
#include <optional>

namespace lobby {

// A socket as the socket layer names it: a small positive number, 0 = none.
using SocketHandle = int;

// One connection slot of the server. A slot is taken by a lobby client's
// login and holds everything the server knows about its user and his match;
// his game program's connection belongs to it too, once linked.
struct UserRecord {
    bool InUse = false;     // the slot holds a connection
    bool LoggedIn = false;  // its user has logged in
    bool Playing = false;   // paired with OppIndex
    QString UserID;
    QString Password;
    int GameKind = 0;   // game kind sent at login (0 shogi, 1 go)
    QString IndexText;  // the slot index in signed form (" 3"), set at login
    SocketHandle LobbySock = 0;
    QString PeerIp;  // dotted address of LobbySock's peer
    quint16 PeerPort = 0;
    SocketHandle GameSock = 0;  // the user's linked game program
    // An earlier game connection of the user, replaced by a later login of
    // his game program and kept open, unlinked: a program that connects anew
    // while its old connection is still up takes a close of the old one for
    // its own and closes its new one too.
    SocketHandle StaleGameSock = 0;
    SocketHandle OppGameSock = 0;  // the opponent's linked game program
    SocketHandle OppLobbySock = 0;
    QString OppName;
    int OppIndex = 0;
    quint64 GameNumber = 0;   // the running game's number, 0 when not playing
    bool Challenger = false;  // this user asked for the running game
    int LastPoll = 0;         // minute count at login and at the last poll
    int Side = 0;             // 1: this user made move 1, 2: the opponent did, 0: not seen
    bool Watching = false;
    bool WatchDataSent = false;
    int WatchA = 0;  // the player named in the watch request
    int WatchB = 0;  // his opponent at the time of the request
    QString FirstName;
    QString SecondName;
    // The server refused a challenge of this user and his client is still to
    // hear that no match follows (see handleGameStart).
    bool ChallengeRefused = false;
    // His game program's connection was lost in the middle of the game: the
    // match waits for the program to log in again until this time of the
    // server's clock (0: nothing waits).
    qint64 RejoinBy = 0;
    // The players have ended the running game themselves (a resignation, a
    // king taken): a game program that closes now ends the match at once.
    bool GameDecided = false;
    // The last move relayed in the running game and the slot of its maker.
    QString LastMove;
    int LastMover = 0;
    // The game connection that was given the last position (once each).
    SocketHandle ResumedSock = 0;
};

// The server's 53 slot records, indexes 0 to 52. Slots 1 to 50 are given to
// connections; a slot's index is its user's index in the lobby. Indexes 0, 51
// and 52 are never given out.
class UserTable {
public:
    static constexpr int kFirstSlot = 1;
    static constexpr int kLastSlot = 50;
    static constexpr int kRecordCount = 53;

    // True for 1..50, the only indexes a message from the network may name.
    static constexpr bool isSlotIndex(int index) {
        return index >= kFirstSlot && index <= kLastSlot;
    }

    // The record of slot `index`; `index` must be 0..52.
    UserRecord& operator[](int index) { return records_.at(static_cast<std::size_t>(index)); }
    const UserRecord& operator[](int index) const {
        return records_.at(static_cast<std::size_t>(index));
    }

    // The lowest slot 1..50 not in use, or nothing when all 50 are taken.
    std::optional<int> freeSlot() const;

    // The first slot 1..50 whose lobby or game connection (linked or stale)
    // is `socket`.
    std::optional<int> slotOfSocket(SocketHandle socket) const;

    // The first logged-in slot with exactly this ID and password.
    std::optional<int> loggedInSlot(const QString& id, const QString& pass) const;

private:
    std::array<UserRecord, kRecordCount> records_{};
};

}  // namespace lobby
