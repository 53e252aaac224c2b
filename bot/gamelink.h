#pragma once

#include <QObject>
#include <QString>

#include "botoptions.h"
#include "socketlayer.h"

namespace bot {

// The bot's game connection, made exactly as a game program makes it: a
// connection of its own to the lobby server, "GameLogin" as its first message,
// which links it to the bot's login, and then game messages. Every message
// received is acknowledged as a game program acknowledges it (all but an
// acknowledgement itself).
class GameLink : public QObject {
    Q_OBJECT

public:
    explicit GameLink(const BotOptions& options, QObject* parent = nullptr);
    ~GameLink() override;

    // Connects and, once connected, logs in.
    void open();
    // Leaves the game: what was sent still goes out.
    void close();
    void send(const QString& text);
    bool isOpen() const { return socket_ != 0; }

signals:
    // Connected, and the game login is on its way.
    void linked();
    void messageReceived(const QString& text);
    // The connection could not be made, or the server closed it.
    void closed(const QString& why);

private:
    void onSocketEvent(net::SocketHandle socket, int event, int error);
    void end(const QString& why);

    BotOptions options_;
    net::SocketLayer sockets_;
    net::SocketHandle socket_ = 0;
};

}  // namespace bot
