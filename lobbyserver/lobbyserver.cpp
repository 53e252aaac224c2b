#include "lobbyserver.h"

#include <QMetaMethod>
#include <algorithm>
#include <utility>

#include "lobbyclassify.h"
#include "lobbyframing.h"
#include "lobbymessages.h"
#include "logtext.h"
#include "messageframer.h"
#include "servertexts.h"
#include "wirecodec.h"

namespace lobby {

namespace {

// Runs `f` at the end of the scope, whichever way the scope is left.
template <class F>
class AtEnd {
public:
    explicit AtEnd(F f) : f_(std::move(f)) {}
    AtEnd(const AtEnd&) = delete;
    AtEnd& operator=(const AtEnd&) = delete;
    ~AtEnd() { f_(); }

private:
    F f_;
};

}  // namespace

LobbyServer::LobbyServer(ServerTransport& transport, QString loginFolder, Clock clock,
                         QObject* parent)
    : QObject(parent),
      transport_(transport),
      userFile_(std::move(loginFolder)),
      clock_(std::move(clock)),
      clientFraming_(lobby::lobbyClientFraming()) {}

void LobbyServer::send(SocketHandle socket, const QString& text) {
    if (socket != 0) transport_.send(socket, text);
}

bool LobbyServer::relayToClient(SocketHandle socket, const QString& text) {
    net::MessageFramer framer(clientFraming_);
    QStringList messages = framer.feed(net::encodeMessage(text)).messages;
    messages += framer.flush().messages;
    if (messages != QStringList{text}) return false;
    ClientReply kind = classifyClientMessage(text);
    if (kind == ClientReply::Gmok) kind = ClientReply::Unknown;
    if (classifyClientMessageAnywhere(text) != kind) return false;
    send(socket, text);
    return true;
}

void LobbyServer::reportInvalidData() {
    emit invalidData(kInvalidDataText.toString());
}

void LobbyServer::acceptConnection(SocketHandle socket, const QString& peerIp, quint16 peerPort) {
    emit msgChanged(peerIp + kConnectedText.toString() + QString::number(peerPort),
                    Report::Traffic);
    const auto pushedOut = waiting_.admit({socket, peerIp, peerPort, clock_(), {}, 0});
    if (pushedOut) {
        transport_.close(pushedOut->socket);
        emit statusChanged(pushedOut->peerIp + kClosedText.toString(), Report::Traffic);
    }
}

void LobbyServer::receiveMessage(SocketHandle socket, const QString& text) {
    const AtEnd publish{[this] { publishLobby(); }};
    if (messageReports_) emit statusChanged(maskPasswords(text), Report::Traffic);
    if (waiting_.find(socket)) return waitingDispatch(socket, text);
    // A socket nobody holds (one closed meanwhile) speaks for nobody.
    const auto slot = userTable_.slotOfSocket(socket);
    if (!slot) return;
    const UserRecord& r = userTable_[*slot];
    const Via via = r.LobbySock == socket  ? Via::Lobby
                    : r.GameSock == socket ? Via::Game
                                           : Via::Stale;
    // A game connection that a later one replaced is no longer linked: what
    // comes on it is nobody's move.
    if (via == Via::Stale) return;
    ServerDispatch(*slot, via, text);
}

void LobbyServer::dropWaiting(SocketHandle socket) {
    const auto gone = waiting_.take(socket);
    if (!gone) return;
    transport_.close(socket);
    emit statusChanged(gone->peerIp + kClosedText.toString(), Report::Traffic);
}

void LobbyServer::connectionClosed(SocketHandle socket) {
    const AtEnd publish{[this] { publishLobby(); }};
    emit msgChanged(kCloseEventText.toString(), Report::Traffic);
    if (waiting_.find(socket)) return dropWaiting(socket);
    const auto slot = userTable_.slotOfSocket(socket);
    if (!slot) return;
    UserRecord& r = userTable_[*slot];
    if (r.LobbySock == socket) {
        CloseUser(*slot);
    } else if (r.GameSock == socket) {
        gameProgramGone(*slot);
    } else {
        // An earlier game connection going away ends nothing.
        transport_.close(socket);
        r.StaleGameSock = 0;
    }
}

void LobbyServer::gameProgramGone(int slot) {
    UserRecord& r = userTable_[slot];
    touchLobby();
    if (r.Playing) endGameOf(slot, GameEndCause::ProgramGone);
    transport_.close(r.GameSock);
    pacer_.forget(r.GameSock);
    r.GameSock = 0;
    closeStaleGameSock(slot);
    emit statusChanged(r.UserID + kGameGoneText.toString(), Report::Event);
    if (r.Watching) {
        ClearWatch(slot);
        r.ChallengeRefused = false;  // his next GMOK answers this notice
        send(r.LobbySock, shutDownNotice());
    }
    if (r.Playing && UserTable::isSlotIndex(r.OppIndex)) {
        // The match is over for both: the opponent's game program is sent
        // away too, both clients hear of it, and nobody watches it any more
        // (the two may well play again, and that is another game).
        endWatchesOf(slot, r.OppIndex);
        UserRecord& o = userTable_[r.OppIndex];
        r.Playing = o.Playing = false;
        r.OppName.clear();
        o.OppName.clear();
        if (r.OppGameSock != 0) {
            transport_.close(r.OppGameSock);
            pacer_.forget(r.OppGameSock);
            if (o.GameSock == r.OppGameSock) o.GameSock = 0;
            r.OppGameSock = 0;
        }
        o.OppGameSock = 0;
        closeStaleGameSock(r.OppIndex);
        r.ChallengeRefused = o.ChallengeRefused = false;
        send(r.LobbySock, shutDownNotice());
        send(r.OppLobbySock, shutDownNotice());
    }
}

void LobbyServer::CloseUser(int u) {
    const AtEnd publish{[this] { publishLobby(); }};
    UserRecord& r = userTable_[u];
    touchLobby();
    if (r.Playing) endGameOf(u, GameEndCause::PlayerLeft);
    if (r.Playing && UserTable::isSlotIndex(r.OppIndex)) {
        send(r.OppLobbySock, opponentGoneNotice());
        UserRecord& o = userTable_[r.OppIndex];
        o.Playing = false;
        o.OppName.clear();
        o.OppLobbySock = 0;
        o.OppGameSock = 0;  // this user's game program goes below
        closeStaleGameSock(r.OppIndex);
    }
    transport_.close(r.LobbySock);
    transport_.close(r.GameSock);
    closeStaleGameSock(u);
    const QString peerIp = r.PeerIp;
    ClearWatch(u);
    r = UserRecord{};
    // Nobody goes on watching a game of a user who has left: his slot may
    // soon hold someone else.
    for (int w = UserTable::kFirstSlot; w <= UserTable::kLastSlot; ++w) {
        const UserRecord& watcher = userTable_[w];
        if (watcher.Watching && (watcher.WatchA == u || watcher.WatchB == u)) endWatch(w);
    }
    emit statusChanged(peerIp + kClosedText.toString(), Report::Event);
}

void LobbyServer::ClearWatch(int u) {
    UserRecord& r = userTable_[u];
    if (r.Watching) touchLobby();
    r.Watching = false;
    r.WatchA = r.WatchB = 0;
    r.FirstName.clear();
    r.SecondName.clear();
    r.OppGameSock = 0;
    r.WatchDataSent = false;
    // What was still to go to his program belongs to the watch that ends.
    pacer_.forget(r.GameSock);
}

void LobbyServer::endWatch(int w) {
    ClearWatch(w);
    closeStaleGameSock(w);
}

void LobbyServer::closeStaleGameSock(int u) {
    UserRecord& r = userTable_[u];
    transport_.close(r.StaleGameSock);
    r.StaleGameSock = 0;
}

void LobbyServer::endWatchesOf(int a, int b) {
    for (int w = UserTable::kFirstSlot; w <= UserTable::kLastSlot; ++w) {
        const UserRecord& watcher = userTable_[w];
        if (!watcher.Watching) continue;
        if ((watcher.WatchA == a && watcher.WatchB == b) ||
            (watcher.WatchA == b && watcher.WatchB == a))
            endWatch(w);
    }
}

void LobbyServer::loginSweep() {
    const AtEnd publish{[this] { publishLobby(); }};
    const qint64 now = clock_();
    for (const WaitingConnection& gone : waiting_.takeExpired(now, kLoginGraceMs, kLoginHoldMs)) {
        transport_.close(gone.socket);
        emit statusChanged(gone.peerIp + kClosedText.toString(), Report::Traffic);
    }
    for (int s = UserTable::kFirstSlot; s < UserTable::kRecordCount; ++s) {
        const UserRecord& r = userTable_[s];
        if (r.InUse != r.LoggedIn) CloseUser(s);
    }
    throttle_.forgetOld(now);
}

void LobbyServer::wake() {
    const AtEnd publish{[this] { publishLobby(); }};
    checkHeldLogins();
    for (const AckPacer::Send& due : pacer_.due(clock_()))
        send(due.socket, due.text);
    if (const auto next = pacer_.nextDue()) requestWake(*next);
}

void LobbyServer::requestWake(qint64 atMs) {
    emit wakeRequested(atMs);
}

void LobbyServer::sendPaced(SocketHandle socket, const QString& text) {
    if (socket == 0) return;
    for (const QString& now : pacer_.offer(socket, text, clock_()))
        send(socket, now);
    if (const auto next = pacer_.nextDue()) requestWake(*next);
}

void LobbyServer::pacedAcknowledged(SocketHandle socket) {
    for (const QString& next : pacer_.acknowledged(socket, clock_()))
        send(socket, next);
}

void LobbyServer::minuteTick() {
    ++minuteCount_;
    emit minuteCountChanged(minuteCount_);
    Death();
}

void LobbyServer::Death() {
    const AtEnd publish{[this] { publishLobby(); }};
    for (int s = UserTable::kFirstSlot; s < UserTable::kRecordCount; ++s) {
        const UserRecord& r = userTable_[s];
        if ((r.InUse || r.LoggedIn) && r.LastPoll + 1 < minuteCount_) CloseUser(s);
    }
}

void LobbyServer::ThisExit() {
    const AtEnd publish{[this] { publishLobby(); }};
    touchLobby();
    for (int s = UserTable::kFirstSlot; s <= UserTable::kLastSlot; ++s)
        if (userTable_[s].Playing) endGameOf(s, GameEndCause::PlayerLeft);
    for (const WaitingConnection& w : waiting_.takeAll())
        transport_.close(w.socket);
    for (int s = 0; s < UserTable::kRecordCount; ++s) {
        UserRecord& r = userTable_[s];
        transport_.close(r.LobbySock);
        transport_.close(r.GameSock);
        transport_.close(r.StaleGameSock);
        pacer_.forget(r.GameSock);
        r = UserRecord{};
    }
}

PublicLobby LobbyServer::publicLobby() const {
    PublicLobby view;
    for (int s = UserTable::kFirstSlot; s <= UserTable::kLastSlot; ++s) {
        const UserRecord& r = userTable_[s];
        if (!r.LoggedIn) continue;
        const PublicUser::State state = r.Playing    ? PublicUser::State::Playing
                                        : r.Watching ? PublicUser::State::Watching
                                                     : PublicUser::State::Free;
        view.users.push_back({r.UserID, r.GameKind, state});
        if (!r.Playing || !r.Challenger || r.GameNumber == 0) continue;
        int watchers = 0;
        for (int w = UserTable::kFirstSlot; w <= UserTable::kLastSlot; ++w)
            if (w != s && watchesGameOf(w, s)) ++watchers;
        view.games.push_back({r.GameNumber, r.GameKind, r.UserID, r.OppName, watchers});
    }
    std::sort(view.games.begin(), view.games.end(),
              [](const PublicGame& a, const PublicGame& b) { return a.number < b.number; });
    return view;
}

void LobbyServer::publishLobby() {
    if (!lobbyTouched_) return;
    lobbyTouched_ = false;
    if (!isSignalConnected(QMetaMethod::fromSignal(&LobbyServer::lobbyChanged))) return;
    PublicLobby now = publicLobby();
    if (now == publishedLobby_) return;
    publishedLobby_ = std::move(now);
    emit lobbyChanged(publishedLobby_);
}

void LobbyServer::handOutRelayed(int k, const QString& text) {
    const UserRecord& r = userTable_[k];
    if (r.Playing && r.GameNumber != 0) emit gameRelayed(r.GameNumber, r.UserID, text);
}

void LobbyServer::endGameOf(int k, GameEndCause cause) {
    UserRecord& r = userTable_[k];
    const quint64 number = r.GameNumber;
    if (number == 0) return;
    r.GameNumber = 0;
    if (UserTable::isSlotIndex(r.OppIndex) && userTable_[r.OppIndex].GameNumber == number)
        userTable_[r.OppIndex].GameNumber = 0;
    emit gameEnded(number, cause);
}

}  // namespace lobby
