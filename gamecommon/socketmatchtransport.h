#pragma once

#include <QObject>

#include "matchtransport.h"
#include "socketlayer.h"

namespace gamecommon {

// The programs' transport: the match flow's calls on the socket layer, with
// the game programs' framing. A QObject, so that its sockets hang below the
// window that owns it.
class SocketMatchTransport : public QObject, public MatchTransport {
    Q_OBJECT

public:
    explicit SocketMatchTransport(QObject* parent = nullptr);
    ~SocketMatchTransport() override;

    void setHandler(net::SocketEventHandler handler) override;
    QString StartUp() const override;
    net::ListenResult SetSERVER() override;
    net::AcceptResult AcceptPeer(net::SocketHandle listenSock) override;
    net::ConnectResult ConnectServer(const QString& server) override;
    void SendMsg(net::SocketHandle socket, const QString& text) override;
    net::ReceivedMessage RecvMsg(net::SocketHandle socket) override;
    void closeSocket(net::SocketHandle socket) override;

private:
    net::SocketLayer* sockets_;
};

}  // namespace gamecommon
