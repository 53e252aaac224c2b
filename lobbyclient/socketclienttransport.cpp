#include "socketclienttransport.h"

#include "lobbyframing.h"

namespace lobbyclient {

SocketClientTransport::SocketClientTransport() : sockets_(lobby::lobbyClientFraming()) {}

SocketClientTransport::~SocketClientTransport() {
    // No event may reach a handler while the sockets go.
    sockets_.setHandler({});
}

void SocketClientTransport::setHandler(net::SocketEventHandler handler) {
    sockets_.setHandler(std::move(handler));
}

QString SocketClientTransport::StartUp() const {
    return sockets_.StartUp();
}

net::ConnectResult SocketClientTransport::ConnectServer(const QString& server) {
    return sockets_.ConnectServer(server);
}

void SocketClientTransport::SendMsg(net::SocketHandle socket, const QString& text) {
    sockets_.SendMsg(socket, text);
}

net::ReceivedMessage SocketClientTransport::RecvMsg(net::SocketHandle socket) {
    return sockets_.RecvMsg(socket);
}

void SocketClientTransport::closeSocket(net::SocketHandle socket) {
    sockets_.closeSocket(socket);
}

}  // namespace lobbyclient
