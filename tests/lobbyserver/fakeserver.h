#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "lobbyserver.h"
#include "servertransport.h"
#include "shogimove.h"
#include "textfile.h"

namespace lobbytest {

// Stands in for the sockets: keeps what the core sent on each socket, in
// order, and which sockets it closed.
class RecordingTransport : public lobby::ServerTransport {
public:
    std::map<lobby::SocketHandle, QStringList> sent;
    std::set<lobby::SocketHandle> closed;

    void send(lobby::SocketHandle socket, const QString& text) override {
        if (closed.count(socket)) return;  // a closed connection takes nothing
        sent[socket] << text;
    }
    void close(lobby::SocketHandle socket) override {
        if (socket != 0) closed.insert(socket);
    }

    // What `socket` received since the last call, and forget it.
    QStringList take(lobby::SocketHandle socket) {
        QStringList got = sent[socket];
        sent[socket].clear();
        return got;
    }
    void forgetAll() { sent.clear(); }
    bool isClosed(lobby::SocketHandle socket) const { return closed.count(socket) != 0; }
};

// A core with a login file in a temporary folder, a recording transport and
// a clock the test moves by hand. Sockets are numbered by the test.
class ServerFixture {
public:
    QTemporaryDir folder;
    RecordingTransport transport;
    qint64 now = 100000;
    lobby::LobbyServer server{transport, folder.path(), [this] { return now; }};
    QStringList statuses;
    QStringList msgs;
    QStringList invalid;
    QList<qint64> wakes;  // the times the core asked to be woken at

    ServerFixture() {
        QObject::connect(&server, &lobby::LobbyServer::statusChanged,
                         [this](const QString& t) { statuses << t; });
        QObject::connect(&server, &lobby::LobbyServer::msgChanged,
                         [this](const QString& t) { msgs << t; });
        QObject::connect(&server, &lobby::LobbyServer::invalidData,
                         [this](const QString& t) { invalid << t; });
        QObject::connect(&server, &lobby::LobbyServer::wakeRequested,
                         [this](qint64 at) { wakes << at; });
        writeUsers({"1,taro,pw1,taro@example.jp,x", "2,hana,pw2,hana@example.jp,x",
                    "3,jiro,pw3,jiro@example.jp,x", "4,saki,pw4,saki@example.jp,x",
                    "5,ken,pw5,ken@example.jp,x"});
    }

    void writeUsers(const QStringList& lines) {
        platform::writeTextLines(QDir(folder.path()).filePath("BrellowLogIn.txt"), lines);
    }

    // The address the next connections come from.
    QString peerIp = QStringLiteral("127.0.0.1");

    void accept(lobby::SocketHandle socket) { server.acceptConnection(socket, peerIp, 40000); }

    // Accepts `socket` and logs in as `id` (password "pw" + n as in the file);
    // returns the index the server gave, 0 when it refused.
    int login(lobby::SocketHandle socket, const QString& id, const QString& pass,
              const QString& mail, int kind = 0) {
        accept(socket);
        server.receiveMessage(socket, "SVMSG_LOGIN|" + id + "," + pass + "," + mail + "," +
                                          (kind >= 0 ? " " : "") + QString::number(kind) + "|END");
        for (int i = 1; i <= 50; ++i)
            if (server.users()[i].LobbySock == socket && server.users()[i].LoggedIn) return i;
        return 0;
    }
    int loginTaro(lobby::SocketHandle s) { return login(s, "taro", "pw1", "taro@example.jp"); }
    int loginHana(lobby::SocketHandle s) { return login(s, "hana", "pw2", "hana@example.jp"); }
    int loginJiro(lobby::SocketHandle s) { return login(s, "jiro", "pw3", "jiro@example.jp"); }
    int loginSaki(lobby::SocketHandle s) { return login(s, "saki", "pw4", "saki@example.jp"); }

    // A game program connecting on `socket` and logging in for the user.
    void gameLogin(lobby::SocketHandle socket, const QString& id, const QString& pass) {
        accept(socket);
        server.receiveMessage(socket, "GameLogin|" + id + "|" + pass + "|m|END");
    }

    void say(lobby::SocketHandle socket, const QString& text) {
        server.receiveMessage(socket, text);
    }

    // A game program's acknowledgement of what it read.
    void ack(lobby::SocketHandle socket) { say(socket, QStringLiteral("SYOUGI_MSG3:SEND_OK")); }

    // The clock moves on by `ms` and the core does what has come due.
    void later(qint64 ms) {
        now += ms;
        server.wake();
    }
};

}  // namespace lobbytest
