#include "serverhost.h"

#include <algorithm>
#include <utility>

#include "lobbyframing.h"
#include "servertexts.h"
#include "socketerrorcode.h"
#include "socketevents.h"

namespace lobby {

ServerHost::ServerHost(QString loginFolder, QObject* parent)
    : QObject(parent),
      sockets_(lobby::lobbyServerFraming()),
      server_(*this, std::move(loginFolder), [this] { return clock_.elapsed(); }) {
    clock_.start();
    sockets_.setHandler([this](net::SocketHandle socket, int event, int error) {
        onSocketEvent(socket, event, error);
    });
    connect(&server_, &LobbyServer::statusChanged, this, &ServerHost::statusChanged);
    connect(&server_, &LobbyServer::msgChanged, this, &ServerHost::msgChanged);
    connect(&server_, &LobbyServer::minuteCountChanged, this, &ServerHost::minuteCountChanged);
    connect(&server_, &LobbyServer::invalidData, this, &ServerHost::invalidData);

    Timer1.setInterval(LobbyServer::kLoginSweepMs);
    Timer2.setInterval(LobbyServer::kMinuteMs);
    connect(&Timer1, &QTimer::timeout, &server_, &LobbyServer::loginSweep);
    connect(&Timer2, &QTimer::timeout, &server_, &LobbyServer::minuteTick);
    wakeTimer_.setSingleShot(true);
    connect(&wakeTimer_, &QTimer::timeout, &server_, &LobbyServer::wake);
    connect(&server_, &LobbyServer::wakeRequested, this, [this](qint64 atMs) {
        const qint64 in = std::max<qint64>(0, atMs - clock_.elapsed());
        if (!wakeTimer_.isActive() || wakeTimer_.remainingTime() > in)
            wakeTimer_.start(static_cast<int>(std::min<qint64>(in, LobbyServer::kMinuteMs)));
    });
}

ServerHost::~ServerHost() {
    // No event may reach the core while the members go.
    sockets_.setHandler({});
}

void ServerHost::start() {
    const QString failure = sockets_.StartUp();
    if (!failure.isEmpty()) reportStatus(Notice::socketText(failure));
    Timer1.start();
    Timer2.start();
}

bool ServerHost::StartListening(bool sayIfRunning) {
    if (ListenSock != 0) {
        if (sayIfRunning) reportMsg(Notice::sentence(kAlreadyListeningText));
        return true;
    }
    const net::ListenResult result = sockets_.SetSERVER();
    emit addressChanged(result.ownAddress);
    if (!result.errorBoxText.isEmpty()) reportError(result.errorBoxText);
    if (result.step == net::ListenResult::Step::SocketFailed)
        reportStatus(Notice::socketText(result.stateText));
    else
        reportMsg(Notice::socketText(result.stateText));
    if (!result.ok()) return false;
    ListenSock = result.socket;
    return true;
}

quint16 ServerHost::listeningPort() const {
    return sockets_.listeningPort(ListenSock);
}

void ServerHost::ThisExit() {
    Timer1.stop();
    Timer2.stop();
    wakeTimer_.stop();
    sockets_.closeSocket(ListenSock);
    ListenSock = 0;
    server_.ThisExit();
}

void ServerHost::send(SocketHandle socket, const QString& text) {
    sockets_.SendMsg(socket, text);
}

void ServerHost::close(SocketHandle socket) {
    sockets_.closeSocket(socket);
}

void ServerHost::onSocketEvent(net::SocketHandle socket, int event, int /*error*/) {
    switch (event) {
        case net::FD_ACCEPT:
            if (socket == ListenSock) acceptConnection();
            break;
        case net::FD_READ: {
            const net::ReceivedMessage message = sockets_.RecvMsg(socket);
            if (message.byteCount >= 0) server_.receiveMessage(socket, message.text);
            break;
        }
        case net::FD_CLOSE:
            server_.connectionClosed(socket);
            // Whatever the core made of it, the connection is over.
            sockets_.closeSocket(socket);
            break;
        default:
            break;  // the server makes no connections of its own
    }
}

void ServerHost::acceptConnection() {
    const net::AcceptResult accepted = sockets_.accept(ListenSock);
    if (accepted.socket == 0) {
        // Nothing waiting is no failure; anything else ends the listening
        // until it is started again.
        if (accepted.error == net::wsa::kWouldBlock) return;
        sockets_.closeSocket(ListenSock);
        ListenSock = 0;
        reportError(accepted.errorText);
        return;
    }
    server_.acceptConnection(accepted.socket, sockets_.peerAddress(accepted.socket),
                             sockets_.peerPort(accepted.socket));
}

// What the host says of itself is an event for the log.
void ServerHost::reportStatus(const Notice& notice) {
    emit statusChanged(notice.text(), Report::Event, notice);
}

void ServerHost::reportMsg(const Notice& notice) {
    emit msgChanged(notice.text(), Report::Event, notice);
}

void ServerHost::reportError(const QString& socketText) {
    emit errorBox(socketText, Notice::socketText(socketText));
}

}  // namespace lobby
