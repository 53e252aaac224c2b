#include "lobbyserver.h"

#include <utility>

#include "lobbymessages.h"
#include "servertexts.h"

namespace lobby {

LobbyServer::LobbyServer(ServerTransport& transport, QString loginFolder, Clock clock,
                         QObject* parent)
    : QObject(parent),
      transport_(transport),
      loginFolder_(std::move(loginFolder)),
      clock_(std::move(clock)) {}

void LobbyServer::send(SocketHandle socket, const QString& text) {
    if (socket != 0) transport_.send(socket, text);
}

void LobbyServer::reportInvalidData() {
    emit invalidData(kInvalidDataText.toString());
}

void LobbyServer::acceptConnection(SocketHandle socket, const QString& peerIp, quint16 peerPort) {
    emit msgChanged(peerIp + kConnectedText.toString() + QString::number(peerPort));
    const auto slot = userTable_.freeSlot();
    if (!slot) {
        transport_.send(socket, serverFullReply());
        transport_.close(socket);
        return;
    }
    UserRecord& r = userTable_[*slot];
    r = UserRecord{};
    r.InUse = true;
    r.LobbySock = socket;
    r.PeerIp = peerIp;
    r.PeerPort = peerPort;
    r.AcceptedAt = clock_();
    // Counted from the accept, so a connection made just before a minute tick
    // is not taken for one that stopped polling long ago.
    r.LastPoll = minuteCount_;
}

void LobbyServer::receiveMessage(SocketHandle socket, const QString& text) {
    emit statusChanged(text);
    // A socket no slot holds (one refused as the 51st, or closed meanwhile)
    // speaks for nobody.
    const auto slot = userTable_.slotOfSocket(socket);
    if (!slot) return;
    const Via via = userTable_[*slot].LobbySock == socket ? Via::Lobby : Via::Game;
    ServerDispatch(*slot, via, text);
}

void LobbyServer::connectionClosed(SocketHandle socket) {
    emit msgChanged(kCloseEventText.toString());
    const auto slot = userTable_.slotOfSocket(socket);
    if (!slot) return;
    if (userTable_[*slot].LobbySock == socket)
        CloseUser(*slot);
    else
        gameProgramGone(*slot);
}

void LobbyServer::gameProgramGone(int slot) {
    UserRecord& r = userTable_[slot];
    transport_.close(r.GameSock);
    r.GameSock = 0;
    if (r.Watching) {
        ClearWatch(slot);
        send(r.LobbySock, shutDownNotice());
    }
    if (r.Playing && UserTable::isSlotIndex(r.OppIndex)) {
        // The match is over for both: the opponent's game program is sent
        // away too, and both clients hear of it.
        UserRecord& o = userTable_[r.OppIndex];
        r.Playing = o.Playing = false;
        r.OppName.clear();
        o.OppName.clear();
        if (r.OppGameSock != 0) {
            transport_.close(r.OppGameSock);
            if (o.GameSock == r.OppGameSock) o.GameSock = 0;
            r.OppGameSock = 0;
        }
        o.OppGameSock = 0;
        send(r.LobbySock, shutDownNotice());
        send(r.OppLobbySock, shutDownNotice());
    }
}

void LobbyServer::CloseUser(int u) {
    UserRecord& r = userTable_[u];
    if (r.Playing && UserTable::isSlotIndex(r.OppIndex)) {
        send(r.OppLobbySock, opponentGoneNotice());
        UserRecord& o = userTable_[r.OppIndex];
        o.Playing = false;
        o.OppName.clear();
        o.OppLobbySock = 0;
        o.OppGameSock = 0;  // this user's game program goes below
    }
    transport_.close(r.LobbySock);
    transport_.close(r.GameSock);
    const QString peerIp = r.PeerIp;
    ClearWatch(u);
    r = UserRecord{};
    // Nobody goes on watching a game of a user who has left: his slot may
    // soon hold someone else.
    for (int w = UserTable::kFirstSlot; w <= UserTable::kLastSlot; ++w) {
        const UserRecord& watcher = userTable_[w];
        if (watcher.Watching && (watcher.WatchA == u || watcher.WatchB == u)) ClearWatch(w);
    }
    emit statusChanged(peerIp + kClosedText.toString());
}

void LobbyServer::ClearWatch(int u) {
    UserRecord& r = userTable_[u];
    r.Watching = false;
    r.WatchA = r.WatchB = 0;
    r.FirstName.clear();
    r.SecondName.clear();
    r.OppGameSock = 0;
    r.WatchDataSent = false;
}

void LobbyServer::loginSweep() {
    const qint64 now = clock_();
    for (int s = UserTable::kFirstSlot; s < UserTable::kRecordCount; ++s) {
        const UserRecord& r = userTable_[s];
        if (r.InUse == r.LoggedIn) continue;
        if (r.InUse && now - r.AcceptedAt < kLoginGraceMs) continue;
        CloseUser(s);
    }
}

void LobbyServer::minuteTick() {
    ++minuteCount_;
    emit minuteCountChanged(minuteCount_);
    Death();
}

void LobbyServer::Death() {
    for (int s = UserTable::kFirstSlot; s < UserTable::kRecordCount; ++s) {
        const UserRecord& r = userTable_[s];
        if ((r.InUse || r.LoggedIn) && r.LastPoll + 1 < minuteCount_) CloseUser(s);
    }
}

void LobbyServer::ThisExit() {
    for (int s = 0; s < UserTable::kRecordCount; ++s) {
        UserRecord& r = userTable_[s];
        transport_.close(r.LobbySock);
        transport_.close(r.GameSock);
        r = UserRecord{};
    }
}

}  // namespace lobby
