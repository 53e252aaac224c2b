#pragma once

#include "flowclock.h"
#include "gameframing.h"
#include "handclock.h"
#include "matchtransport.h"
#include "scriptedsockets.h"

namespace testsupport {

// A game program's sockets as the test scripts them.
class ScriptedMatchTransport : public gamecommon::MatchTransport, public ScriptedSockets {
public:
    ScriptedMatchTransport() : ScriptedSockets(gamecommon::gameProgramFraming()) {}

    void setHandler(net::SocketEventHandler handler) override { setHandlerNow(std::move(handler)); }
    QString StartUp() const override { return startUpNow(); }
    net::ListenResult SetSERVER() override { return listenNow(); }
    net::AcceptResult AcceptPeer(net::SocketHandle listenSock) override {
        return acceptNow(listenSock);
    }
    net::ConnectResult ConnectServer(const QString& server) override { return connectNow(server); }
    void SendMsg(net::SocketHandle s, const QString& text) override { sendNow(s, text); }
    net::ReceivedMessage RecvMsg(net::SocketHandle s) override { return recvNow(s); }
    void closeSocket(net::SocketHandle s) override { closeNow(s); }
};

// A game program's timers on a clock the test moves.
using FlowHandClock = HandClock<gamecommon::FlowClock, gamecommon::FlowTimer>;

// What a test gives a game window instead of the network: the other end of
// its connections and its clock. A base of a test's driver, so that both are
// there before the window and gone after it.
struct ScriptedNetwork {
    ScriptedMatchTransport peer;
    FlowHandClock clock;
};

}  // namespace testsupport
