#pragma once

#include "clienttransport.h"
#include "socketlayer.h"

namespace lobbyclient {

// The program's transport: the lobby client's calls on the socket layer,
// with the client's framing of the lobby messages.
class SocketClientTransport : public ClientTransport {
public:
    SocketClientTransport();
    ~SocketClientTransport() override;

    void setHandler(net::SocketEventHandler handler) override;
    QString StartUp() const override;
    net::ConnectResult ConnectServer(const QString& server) override;
    void SendMsg(net::SocketHandle socket, const QString& text) override;
    net::ReceivedMessage RecvMsg(net::SocketHandle socket) override;
    void closeSocket(net::SocketHandle socket) override;

private:
    net::SocketLayer sockets_;
};

}  // namespace lobbyclient
