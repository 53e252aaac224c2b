#include "socketmatchtransport.h"

#include "gameframing.h"

namespace gamecommon {

SocketMatchTransport::SocketMatchTransport(QObject* parent)
    : QObject(parent), sockets_(new net::SocketLayer(gameProgramFraming(), this)) {}

SocketMatchTransport::~SocketMatchTransport() {
    // No event may reach a handler while the sockets go.
    sockets_->setHandler({});
}

void SocketMatchTransport::setHandler(net::SocketEventHandler handler) {
    sockets_->setHandler(std::move(handler));
}

QString SocketMatchTransport::StartUp() const {
    return sockets_->StartUp();
}

net::ListenResult SocketMatchTransport::SetSERVER() {
    return sockets_->SetSERVER();
}

net::AcceptResult SocketMatchTransport::AcceptPeer(net::SocketHandle listenSock) {
    return sockets_->AcceptPeer(listenSock);
}

net::ConnectResult SocketMatchTransport::ConnectServer(const QString& server) {
    return sockets_->ConnectServer(server);
}

void SocketMatchTransport::SendMsg(net::SocketHandle socket, const QString& text) {
    sockets_->SendMsg(socket, text);
}

net::ReceivedMessage SocketMatchTransport::RecvMsg(net::SocketHandle socket) {
    return sockets_->RecvMsg(socket);
}

void SocketMatchTransport::closeSocket(net::SocketHandle socket) {
    sockets_->closeSocket(socket);
}

}  // namespace gamecommon
