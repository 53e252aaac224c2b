#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "gameframing.h"
#include "lobbyframing.h"
#include "lobbymessages.h"
#include "socketlayer.h"
#include "userlist.h"

namespace bot::test {

// A user of the lobby played by the test over the wire: a lobby login as the
// lobby client makes it and a game connection as a game program makes it,
// each through the socket layer with its framing, so every message comes out
// whole. The messages each connection receives wait in its inbox until the
// test takes them. Password "pw", mail ID@example.jp.
class WirePlayer {
public:
    using Match = std::function<bool(const QString&)>;

    WirePlayer(QString id, int kind)
        : id_(std::move(id)),
          kind_(kind),
          lobby_(lobby::lobbyClientFraming()),
          game_(gamecommon::gameProgramFraming()) {
        lobby_.setHandler([this](net::SocketHandle s, int event, int) {
            onEvent(lobby_, lobbySocket_, lobbyUp_, lobbyInbox_, s, event);
        });
        game_.setHandler([this](net::SocketHandle s, int event, int) {
            onEvent(game_, gameSocket_, gameUp_, gameInbox_, s, event);
        });
        // Polls every 5 s once logged in, as the lobby client does: the server
        // logs out a user who has not polled for a minute or two.
        keepAlive_.setInterval(5000);
        QObject::connect(&keepAlive_, &QTimer::timeout, [this] {
            if (lobbySocket_ != 0) lobby_.SendMsg(lobbySocket_, pollRequest());
        });
    }

    const QString& id() const { return id_; }
    int index() const { return index_; }

    // Logs in; the own index comes with the answer.
    bool logIn() {
        lobbySocket_ = lobby_.ConnectServer(QStringLiteral("127.0.0.1")).socket;
        if (!QTest::qWaitFor([this] { return lobbyUp_; }, 5000)) return false;
        lobby_.SendMsg(lobbySocket_, lobby::loginRequest(id_, QStringLiteral("pw"), mail(), kind_));
        const auto reply = nextLobby(startsWith(u"LOGIN|"), 5000);
        const auto login = reply ? lobby::parseLoginReply(*reply) : std::nullopt;
        if (!login || !login->accepted) return false;
        index_ = login->index;
        keepAlive_.start();
        return true;
    }

    // Polls the user list until `done` holds for it; the last list.
    std::optional<std::vector<lobby::UserListEntry>> pollUntil(
        const std::function<bool(const std::vector<lobby::UserListEntry>&)>& done, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            // Lists from the regular polls are older than this one.
            lobbyInbox_.removeIf([](const QString& t) { return t.startsWith(u"AddFriends|"); });
            lobby_.SendMsg(lobbySocket_, pollRequest());
            const auto reply = nextLobby(startsWith(u"AddFriends|"), 5000);
            if (!reply) return std::nullopt;
            const auto users = lobby::parseUserList(*reply);
            if (users && done(*users)) return users;
            QTest::qWait(100);  // the next poll, within the deadline
        }
        return std::nullopt;
    }

    // The index of `id` once he is listed (and, with `free`, not playing).
    std::optional<int> waitForUser(const QString& id, bool free, int ms) {
        const auto users =
            pollUntil([&](const auto& list) { return entry(list, id, free) != nullptr; }, ms);
        if (!users) return std::nullopt;
        return entry(*users, id, free)->index;
    }

    // Challenges the user with `index`; true once the pairing is told.
    bool challenge(int index) {
        lobby_.SendMsg(lobbySocket_, lobby::challengeRequest(id_, QStringLiteral("pw"), index));
        return nextLobby(startsWith(u"GameMsg|Battle|"), 5000).has_value();
    }

    // Watches the game of user `index`; the game program then acknowledges
    // every read, as a watching game program does (the server sends a
    // watcher its next message once the last one is acknowledged).
    void watch(int index) {
        watching_ = true;
        lobby_.SendMsg(lobbySocket_, lobby::watchRequest(index));
    }

    // Connects the game program and logs it in.
    bool linkGame() {
        gameSocket_ = game_.ConnectServer(QStringLiteral("127.0.0.1")).socket;
        if (!QTest::qWaitFor([this] { return gameUp_; }, 5000)) return false;
        game_.SendMsg(gameSocket_, lobby::gameLoginRequest(id_, QStringLiteral("pw"), mail()));
        return true;
    }

    void sendGame(const QString& text) { game_.SendMsg(gameSocket_, text); }

    // Closes the game program, as a player does who quits it (it says so
    // first); what it had received and not taken goes with it.
    void closeGame() {
        sendGame(lobby::gameLeaveMessage());
        dropGame();
    }
    // The game program's connection goes without a word: lost.
    void dropGame() {
        game_.closeSocket(gameSocket_);
        gameSocket_ = 0;
        gameUp_ = false;
        gameInbox_.clear();
    }
    bool gameLinked() const { return gameUp_; }

    // The first waiting message that matches, taken out of the inbox; the
    // others stay.
    std::optional<QString> nextGame(const Match& match, int ms) {
        return take(gameInbox_, match, ms);
    }
    std::optional<QString> nextLobby(const Match& match, int ms) {
        return take(lobbyInbox_, match, ms);
    }

    // Every game message received so far, taken or not.
    const QStringList& gameHistory() const { return gameHistory_; }

    static Match startsWith(QStringView prefix) {
        return [p = prefix.toString()](const QString& text) { return text.startsWith(p); };
    }
    // A game message other than an acknowledgement.
    static Match said() {
        return [](const QString& text) {
            return text.startsWith(u"SYOUGI_MSG") && !text.startsWith(u"SYOUGI_MSG3");
        };
    }

private:
    QString mail() const { return id_ + QStringLiteral("@example.jp"); }
    QString pollRequest() const {
        return lobby::userListRequest(id_, QStringLiteral("pw"), index_);
    }

    static const lobby::UserListEntry* entry(const std::vector<lobby::UserListEntry>& list,
                                             const QString& id, bool free) {
        for (const auto& u : list)
            if (u.id == id && (!free || !u.playing)) return &u;
        return nullptr;
    }

    void onEvent(net::SocketLayer& layer, net::SocketHandle& socket, bool& up, QStringList& inbox,
                 net::SocketHandle s, int event) {
        if (s != socket) return;
        if (event == net::FD_CONNECT) up = true;
        if (event == net::FD_CLOSE) {
            up = false;
            layer.closeSocket(socket);
            socket = 0;
        }
        if (event == net::FD_READ) {
            const QString text = layer.RecvMsg(s).text;
            inbox << text;
            if (&inbox == &gameInbox_) {
                gameHistory_ << text;
                if (watching_ && !text.startsWith(u"SYOUGI_MSG3"))
                    layer.SendMsg(s, QStringLiteral("SYOUGI_MSG3:SEND_OK"));
            }
        }
    }

    static std::optional<QString> take(QStringList& inbox, const Match& match, int ms) {
        std::optional<QString> found;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                for (qsizetype i = 0; i < inbox.size(); ++i) {
                    if (!match(inbox[i])) continue;
                    found = inbox.takeAt(i);
                    return true;
                }
                return false;
            },
            ms));
        return found;
    }

    QString id_;
    int kind_;
    int index_ = 0;
    net::SocketLayer lobby_;
    net::SocketLayer game_;
    net::SocketHandle lobbySocket_ = 0;
    net::SocketHandle gameSocket_ = 0;
    bool lobbyUp_ = false;
    bool gameUp_ = false;
    bool watching_ = false;
    QStringList lobbyInbox_;
    QStringList gameInbox_;
    QStringList gameHistory_;
    QTimer keepAlive_;
};

}  // namespace bot::test
