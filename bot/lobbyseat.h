#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "botoptions.h"
#include "socketlayer.h"
#include "userlist.h"

class QTimer;

namespace bot {

// The bot's login to the lobby server, made exactly as the lobby client makes
// it: "SVMSG_LOGIN" once connected, the user-list poll every 5 seconds (also
// the keep-alive), "GMOK" after each pairing, shut-down notice and chat line,
// and "GameEnd" when it goes. What the server says comes out as signals.
class LobbySeat : public QObject {
    Q_OBJECT

public:
    static constexpr int kPollMs = 5000;

    explicit LobbySeat(const BotOptions& options, QObject* parent = nullptr);
    ~LobbySeat() override;

    // Connects and logs in.
    void start();
    // A challenge to the user with this index.
    void challenge(int index);
    // A lobby chat line to the paired opponent.
    void sendChat(const QString& text);

    int ownIndex() const { return ownIndex_; }

signals:
    void loggedIn(int ownIndex);
    // The login did not succeed: no connection, the lobby is full, the user
    // is logged in already, or the server closed the connection (a wrong ID,
    // password or mail address gets no other answer).
    void refused(const QString& why);
    // The connection ended after the login.
    void lost(const QString& why);
    void usersListed(const std::vector<lobby::UserListEntry>& users);
    void paired(const QString& opponentId, int opponentIndex);
    void opponentProgramUp(const QString& opponentId);
    // The match ended on the server's side: a game program left, or the
    // opponent's login ended.
    void matchOver(const QString& why);
    void challengeRefused(const QString& why);
    // The opponent's lobby chat line, "ID>text".
    void chatReceived(const QString& line);

private:
    void onSocketEvent(net::SocketHandle socket, int event, int error);
    void dispatch(const QString& text);
    void onGameMsg(const QStringList& fields);
    void poll();
    void send(const QString& text);
    void end(bool wasLoggedIn, const QString& why);

    BotOptions options_;
    net::SocketLayer sockets_;
    net::SocketHandle socket_ = 0;
    QTimer* pollTimer_;
    int ownIndex_ = 0;
    bool loggedIn_ = false;
};

}  // namespace bot
