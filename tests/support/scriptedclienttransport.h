#pragma once

#include "clientclock.h"
#include "clienttransport.h"
#include "handclock.h"
#include "lobbyframing.h"
#include "scriptedsockets.h"

namespace testsupport {

// The lobby client's sockets as the test scripts them: the test plays the
// lobby server.
class ScriptedClientTransport : public lobbyclient::ClientTransport, public ScriptedSockets {
public:
    ScriptedClientTransport() : ScriptedSockets(lobby::lobbyClientFraming()) {}

    void setHandler(net::SocketEventHandler handler) override { setHandlerNow(std::move(handler)); }
    QString StartUp() const override { return startUpNow(); }
    net::ConnectResult ConnectServer(const QString& server) override { return connectNow(server); }
    void SendMsg(net::SocketHandle s, const QString& text) override { sendNow(s, text); }
    net::ReceivedMessage RecvMsg(net::SocketHandle s) override { return recvNow(s); }
    void closeSocket(net::SocketHandle s) override { closeNow(s); }
};

// The lobby client's timers on a clock the test moves.
using ClientHandClock = HandClock<lobbyclient::ClientClock, lobbyclient::ClientTimer>;

// What a test gives a lobby window instead of the network. A base of a
// test's fixture, so that both are there before the window and gone after it.
struct ScriptedLobby {
    ScriptedClientTransport peer;
    ClientHandClock clock;
};

}  // namespace testsupport
