// ServerDispatch and its handlers: what the server does with each message.

#include "lobbyclassify.h"
#include "lobbymessages.h"
#include "lobbynumbers.h"
#include "lobbyserver.h"
#include "loginfile.h"
#include "programfolder.h"
#include "servertexts.h"
#include "userlist.h"

namespace lobby {

void LobbyServer::ServerDispatch(int k, Via via, const QString& text) {
    const UserRecord& r = userTable_[k];
    // Each request is taken only from the kind of connection that sends it:
    // lobby requests from a lobby client (those acting for a user once it has
    // logged in), game messages from a linked game program. Anything else on
    // a connection is ignored, so no connection can speak for another.
    const bool lobby = via == Via::Lobby;
    const bool user = lobby && r.LoggedIn;
    switch (classifyServerMessage(text)) {
        case ServerRequest::Login:
            if (lobby && !r.LoggedIn) handleLogin(k, text);
            break;
        case ServerRequest::GetGameData:
            if (lobby) sendUserList(k);
            break;
        case ServerRequest::GameEnd:
        case ServerRequest::Logout:
            if (lobby) CloseUser(k);
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
        case ServerRequest::GameChat:
        case ServerRequest::GameOver:
        case ServerRequest::GameTalk:
            if (!lobby) relayToOpponentGame(k, text);
            break;
        case ServerRequest::Move:
            if (!lobby) handleMove(k, text);
            break;
        case ServerRequest::GameLogin:
            if (lobby && !r.LoggedIn) handleGameLogin(k, text);
            break;
        case ServerRequest::Gmok:
            if (user) handleGmok(k, text);
            break;
        case ServerRequest::Unknown:
            break;
    }
}

void LobbyServer::handleLogin(int k, const QString& text) {
    const auto login = parseLoginRequest(text);
    if (!login) return reportInvalidData();
    if (userTable_.loggedInSlot(login->id, login->pass)) {
        send(userTable_[k].LobbySock, duplicateLoginReply());
        return CloseUser(k);
    }
    const QString path = platform::fileInFolder(loginFolder_, QString::fromLatin1(kLoginFileName));
    switch (checkLoginFile(path, login->id, login->pass, login->mail)) {
        case LoginCheck::InvalidData:
            // The connection stays unlogged; the login sweep closes it.
            return reportInvalidData();
        case LoginCheck::Refused:
            return CloseUser(k);
        case LoginCheck::Allowed:
            break;
    }
    UserRecord& r = userTable_[k];
    emit statusChanged(r.PeerIp + kLoginAllowedText.toString());
    r.Password = login->pass;
    r.UserID = login->id;
    r.GameKind = login->kind;
    r.IndexText = signedNumber(k);
    r.LastPoll = minuteCount_;
    send(r.LobbySock, loginOkReply(k));
    r.LoggedIn = true;
}

void LobbyServer::sendUserList(int k) {
    userTable_[k].LastPoll = minuteCount_;
    std::vector<UserListEntry> list;
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
    // hears why in a line his client logs.
    if (a.Playing) return send(a.LobbySock, challengeRefusal(kAlreadyPlayingText));
    if (b == k || !opp.LoggedIn) return send(a.LobbySock, challengeRefusal(kOpponentLoggedOutText));
    if (opp.Playing) return send(a.LobbySock, challengeRefusal(kOpponentPlayingText));

    a.Playing = opp.Playing = true;
    a.OppLobbySock = opp.LobbySock;
    opp.OppLobbySock = a.LobbySock;
    a.OppName = opp.UserID;
    opp.OppName = a.UserID;
    a.OppIndex = b;
    opp.OppIndex = k;
    a.Side = opp.Side = 0;  // a new game: nobody has made move 1 yet
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
    w.WatchA = p;
    w.WatchB = player.OppIndex;
    w.WatchDataSent = false;
    w.FirstName.clear();
    w.SecondName.clear();
}

void LobbyServer::handleChat(int k, const QString& text) {
    const auto line = lobbyField(text, 1);
    if (!line) return reportInvalidData();
    emit msgChanged(*line);
    const UserRecord& r = userTable_[k];
    if (r.Playing) send(r.OppLobbySock, text);
}

void LobbyServer::handleGmok(int k, const QString& text) {
    const auto ack = lobbyField(text, 1);
    if (!ack) return reportInvalidData();
    emit msgChanged(*ack);
    send(userTable_[k].OppLobbySock, gmokRelay(*ack));
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
    // character beyond code 255 cannot be part of a move.
    QString move;
    move.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() == 0) continue;
        if (c.unicode() > 255) return reportInvalidData();
        move += c;
    }
    UserRecord& r = userTable_[k];
    // The two game programs put the move number in different fields.
    const QStringList parts = move.split(u':');
    int numberField = -1;
    if (r.GameKind == 0) numberField = 3;
    if (r.GameKind == 1) numberField = 2;
    if (numberField >= 0) {
        if (parts.size() <= numberField) return reportInvalidData();
        if (lenientNumber(parts[numberField]) == 1) {
            r.Side = 1;
            if (r.Playing) userTable_[r.OppIndex].Side = 2;
        }
    }
    if (r.Playing) send(r.OppGameSock, move);

    for (int w = UserTable::kFirstSlot; w <= UserTable::kLastSlot; ++w) {
        if (w == k || !watchesGameOf(w, k)) continue;
        UserRecord& watcher = userTable_[w];
        if (watcher.GameSock == 0) {
            send(watcher.LobbySock, notStartNotice());
            continue;
        }
        // The players' names go to the watcher's game program once, before
        // the first move it receives.
        if (!watcher.WatchDataSent) {
            watcher.WatchDataSent = true;
            if (r.Side == 1) {
                watcher.FirstName = r.UserID;
                watcher.SecondName = r.OppName;
            } else if (r.Side == 2) {
                watcher.FirstName = r.OppName;
                watcher.SecondName = r.UserID;
            }
            send(watcher.GameSock, watchDataMessage(watcher.FirstName, watcher.SecondName));
        }
        send(watcher.GameSock, watchMoveMessage(move));
    }
}

void LobbyServer::handleGameLogin(int k, const QString& text) {
    const auto login = parseGameLoginRequest(text);
    if (!login) return reportInvalidData();
    // No logged-in owner: the connection stays unlogged and the login sweep
    // closes it.
    const auto owner = userTable_.loggedInSlot(login->id, login->pass);
    if (!owner) return;
    const SocketHandle game = userTable_[k].LobbySock;
    UserRecord& i = userTable_[*owner];
    // A user has one game program at a time; an earlier one still connected
    // is sent away rather than left talking for nobody.
    if (i.GameSock != 0) transport_.close(i.GameSock);
    i.GameSock = game;
    userTable_[k] = UserRecord{};  // the slot only carried the connection until now
    if (i.Playing) {
        // Linked both ways: the opponent's program may have linked first (one
        // left open from an earlier game, or a watcher's), and then no later
        // login of his would point this user's moves at it.
        UserRecord& opp = userTable_[i.OppIndex];
        opp.OppGameSock = game;
        i.OppGameSock = opp.GameSock;
        send(i.OppLobbySock, gameSetOkNotice(i.UserID));
    }
}

}  // namespace lobby
