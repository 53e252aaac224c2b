// ServerDispatch and its handlers: what the server does with each message.

#include <algorithm>
#include <optional>
#include <utility>

#include "gamekeywords.h"
#include "lobbyclassify.h"
#include "lobbymessages.h"
#include "lobbynumbers.h"
#include "lobbyserver.h"
#include "servertexts.h"
#include "userlist.h"

namespace lobby {

namespace {

// Field `n` of a game message, split at ":", without splitting the rest;
// nothing when it has fewer fields.
std::optional<QStringView> colonField(QStringView text, int n) {
    qsizetype start = 0;
    for (int field = 0; field < n; ++field) {
        const qsizetype colon = text.indexOf(u':', start);
        if (colon < 0) return std::nullopt;
        start = colon + 1;
    }
    const qsizetype end = text.indexOf(u':', start);
    return text.sliced(start, (end < 0 ? text.size() : end) - start);
}

}  // namespace

// A connection that has not logged in may log in, as a lobby client or as a
// game program, or leave; nothing else it says is heard, the user list
// included, which only a logged-in user gets.
void LobbyServer::waitingDispatch(SocketHandle socket, const QString& text) {
    switch (classifyServerMessage(text)) {
        case ServerRequest::Login:
            return handleLogin(socket, text);
        case ServerRequest::GameLogin:
            return handleGameLogin(socket, text);
        case ServerRequest::GameEnd:
        case ServerRequest::Logout:
            return dropWaiting(socket);
        default:
            return;
    }
}

void LobbyServer::ServerDispatch(int k, Via via, const QString& text) {
    // Each request is taken only from the kind of connection that sends it:
    // lobby requests from a logged-in lobby client, game messages from a
    // linked game program. Anything else on a connection is ignored, so no
    // connection can speak for another.
    const bool user = via == Via::Lobby && userTable_[k].LoggedIn;
    const bool game = via == Via::Game;
    switch (classifyServerMessage(text)) {
        case ServerRequest::Login:
        case ServerRequest::GameLogin:
            break;  // logged in already
        case ServerRequest::GetGameData:
            if (user) sendUserList(k);
            break;
        case ServerRequest::GameEnd:
        case ServerRequest::Logout:
            if (user) CloseUser(k);
            break;
        case ServerRequest::GameStart:
            if (user) handleGameStart(k, text);
            break;
        case ServerRequest::WatchMsg:
            if (user) handleWatch(k, text);
            break;
        case ServerRequest::GameMsg:
            if (user) handleChat(k, text);
            break;
        case ServerRequest::GameAck:
            if (game) {
                // An answer to a line of the server's own is the server's;
                // one to the opponent's message goes on to him.
                const bool ours = pacer_.waitsForAck(userTable_[k].GameSock);
                pacedAcknowledged(userTable_[k].GameSock);
                if (!ours) relayToOpponentGame(k, text);
            }
            break;
        case ServerRequest::GameChat:
            if (game) relayOrStandIn(k, text);
            break;
        case ServerRequest::GameOver:
        case ServerRequest::GameTalk:
            if (game) {
                relayOrStandIn(k, text);
                handOutRelayed(k, text);
                noteGameDecided(k, text);
            }
            break;
        case ServerRequest::GameLeave:
            if (game) gameProgramGone(k, true);
            break;
        case ServerRequest::GameRejoin:
            if (game) sendResume(k);
            break;
        case ServerRequest::Move:
            if (game) handleMove(k, text);
            break;
        case ServerRequest::Gmok:
            if (user) handleGmok(k, text);
            break;
        case ServerRequest::Unknown:
            break;
    }
}

bool LobbyServer::holdLogin(SocketHandle socket, const QString& text) {
    const QString peerIp = waiting_.find(socket)->peerIp;
    const qint64 now = clock_();
    // Logins from one address take their turns in the order they came.
    if (!waiting_.holdsLoginFrom(peerIp) && throttle_.mayCheck(peerIp, now)) return false;
    waiting_.hold(socket, text, now);
    requestWake(throttle_.nextCheckAt(peerIp, now));
    return true;
}

void LobbyServer::checkHeldLogins() {
    const qint64 now = clock_();
    for (const SocketHandle socket : waiting_.holdingInTurn()) {
        WaitingConnection* w = waiting_.find(socket);
        if (!w || !throttle_.mayCheck(w->peerIp, now)) continue;
        const QString login = std::exchange(w->heldLogin, QString());
        if (classifyServerMessage(login) == ServerRequest::GameLogin)
            handleGameLogin(socket, login, true);
        else
            handleLogin(socket, login, true);
    }
    std::optional<qint64> next;
    for (const SocketHandle socket : waiting_.holdingInTurn()) {
        const qint64 at = throttle_.nextCheckAt(waiting_.find(socket)->peerIp, now);
        if (!next || at < *next) next = at;
    }
    if (next) requestWake(*next);
}

void LobbyServer::handleLogin(SocketHandle socket, const QString& text, bool turnTaken) {
    const auto login = parseLoginRequest(text);
    if (!login) return reportInvalidData();
    const QString peerIp = waiting_.find(socket)->peerIp;
    const auto slot = userTable_.freeSlot();
    if (!slot) {
        send(socket, serverFullReply());
        reportStatus(Notice::sentence(kServerFullText, {peerIp}), Report::Traffic);
        return dropWaiting(socket);
    }
    if (!turnTaken && holdLogin(socket, text)) return;
    const qint64 now = clock_();
    const LoginCheck check = userFile_.check(login->id, login->pass, login->mail);
    reportSkippedLines();
    switch (check) {
        case LoginCheck::InvalidData:
            // The connection goes on waiting; the login sweep closes it.
            return reportInvalidData();
        case LoginCheck::Refused:
            // A wrong login gets no answer, whatever was wrong in it.
            if (throttle_.failed(peerIp, now))
                reportStatus(Notice::sentence(kSlowedText, {peerIp}), Report::Event);
            reportStatus(Notice::sentence(kLoginRefusedText, {peerIp, login->id}), Report::Event);
            return dropWaiting(socket);
        case LoginCheck::Allowed:
            break;
    }
    // Only a login that would succeed hears that it is logged in already, so
    // the answer confirms nothing that a guesser does not know.
    if (userTable_.loggedInSlot(login->id, login->pass)) {
        send(socket, duplicateLoginReply());
        reportStatus(Notice::sentence(kDuplicateLoginText, {peerIp, login->id}), Report::Event);
        return dropWaiting(socket);
    }
    const WaitingConnection connection = *waiting_.take(socket);
    const int k = *slot;
    UserRecord& r = userTable_[k];
    r = UserRecord{};
    r.InUse = true;
    r.LobbySock = socket;
    r.PeerIp = connection.peerIp;
    r.PeerPort = connection.peerPort;
    reportStatus(Notice::sentence(kLoginAllowedText, {r.PeerIp}), Report::Event);
    r.Password = login->pass;
    r.UserID = login->id;
    r.GameKind = login->kind;
    r.IndexText = signedNumber(k);
    r.LastPoll = minuteCount_;
    send(r.LobbySock, loginOkReply(k));
    r.LoggedIn = true;
    touchLobby();
}

void LobbyServer::reportSkippedLines() {
    const QList<int> lines = userFile_.takeSkippedLines();
    if (lines.isEmpty()) return;
    // A file of many bad lines is told by its first few.
    constexpr int kShown = 10;
    QStringList numbers;
    for (int i = 0; i < lines.size() && i < kShown; ++i)
        numbers << QString::number(lines[i]);
    QString shown = numbers.join(u',');
    if (lines.size() > kShown) shown += QStringLiteral(",…(%1)").arg(lines.size());
    reportStatus(Notice::sentence(kSkippedLinesText, {shown}), Report::Event);
}

void LobbyServer::sendUserList(int k) {
    userTable_[k].LastPoll = minuteCount_;
    std::vector<UserListEntry> list;
    list.reserve(UserTable::kLastSlot);
    for (int i = UserTable::kFirstSlot; i <= UserTable::kLastSlot; ++i) {
        const UserRecord& u = userTable_[i];
        if (u.LoggedIn) list.push_back({u.UserID, u.GameKind, i, u.Playing, u.Watching});
    }
    send(userTable_[k].LobbySock, userListReply(list));
}

void LobbyServer::handleGameStart(int k, const QString& text) {
    const auto target = lobbyField(text, 3);
    if (!target) return reportInvalidData();
    const int b = lenientNumber(*target);
    if (!UserTable::isSlotIndex(b)) return reportInvalidData();
    UserRecord& a = userTable_[k];
    UserRecord& opp = userTable_[b];
    // A refused challenge pairs nobody and tells nobody else; the challenger
    // hears why in a line his client logs. A client that marked itself in a
    // match when it challenged answers that line with "GMOK", as it answers
    // any, and the "ShutDown" that answer brings takes the mark off; sent
    // only after the answer, it never lands in the line's read.
    if (a.Playing) return send(a.LobbySock, challengeRefusal(kAlreadyPlayingText));
    QStringView refusal;
    if (b == k || !opp.LoggedIn)
        refusal = kOpponentLoggedOutText;
    else if (opp.Playing)
        refusal = kOpponentPlayingText;
    if (!refusal.isEmpty()) {
        a.ChallengeRefused = true;
        return send(a.LobbySock, challengeRefusal(refusal));
    }

    a.Playing = opp.Playing = true;
    a.ChallengeRefused = opp.ChallengeRefused = false;
    a.OppLobbySock = opp.LobbySock;
    opp.OppLobbySock = a.LobbySock;
    a.OppName = opp.UserID;
    opp.OppName = a.UserID;
    a.OppIndex = b;
    opp.OppIndex = k;
    a.Side = opp.Side = 0;  // a new game: nobody has made move 1 yet
    a.Challenger = true;
    opp.Challenger = false;
    a.GameNumber = opp.GameNumber = ++lastGameNumber_;
    for (UserRecord* p : {&a, &opp}) {
        p->RejoinBy = 0;
        p->GameDecided = false;
        p->LastMove.clear();
        p->LastMover = 0;
        p->ResumedSock = 0;
    }
    touchLobby();
    emit gameBegan(a.GameNumber, a.GameKind, a.UserID, opp.UserID);
    reportStatus(Notice::sentence(kPairedText, {a.UserID, opp.UserID}), Report::Event);
    send(a.LobbySock, battleNotice(a.OppName, b));
    send(a.OppLobbySock, battleNotice(a.UserID, k));
    // The game programs are linked anew at their "GameLogin".
    ClearWatch(k);
    ClearWatch(b);
}

void LobbyServer::handleWatch(int k, const QString& text) {
    const auto target = lobbyField(text, 1);
    if (!target) return reportInvalidData();
    const int p = lenientNumber(*target);
    if (!UserTable::isSlotIndex(p)) return reportInvalidData();
    UserRecord& w = userTable_[k];
    const UserRecord& player = userTable_[p];
    // Only a running game of someone else can be watched, and only by a user
    // who is not playing himself (his game program is busy with his own game).
    if (p == k || w.Playing || !player.LoggedIn || !player.Playing) return;
    w.Watching = true;
    countWatchers();
    touchLobby();
    w.WatchA = p;
    w.WatchB = player.OppIndex;
    w.WatchDataSent = false;
    w.FirstName.clear();
    w.SecondName.clear();
    pacer_.forget(w.GameSock);  // what was still to go belongs to another watch
    sendWatchData(k);
}

void LobbyServer::handleChat(int k, const QString& text) {
    const auto line = lobbyField(text, 1);
    if (!line) return reportInvalidData();
    const UserRecord& r = userTable_[k];
    // Every client sends its chat as its own ID, ">" and the text. Anything
    // else would reach the opponent as a notice of the server's
    // ("ShutDown", "Battle") or as another user's words.
    const bool ownLine = line->startsWith(r.UserID + u'>');
    if (ownLine) reportMsg(Notice::asIs(*line), Report::Traffic);
    const bool sent = ownLine && (!r.Playing || relayToClient(r.OppLobbySock, text));
    if (!sent) reportStatus(Notice::sentence(kForgedChatText, {r.UserID}), Report::Event);
}

void LobbyServer::handleGmok(int k, const QString& text) {
    const auto ack = lobbyField(text, 1);
    if (!ack) return reportInvalidData();
    reportMsg(Notice::asIs(*ack), Report::Traffic);
    UserRecord& r = userTable_[k];
    if (r.OppLobbySock != 0 && !relayToClient(r.OppLobbySock, gmokRelay(*ack)))
        reportStatus(Notice::sentence(kForgedChatText, {r.UserID}), Report::Event);
    if (r.ChallengeRefused && !r.Playing) {
        r.ChallengeRefused = false;
        send(r.LobbySock, shutDownNotice());
    }
}

void LobbyServer::relayToOpponentGame(int k, const QString& text) {
    const UserRecord& r = userTable_[k];
    if (r.Playing) send(r.OppGameSock, text);
}

bool LobbyServer::watchesGameOf(int w, int k) const {
    const UserRecord& watcher = userTable_[w];
    const UserRecord& player = userTable_[k];
    if (!watcher.Watching || !player.Playing) return false;
    const int opp = player.OppIndex;
    return (watcher.WatchA == k && watcher.WatchB == opp) ||
           (watcher.WatchA == opp && watcher.WatchB == k);
}

void LobbyServer::handleMove(int k, const QString& text) {
    // The move goes on rebuilt from its characters: NULs are dropped, and a
    // character beyond code 255 cannot be part of a move. A move without NULs
    // goes on as it came, without a copy: the server relays every move.
    char16_t allBits = 0;
    char16_t lowest = 0xFFFF;
    const char16_t* const chars = QStringView(text).utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        allBits |= chars[i];
        lowest = std::min(lowest, chars[i]);
    }
    if (allBits > 255) return reportInvalidData();
    const bool hasNul = lowest == 0;
    QString move = text;
    if (hasNul) move.remove(QChar(0));
    UserRecord& r = userTable_[k];
    // The two game programs put the move number in different fields.
    int numberField = -1;
    if (r.GameKind == 0) numberField = 3;
    if (r.GameKind == 1) numberField = 2;
    if (numberField >= 0) {
        const std::optional<QStringView> number = colonField(move, numberField);
        if (!number) return reportInvalidData();
        if (lenientNumber(*number) == 1) {
            r.Side = 1;
            if (r.Playing) userTable_[r.OppIndex].Side = 2;
            // Move 1 begins another game of the pairing, still undecided.
            r.GameDecided = false;
            if (r.Playing) userTable_[r.OppIndex].GameDecided = false;
        }
    }
    if (r.Playing) {
        relayOrStandIn(k, move);
        // Kept for a program that comes back (sendResume).
        UserRecord& o = userTable_[r.OppIndex];
        r.LastMove = o.LastMove = move;
        r.LastMover = o.LastMover = k;
    }

    for (int w = UserTable::kFirstSlot; w <= UserTable::kLastSlot && watchers_ > 0; ++w) {
        if (w == k || !watchesGameOf(w, k)) continue;
        UserRecord& watcher = userTable_[w];
        if (watcher.GameSock == 0) {
            send(watcher.LobbySock, notStartNotice());
            continue;
        }
        // The players' names go before the first move the program receives;
        // each message goes in a read of its own (AckPacer).
        sendWatchData(w);
        sendPaced(watcher.GameSock, watchMoveMessage(move));
    }
    handOutRelayed(k, move);
}

void LobbyServer::sendWatchData(int w) {
    UserRecord& watcher = userTable_[w];
    if (watcher.WatchDataSent || watcher.GameSock == 0 || !watchesGameOf(w, watcher.WatchA)) return;
    // Who is first shows at move 1; until then the names wait.
    const UserRecord& a = userTable_[watcher.WatchA];
    if (a.Side == 1) {
        watcher.FirstName = a.UserID;
        watcher.SecondName = a.OppName;
    } else if (a.Side == 2) {
        watcher.FirstName = a.OppName;
        watcher.SecondName = a.UserID;
    } else {
        return;
    }
    watcher.WatchDataSent = true;
    sendPaced(watcher.GameSock, watchDataMessage(watcher.FirstName, watcher.SecondName));
}

void LobbyServer::handleGameLogin(SocketHandle socket, const QString& text, bool turnTaken) {
    const auto login = parseGameLoginRequest(text);
    if (!login) return reportInvalidData();
    // A game login is a password check too, and slowed down alike: a game
    // program sends its login once, so it waits for its turn.
    if (!turnTaken && holdLogin(socket, text)) return;
    const QString peerIp = waiting_.find(socket)->peerIp;
    const qint64 now = clock_();
    // No logged-in owner: the connection goes on waiting and the login sweep
    // closes it.
    const auto owner = userTable_.loggedInSlot(login->id, login->pass);
    if (!owner) {
        if (throttle_.failed(peerIp, now))
            reportStatus(Notice::sentence(kSlowedText, {peerIp}), Report::Event);
        return;
    }
    // The game program takes no slot: it belongs to its user's.
    waiting_.take(socket);
    UserRecord& i = userTable_[*owner];
    // The user's game program logs in anew (a program may connect again each
    // time its window comes to the front): the new connection takes the
    // link. The earlier one is left open but unlinked, for closing it would
    // make such a program close its new one as well; at most one is kept,
    // until the game ends or the user leaves.
    if (i.GameSock != 0) {
        closeStaleGameSock(*owner);
        pacer_.forget(i.GameSock);
        i.StaleGameSock = i.GameSock;
        i.WatchDataSent = false;  // the names go to the new connection too
    }
    i.GameSock = socket;
    reportStatus(Notice::sentence(kGameLinkedText, {i.UserID}), Report::Event);
    if (i.Playing) {
        // Linked both ways: the opponent's program may have linked first (one
        // left open from an earlier game, or a watcher's), and then no later
        // login of his would point this user's moves at it.
        UserRecord& opp = userTable_[i.OppIndex];
        opp.OppGameSock = socket;
        i.OppGameSock = opp.GameSock;
        send(i.OppLobbySock, gameSetOkNotice(i.UserID));
        if (i.RejoinBy != 0) {
            // Back within the wait: the game goes on where it was.
            i.RejoinBy = 0;
            reportStatus(Notice::sentence(kGameBackText, {i.UserID}), Report::Event);
            sendPaced(opp.GameSock, serverChatLine(kOpponentBackText));
            sendResume(*owner);
        }
    }
    // A watcher's program hears who plays as soon as that is known, so that
    // no move has to follow its names in the same breath.
    if (i.Watching) sendWatchData(*owner);
}

}  // namespace lobby
