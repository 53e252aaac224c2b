#include "gamelink.h"

#include <QTimer>

#include "gameframing.h"
#include "gamemessage.h"
#include "lobbymessages.h"
#include "socketerrortext.h"

namespace bot {

GameLink::GameLink(const BotOptions& options, QObject* parent)
    : QObject(parent), options_(options), sockets_(gamecommon::gameProgramFraming()) {
    sockets_.setHandler(
        [this](net::SocketHandle s, int event, int error) { onSocketEvent(s, event, error); });
}

GameLink::~GameLink() {
    sockets_.closeAll();
}

void GameLink::open() {
    close();
    const net::ConnectResult result = sockets_.ConnectServer(options_.server);
    if (!result.errorText.isEmpty() || result.socket == 0) {
        QTimer::singleShot(0, this, [this, why = result.errorText] { emit closed(why); });
        return;
    }
    socket_ = result.socket;
}

void GameLink::close() {
    sockets_.closeSocket(socket_);
    socket_ = 0;
}

void GameLink::send(const QString& text) {
    if (socket_ != 0) sockets_.SendMsg(socket_, text);
}

void GameLink::onSocketEvent(net::SocketHandle socket, int event, int error) {
    if (socket != socket_ || socket_ == 0) return;
    switch (event) {
        case net::FD_CONNECT:
            if (error != 0) return end(net::SocketErrorText(error));
            send(lobby::gameLoginRequest(options_.id, options_.password, options_.mail));
            emit linked();
            break;
        case net::FD_READ: {
            const QString text = sockets_.RecvMsg(socket_).text;
            if (gamecommon::classifyGameMsg(text) != gamecommon::GameMsgType::Ack)
                send(gamecommon::kAckMsg.toString());
            emit messageReceived(text);
            break;
        }
        case net::FD_CLOSE:
            end(QStringLiteral("the server closed the game connection"));
            break;
        default:
            break;
    }
}

void GameLink::end(const QString& why) {
    close();
    emit closed(why);
}

}  // namespace bot
