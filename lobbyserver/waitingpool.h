#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "usertable.h"

namespace lobby {

// A connection accepted and not logged in yet: a lobby client before its
// "SVMSG_LOGIN", a game program before its "GameLogin", or a peer that never
// says anything.
struct WaitingConnection {
    SocketHandle socket = 0;
    QString peerIp;
    quint16 peerPort = 0;
    qint64 acceptedAt = 0;  // server clock (ms)
    // A login that waits for its turn to be checked (its address is being
    // slowed down), and since when; empty while none waits.
    QString heldLogin;
    qint64 heldSince = 0;

    bool holding() const { return !heldLogin.isEmpty(); }
};

// Where connections wait for their login, apart from the 50 slots: a slot is
// taken only by a login, so peers that connect and say nothing cannot keep
// the users out. The pool is bounded, in total and for each address; a
// newcomer that finds it full makes room by pushing out the connection that
// has waited longest (from its own address when that address holds its
// share). A real login comes within moments of its connect, so only
// connections that have waited through many newcomers are pushed out.
class WaitingPool {
public:
    // Connections waiting at once: far more than the logins a lobby of 50
    // sees at a time, few enough that their buffers stay a few megabytes.
    static constexpr std::size_t kMaxWaiting = 256;
    // Connections one address may have waiting: room for the clients and game
    // programs of a whole household or office behind one router.
    static constexpr std::size_t kMaxWaitingPerAddress = 64;

    // Adds a connection; returns the one pushed out to make room, if any.
    std::optional<WaitingConnection> admit(WaitingConnection connection);

    // The waiting connection on `socket`, or null.
    const WaitingConnection* find(SocketHandle socket) const;

    WaitingConnection* find(SocketHandle socket);

    // Takes the connection out of the pool (it logged in, or is closed).
    std::optional<WaitingConnection> take(SocketHandle socket);

    // Holds `login` on `socket` until its turn comes.
    void hold(SocketHandle socket, QString login, qint64 now);

    // Whether a login from `address` waits for its turn.
    bool holdsLoginFrom(const QString& address) const;

    // The connections whose login waits, the longest waiting first.
    std::vector<SocketHandle> holdingInTurn() const;

    // Takes out every connection accepted `graceMs` or more before `now`
    // that has not sent its login, and every one whose login has waited
    // `holdMs` or more.
    std::vector<WaitingConnection> takeExpired(qint64 now, qint64 graceMs, qint64 holdMs);

    // Takes out every connection.
    std::vector<WaitingConnection> takeAll();

    std::size_t size() const { return waiting_.size(); }

private:
    std::vector<WaitingConnection> waiting_;  // oldest first
};

}  // namespace lobby
