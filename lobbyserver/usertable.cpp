#include "usertable.h"

namespace lobby {

std::optional<int> UserTable::freeSlot() const {
    for (int i = kFirstSlot; i <= kLastSlot; ++i)
        if (!(*this)[i].InUse) return i;
    return std::nullopt;
}

std::optional<int> UserTable::slotOfSocket(SocketHandle socket) const {
    if (socket == 0) return std::nullopt;
    for (int i = kFirstSlot; i <= kLastSlot; ++i) {
        const UserRecord& r = (*this)[i];
        if (r.LobbySock == socket || r.GameSock == socket || r.StaleGameSock == socket) return i;
    }
    return std::nullopt;
}

std::optional<int> UserTable::loggedInSlot(const QString& id, const QString& pass) const {
    for (int i = kFirstSlot; i <= kLastSlot; ++i) {
        const UserRecord& r = (*this)[i];
        if (r.LoggedIn && r.UserID == id && r.Password == pass) return i;
    }
    return std::nullopt;
}

}  // namespace lobby
