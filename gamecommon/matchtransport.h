#pragma once

#include <QString>

#include "socketevents.h"
#include "socketlayer.h"

namespace gamecommon {

// What the match flow needs from the sockets, and nothing more: the flow
// decides, the transport carries. The real one sits on the socket layer; the
// flow's tests put a scripted one in its place that records what is sent and
// hands over what a test says arrived.
//
// The events come as the socket layer gives them: FD_ACCEPT on the listener,
// FD_CONNECT once for a connection being made (error 0 when made), FD_READ
// once per whole message, which RecvMsg then returns, and FD_CLOSE when the
// peer has gone. They are never delivered from inside a call of the flow.
class MatchTransport {
public:
    virtual ~MatchTransport() = default;

    // The one function that hears every event; an empty one hears nothing.
    virtual void setHandler(net::SocketEventHandler handler) = 0;

    // Whether this machine can make sockets at all: the text to show when it
    // cannot, else empty.
    virtual QString StartUp() const = 0;

    // Starts listening for another game program.
    virtual net::ListenResult SetSERVER() = 0;

    // Takes the one peer waiting on `listenSock` and closes the listener.
    virtual net::AcceptResult AcceptPeer(net::SocketHandle listenSock) = 0;

    // Starts a connection to `server`; its outcome arrives as FD_CONNECT.
    virtual net::ConnectResult ConnectServer(const QString& server) = 0;

    // Sends one message on a connected socket.
    virtual void SendMsg(net::SocketHandle socket, const QString& text) = 0;

    // The message of the FD_READ being handled for `socket`.
    virtual net::ReceivedMessage RecvMsg(net::SocketHandle socket) = 0;

    // Closes a socket: what was sent still goes out, nothing more arrives and
    // no further event of it is delivered. 0 and unknown sockets: nothing.
    virtual void closeSocket(net::SocketHandle socket) = 0;
};

}  // namespace gamecommon
