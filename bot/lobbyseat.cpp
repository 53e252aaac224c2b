#include "lobbyseat.h"

#include <QTimer>

#include "lobbyclassify.h"
#include "lobbyframing.h"
#include "lobbymessages.h"
#include "lobbynumbers.h"
#include "socketerrortext.h"

namespace bot {

LobbySeat::LobbySeat(const BotOptions& options, QObject* parent)
    : QObject(parent),
      options_(options),
      sockets_(lobby::lobbyClientFraming()),
      pollTimer_(new QTimer(this)) {
    sockets_.setHandler(
        [this](net::SocketHandle s, int event, int error) { onSocketEvent(s, event, error); });
    connect(pollTimer_, &QTimer::timeout, this, &LobbySeat::poll);
}

LobbySeat::~LobbySeat() {
    // The last word of a lobby client that goes, as the client says it.
    if (loggedIn_) send(lobby::logoutRequest(options_.id));
    sockets_.closeAll();
}

void LobbySeat::start() {
    const net::ConnectResult result = sockets_.ConnectServer(options_.server);
    if (!result.errorText.isEmpty() || result.socket == 0) {
        // Reported from the event loop, like every other outcome.
        QTimer::singleShot(0, this, [this, why = result.errorText] { end(false, why); });
        return;
    }
    socket_ = result.socket;
}

void LobbySeat::challenge(int index) {
    send(lobby::challengeRequest(options_.id, options_.password, index));
}

void LobbySeat::sendChat(const QString& text) {
    send(lobby::chatMessage(options_.id, text));
}

void LobbySeat::send(const QString& text) {
    if (socket_ != 0) sockets_.SendMsg(socket_, text);
}

void LobbySeat::poll() {
    send(lobby::userListRequest(options_.id, options_.password, ownIndex_));
}

void LobbySeat::onSocketEvent(net::SocketHandle socket, int event, int error) {
    if (socket != socket_ || socket_ == 0) return;
    switch (event) {
        case net::FD_CONNECT:
            if (error != 0) return end(false, net::SocketErrorText(error));
            send(lobby::loginRequest(options_.id, options_.password, options_.mail,
                                     static_cast<int>(options_.game)));
            break;
        case net::FD_READ:
            dispatch(sockets_.RecvMsg(socket_).text);
            break;
        case net::FD_CLOSE:
            end(loggedIn_, loggedIn_ ? QStringLiteral("the server closed the connection")
                                     : QStringLiteral("the server closed the connection without "
                                                      "a login (wrong ID, password or mail?)"));
            break;
        default:
            break;
    }
}

void LobbySeat::end(bool wasLoggedIn, const QString& why) {
    pollTimer_->stop();
    sockets_.closeSocket(socket_);
    socket_ = 0;
    loggedIn_ = false;
    if (wasLoggedIn) {
        emit lost(why);
    } else {
        emit refused(why);
    }
}

void LobbySeat::dispatch(const QString& text) {
    using lobby::ClientReply;
    const QStringList fields = lobby::splitFields(text);
    const auto field = [&](int n) { return n < fields.size() ? fields[n] : QString(); };
    switch (lobby::classifyClientMessage(text)) {
        case ClientReply::Login: {
            const auto reply = lobby::parseLoginReply(text);
            if (!reply || loggedIn_) return;
            if (!reply->accepted) return end(false, QStringLiteral("the lobby is full"));
            ownIndex_ = reply->index;
            loggedIn_ = true;
            pollTimer_->start(kPollMs);
            emit loggedIn(ownIndex_);
            return;
        }
        case ClientReply::NoLogin:
            return end(false, QStringLiteral("this user is logged in already"));
        case ClientReply::AddFriends:
            if (const auto users = lobby::parseUserList(text)) emit usersListed(*users);
            return;
        case ClientReply::GameMsg:
            return onGameMsg(fields);
        case ClientReply::GameSetOk:
            emit opponentProgramUp(field(1));
            return;
        case ClientReply::HisNone:
            emit matchOver(QStringLiteral("the opponent has left the lobby"));
            return;
        case ClientReply::LogOut:
        case ClientReply::GameEnd:
            emit matchOver(QStringLiteral("the opponent has left"));
            return;
        case ClientReply::Dead:
            return end(true, QStringLiteral("the server ended the login"));
        case ClientReply::Gmok:
        case ClientReply::Unknown:
            return;
    }
}

void LobbySeat::onGameMsg(const QStringList& fields) {
    const QString line = fields.value(1);
    if (line == u"NotStart") return;
    if (line == lobby::kAlreadyPlayingText || line == lobby::kOpponentLoggedOutText ||
        line == lobby::kOpponentPlayingText) {
        emit challengeRefused(line);
        return;
    }
    // The client's answer to a pairing, a shut-down notice and a chat line.
    send(lobby::chatAck());
    if (line == u"Battle") {
        emit paired(fields.value(2), lobby::lenientNumber(fields.value(3)));
        return;
    }
    if (line == u"ShutDown") {
        emit matchOver(QStringLiteral("a game program has left"));
        return;
    }
    emit chatReceived(line);
}

}  // namespace bot
