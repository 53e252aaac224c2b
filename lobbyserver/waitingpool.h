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

    // Takes the connection out of the pool (it logged in, or is closed).
    std::optional<WaitingConnection> take(SocketHandle socket);

    // Takes out every connection accepted `graceMs` or more before `now`.
    std::vector<WaitingConnection> takeExpired(qint64 now, qint64 graceMs);

    // Takes out every connection.
    std::vector<WaitingConnection> takeAll();

    std::size_t size() const { return waiting_.size(); }

private:
    std::vector<WaitingConnection> waiting_;  // oldest first
};

}  // namespace lobby
