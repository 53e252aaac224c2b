#include "lobbyserver.h"

#include <QMetaMethod>
#include <algorithm>
#include <optional>
#include <utility>

#include "gamekeywords.h"
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

void LobbyServer::reportStatus(const Notice& notice, Report kind) {
    emit statusChanged(notice.text(), kind, notice);
}

void LobbyServer::reportMsg(const Notice& notice, Report kind) {
    emit msgChanged(notice.text(), kind, notice);
}

void LobbyServer::reportInvalidData() {
    const Notice notice = Notice::sentence(kInvalidDataText);
    emit invalidData(notice.text(), notice);
}

void LobbyServer::acceptConnection(SocketHandle socket, const QString& peerIp, quint16 peerPort) {
    reportMsg(Notice::sentence(kConnectedText, {peerIp, QString::number(peerPort)}),
              Report::Traffic);
    const auto pushedOut = waiting_.admit({socket, peerIp, peerPort, clock_(), {}, 0});
    if (pushedOut) {
        transport_.close(pushedOut->socket);
        reportStatus(Notice::sentence(kClosedText, {pushedOut->peerIp}), Report::Traffic);
    }
}

void LobbyServer::receiveMessage(SocketHandle socket, const QString& text) {
    const AtEnd publish{[this] { publishLobby(); }};
    if (messageReports_) reportStatus(Notice::asIs(maskPasswords(text)), Report::Traffic);
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
    reportStatus(Notice::sentence(kClosedText, {gone->peerIp}), Report::Traffic);
}

void LobbyServer::connectionClosed(SocketHandle socket) {
    const AtEnd publish{[this] { publishLobby(); }};
    reportMsg(Notice::asIs(kCloseEventText.toString()), Report::Traffic);
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

void LobbyServer::gameProgramGone(int slot, bool onPurpose) {
    UserRecord& r = userTable_[slot];
    // A game still being played waits for a program whose connection was
    // lost; one its players have ended, or a program that said it leaves,
    // ends the match at once.
    const bool waits = !onPurpose && rejoinWaitMs_ > 0 && r.Playing && !r.GameDecided &&
                       r.RejoinBy == 0 && UserTable::isSlotIndex(r.OppIndex);
    if (!waits) return endMatchOfGone(slot);
    touchLobby();
    transport_.close(r.GameSock);
    pacer_.forget(r.GameSock);
    r.GameSock = 0;
    r.ResumedSock = 0;
    closeStaleGameSock(slot);
    UserRecord& o = userTable_[r.OppIndex];
    o.OppGameSock = 0;
    r.RejoinBy = clock_() + rejoinWaitMs_;
    requestWake(r.RejoinBy);
    reportStatus(Notice::sentence(kGameWaitsText, {r.UserID}), Report::Event);
    sendPaced(o.GameSock, serverChatLine(kOpponentLostText));
    // His client hears of the pairing again, as at its start: its start
    // button starts a program anew when the old one is gone for good.
    send(r.LobbySock, battleNotice(r.OppName, r.OppIndex));
}

void LobbyServer::endMatchOfGone(int slot) {
    UserRecord& r = userTable_[slot];
    touchLobby();
    if (r.Playing) endGameOf(slot, GameEndCause::ProgramGone);
    transport_.close(r.GameSock);
    pacer_.forget(r.GameSock);
    r.GameSock = 0;
    r.RejoinBy = 0;
    r.ResumedSock = 0;
    closeStaleGameSock(slot);
    reportStatus(Notice::sentence(kGameGoneText, {r.UserID}), Report::Event);
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
            sendAway(r.OppGameSock);
            if (o.GameSock == r.OppGameSock) o.GameSock = 0;
            r.OppGameSock = 0;
        }
        o.OppGameSock = 0;
        o.RejoinBy = 0;
        o.ResumedSock = 0;
        closeStaleGameSock(r.OppIndex);
        r.ChallengeRefused = o.ChallengeRefused = false;
        send(r.LobbySock, shutDownNotice());
        send(r.OppLobbySock, shutDownNotice());
    }
}

void LobbyServer::sendAway(SocketHandle socket) {
    if (socket == 0) return;
    if (!pacer_.waitsForAck(socket)) send(socket, gameLeaveMessage());
    pacer_.forget(socket);
    transport_.close(socket);
}

void LobbyServer::relayOrStandIn(int k, const QString& text) {
    const UserRecord& r = userTable_[k];
    if (!r.Playing) return;
    if (r.OppGameSock != 0) return send(r.OppGameSock, text);
    // The opponent's program is away and awaited: it gets the last move
    // when it is back, and the sender hears now that his message arrived.
    // (Not paced: nothing answers an acknowledgement.)
    if (UserTable::isSlotIndex(r.OppIndex) && userTable_[r.OppIndex].RejoinBy != 0)
        send(r.GameSock, gamecommon::kAckMsg.toString());
}

void LobbyServer::checkRejoinWaits() {
    const qint64 now = clock_();
    std::optional<qint64> next;
    for (int s = UserTable::kFirstSlot; s <= UserTable::kLastSlot; ++s) {
        const qint64 by = userTable_[s].RejoinBy;
        if (by == 0) continue;
        if (by <= now)
            endMatchOfGone(s);
        else if (!next || by < *next)
            next = by;
    }
    if (next) requestWake(*next);
}

void LobbyServer::sendResume(int k) {
    UserRecord& r = userTable_[k];
    if (!r.Playing || r.GameSock == 0 || r.ResumedSock == r.GameSock) return;
    r.ResumedSock = r.GameSock;
    if (r.LastMove.isEmpty()) return;
    // The opponent's move as it came; his own in a form no program takes
    // for the opponent's.
    sendPaced(r.GameSock, r.LastMover == k ? ownMoveMessage(r.LastMove) : r.LastMove);
}

void LobbyServer::noteGameDecided(int k, const QString& text) {
    UserRecord& r = userTable_[k];
    if (!r.Playing) return;
    // Any end-of-game message (a king taken, a go resignation), or the
    // shogi resignation line.
    const bool decided = text.startsWith(gamecommon::kEndOfGameKeyword) ||
                         (text.startsWith(gamecommon::kConversationKeyword) &&
                          QStringView(text).sliced(gamecommon::kConversationKeyword.size()) ==
                              u':' + gamecommon::kResignText.toString());
    if (!decided) return;
    r.GameDecided = true;
    if (UserTable::isSlotIndex(r.OppIndex)) userTable_[r.OppIndex].GameDecided = true;
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
        o.RejoinBy = 0;
        o.OppName.clear();
        o.OppLobbySock = 0;
        o.OppGameSock = 0;  // this user's game program goes below
        closeStaleGameSock(r.OppIndex);
    }
    transport_.close(r.LobbySock);
    sendAway(r.GameSock);
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
    reportStatus(Notice::sentence(kClosedText, {peerIp}), Report::Event);
}

void LobbyServer::ClearWatch(int u) {
    UserRecord& r = userTable_[u];
    if (r.Watching) touchLobby();
    r.Watching = false;
    countWatchers();
    r.WatchA = r.WatchB = 0;
    r.FirstName.clear();
    r.SecondName.clear();
    r.OppGameSock = 0;
    r.WatchDataSent = false;
    // What was still to go to his program belongs to the watch that ends.
    pacer_.forget(r.GameSock);
}

void LobbyServer::countWatchers() {
    watchers_ = 0;
    for (int w = UserTable::kFirstSlot; w <= UserTable::kLastSlot; ++w)
        if (userTable_[w].Watching) ++watchers_;
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
        reportStatus(Notice::sentence(kClosedText, {gone.peerIp}), Report::Traffic);
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
    checkRejoinWaits();
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
        sendAway(r.GameSock);
        transport_.close(r.StaleGameSock);
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
