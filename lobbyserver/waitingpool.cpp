#include "waitingpool.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace lobby {

std::optional<WaitingConnection> WaitingPool::admit(WaitingConnection connection) {
    std::optional<WaitingConnection> pushedOut;
    const auto sameAddress = [&](const WaitingConnection& w) {
        return w.peerIp == connection.peerIp;
    };
    auto victim = waiting_.end();
    if (static_cast<std::size_t>(std::count_if(waiting_.begin(), waiting_.end(), sameAddress)) >=
        kMaxWaitingPerAddress)
        victim = std::find_if(waiting_.begin(), waiting_.end(), sameAddress);
    else if (waiting_.size() >= kMaxWaiting)
        victim = waiting_.begin();
    if (victim != waiting_.end()) {
        pushedOut = std::move(*victim);
        waiting_.erase(victim);
    }
    waiting_.push_back(std::move(connection));
    return pushedOut;
}

const WaitingConnection* WaitingPool::find(SocketHandle socket) const {
    if (socket == 0) return nullptr;
    const auto it =
        std::find_if(waiting_.begin(), waiting_.end(),
                     [socket](const WaitingConnection& w) { return w.socket == socket; });
    return it == waiting_.end() ? nullptr : &*it;
}

WaitingConnection* WaitingPool::find(SocketHandle socket) {
    return const_cast<WaitingConnection*>(std::as_const(*this).find(socket));
}

void WaitingPool::hold(SocketHandle socket, QString login, qint64 now) {
    WaitingConnection* w = find(socket);
    if (!w) return;
    w->heldLogin = std::move(login);
    w->heldSince = now;
}

bool WaitingPool::holdsLoginFrom(const QString& address) const {
    return std::any_of(waiting_.begin(), waiting_.end(), [&](const WaitingConnection& w) {
        return w.holding() && w.peerIp == address;
    });
}

std::vector<SocketHandle> WaitingPool::holdingInTurn() const {
    std::vector<const WaitingConnection*> holding;
    for (const WaitingConnection& w : waiting_)
        if (w.holding()) holding.push_back(&w);
    std::stable_sort(holding.begin(), holding.end(),
                     [](const auto* a, const auto* b) { return a->heldSince < b->heldSince; });
    std::vector<SocketHandle> sockets;
    sockets.reserve(holding.size());
    for (const WaitingConnection* w : holding)
        sockets.push_back(w->socket);
    return sockets;
}

std::optional<WaitingConnection> WaitingPool::take(SocketHandle socket) {
    const auto it =
        std::find_if(waiting_.begin(), waiting_.end(),
                     [socket](const WaitingConnection& w) { return w.socket == socket; });
    if (socket == 0 || it == waiting_.end()) return std::nullopt;
    WaitingConnection taken = std::move(*it);
    waiting_.erase(it);
    return taken;
}

std::vector<WaitingConnection> WaitingPool::takeExpired(qint64 now, qint64 graceMs, qint64 holdMs) {
    const auto expired =
        std::stable_partition(waiting_.begin(), waiting_.end(), [&](const WaitingConnection& w) {
            return w.holding() ? now - w.heldSince < holdMs : now - w.acceptedAt < graceMs;
        });
    std::vector<WaitingConnection> gone(std::make_move_iterator(expired),
                                        std::make_move_iterator(waiting_.end()));
    waiting_.erase(expired, waiting_.end());
    return gone;
}

std::vector<WaitingConnection> WaitingPool::takeAll() {
    return std::exchange(waiting_, {});
}

}  // namespace lobby
