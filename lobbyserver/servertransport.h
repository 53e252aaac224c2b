#pragma once

#include <QString>

#include "usertable.h"

namespace lobby {

// What the server core needs from the sockets, and nothing more: the core
// decides, the transport carries. The real one sits on the socket layer; the
// core's tests put a recording one in its place.
class ServerTransport {
public:
    virtual ~ServerTransport() = default;

    // Sends one message on `socket`. A send to 0 or to a connection that is
    // gone is lost without notice, as the protocol allows.
    virtual void send(SocketHandle socket, const QString& text) = 0;

    // Ends the connection: what was sent on it before still goes out, then
    // the socket is shut down both ways and closed. No close event follows for
    // a socket the server closed itself. 0 or an unknown socket: nothing.
    virtual void close(SocketHandle socket) = 0;
};

}  // namespace lobby
