#pragma once

#include <QString>

#include "socketevents.h"
#include "socketlayer.h"

namespace lobbyclient {

// What the lobby client needs from the sockets, and nothing more: one
// connection to the lobby server at a time. The client decides, the
// transport carries. The real one sits on the socket layer; the client's
// tests put a scripted one in its place that records what is sent and hands
// over what a test says arrived.
//
// The events come as the socket layer gives them: FD_CONNECT once for the
// connection being made (error 0 when made), FD_READ once per whole message,
// which RecvMsg then returns, and FD_CLOSE when the server has gone. They are
// never delivered from inside a call of the client.
class ClientTransport {
public:
    virtual ~ClientTransport() = default;

    // The one function that hears every event; an empty one hears nothing.
    virtual void setHandler(net::SocketEventHandler handler) = 0;

    // Whether this machine can make sockets at all: the text to show when it
    // cannot, else empty.
    virtual QString StartUp() const = 0;

    // Starts a connection to `server`; its outcome arrives as FD_CONNECT.
    virtual net::ConnectResult ConnectServer(const QString& server) = 0;

    // Sends one message on a connected socket.
    virtual void SendMsg(net::SocketHandle socket, const QString& text) = 0;

    // The message of the FD_READ being handled for `socket`; a byte count of
    // -1 when there was nothing to read.
    virtual net::ReceivedMessage RecvMsg(net::SocketHandle socket) = 0;

    // Closes a socket: what was sent still goes out, nothing more arrives and
    // no further event of it is delivered. 0 and unknown sockets: nothing.
    virtual void closeSocket(net::SocketHandle socket) = 0;
};

}  // namespace lobbyclient
