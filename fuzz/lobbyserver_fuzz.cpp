// The lobby server's core driven as the socket layer drives it: sixty-four peers
// connect, send byte streams that each connection's framer cuts into messages,
// fall quiet, close, and reconnect on new sockets; the login sweep and the
// minute tick come between. Besides raw bytes a step may send a real message
// (a login of a user of the file, a poll, a challenge, a watch, a chat, a
// game login, a move), so logins, pairings and watches happen often.
//
// After every step the table must hold together: a slot is logged in exactly
// when it is in use, every link of a slot points at a live slot that links
// back, every socket the table holds is open and held once, the waiting pool
// holds exactly the other open sockets, and whatever the server sent a lobby
// client reaches it as the very messages sent.

#include <QDir>
#include <map>
#include <set>
#include <vector>

#include "fuzzsupport.h"
#include "gameframing.h"
#include "lobbyframing.h"
#include "lobbynumbers.h"
#include "lobbyserver.h"
#include "messageframer.h"
#include "servertransport.h"
#include "textfile.h"
#include "wirecodec.h"

namespace {

using lobby::SocketHandle;
using lobby::UserRecord;
using lobby::UserTable;

constexpr int kPeers = 64;
constexpr int kFileUsers = 56;  // more than the slots, so the lobby can fill up

const char* const kAddresses[] = {"127.0.0.1", "127.0.0.2", "10.0.0.7", "192.168.1.20"};

// The users of the file: a few with IDs that look like keywords or end
// markers, then numbered ones.
QString userId(int n) {
    static const char* const kSpecial[] = {"taro", "hana", "ENDO", "花子", "Dead", "a b"};
    if (n < 6) return QString::fromUtf8(kSpecial[n]);
    return QStringLiteral("u%1").arg(n);
}
QString password(int n) {
    return QStringLiteral("pw%1").arg(n);
}
QString mail(int n) {
    return QStringLiteral("m%1@example.jp").arg(n);
}

// The server's user file, written once into the scratch folder.
void writeUserFile() {
    QStringList lines;
    for (int n = 0; n < kFileUsers; ++n)
        lines << QStringLiteral("%1,%2,%3,%4,").arg(n + 1).arg(userId(n), password(n), mail(n));
    lines << QStringLiteral("99,,nopass,x@y,") << QStringLiteral("100,noid,,x@y,");
    platform::writeTextLines(
        QDir(quorfuzz::scratchFolder()).filePath(QStringLiteral("BrellowLogIn.txt")), lines);
}

class Transport : public lobby::ServerTransport {
public:
    struct Sent {
        SocketHandle socket;
        QString text;
        bool toGame;  // the socket was a game program's when the text went
    };
    std::vector<Sent> sent;  // during the current step
    std::set<SocketHandle> closed;
    const UserTable* table = nullptr;

    void send(SocketHandle socket, const QString& text) override {
        QUORFUZZ_CHECK(socket != 0, "a send to socket 0");
        if (closed.count(socket)) return;
        bool toGame = false;
        for (int s = UserTable::kFirstSlot; s <= UserTable::kLastSlot; ++s) {
            toGame = toGame || (*table)[s].GameSock == socket;
            QUORFUZZ_CHECK((*table)[s].StaleGameSock != socket,
                           "a send to a game connection that a later one replaced");
        }
        sent.push_back({socket, text, toGame});
    }
    void close(SocketHandle socket) override {
        if (socket != 0) closed.insert(socket);
    }
};

struct Peer {
    SocketHandle socket = 0;  // 0: not connected
    std::optional<net::MessageFramer> framer;
};

class Lobby {
public:
    Lobby() : server_(transport_, quorfuzz::scratchFolder(), [this] { return now_; }) {
        transport_.table = &server_.users();
    }

    void run(quorfuzz::Script& script) {
        for (int steps = 0; !script.atEnd() && steps < 400; ++steps) {
            step(script);
            checkTable();
            checkSent();
        }
        server_.ThisExit();
        for (int s = 0; s < UserTable::kRecordCount; ++s)
            QUORFUZZ_CHECK(!server_.users()[s].InUse, "a slot in use after the exit");
    }

private:
    void step(quorfuzz::Script& script) {
        const int what = script.choice(9);
        Peer& peer = peers_[script.choice(kPeers)];
        if (peer.socket != 0 && transport_.closed.count(peer.socket)) peer = Peer{};
        switch (what) {
            case 0:
                if (peer.socket == 0) accept(peer, script.choice(std::size(kAddresses)));
                return;
            case 1:
                if (peer.socket != 0) feed(peer, script.run(4000));
                return;
            case 2:
            case 3:
                if (peer.socket != 0) feed(peer, net::encodeMessage(realMessage(script, peer)));
                return;
            case 4:
                if (peer.socket != 0) deliver(peer, peer.framer->flush());
                return;
            case 5:
                if (peer.socket != 0) peerCloses(peer);
                return;
            case 6:
                now_ += 1000 + script.byte() * 40;
                server_.loginSweep();
                return;
            case 7:
                now_ += 60000;
                server_.minuteTick();
                return;
            default:
                now_ += script.byte() * 10;
                server_.wake();
                return;
        }
    }

    void accept(Peer& peer, int address) {
        peer.socket = ++lastSocket_;
        peer.framer.emplace(lobby::lobbyServerFraming());
        open_.insert(peer.socket);
        server_.acceptConnection(peer.socket, QString::fromLatin1(kAddresses[address]),
                                 static_cast<quint16>(40000 + peer.socket));
    }

    void feed(Peer& peer, const QByteArray& bytes) { deliver(peer, peer.framer->feed(bytes)); }

    // As the socket layer hands messages out: one by one, none after the
    // server closed the connection, and a framer's refusal cuts it off.
    void deliver(Peer& peer, const net::MessageFramer::Result& result) {
        const SocketHandle socket = peer.socket;
        for (const QString& message : result.messages) {
            if (transport_.closed.count(socket)) return;
            server_.receiveMessage(socket, message);
        }
        if (result.refused && !transport_.closed.count(socket)) {
            gone(socket);
            server_.connectionClosed(socket);
        }
    }

    // The peer closes: what the framer holds is its last message, then the
    // close event.
    void peerCloses(Peer& peer) {
        const SocketHandle socket = peer.socket;
        deliver(peer, peer.framer->flush());
        if (!transport_.closed.count(socket)) {
            gone(socket);
            server_.connectionClosed(socket);
        }
        peer = Peer{};
    }

    void gone(SocketHandle socket) { open_.erase(socket); }

    // The user a peer's connection belongs to, if any.
    int slotOf(const Peer& peer) const {
        const auto slot = server_.users().slotOfSocket(peer.socket);
        return slot ? *slot : 0;
    }

    QString realMessage(quorfuzz::Script& script, const Peer& peer) {
        const int slot = slotOf(peer);
        // Mostly the peer's own user (or, before a login, any user of the
        // file); now and then someone else.
        int n = script.choice(kFileUsers + 4);
        if (slot != 0 && script.choice(4) != 0) {
            const QString own = server_.users()[slot].UserID;
            for (int i = 0; i < kFileUsers; ++i)
                if (userId(i) == own) n = i;
        }
        const QString id = userId(n);
        const QString pass = script.choice(8) == 0 ? QStringLiteral("wrong") : password(n);
        const QString index = QString::number(script.choice(56) - 2);
        const QString count = lobby::signedNumber(script.byte() % 4 == 0 ? 1 : script.byte());
        switch (script.choice(16)) {
            case 0:
            case 1:
                return QStringLiteral("SVMSG_LOGIN|%1,%2,%3,%4|END")
                    .arg(id, pass, mail(n), lobby::signedNumber(script.choice(3)));
            case 2:
                return QStringLiteral("GetGameData|%1|%2|%3|END").arg(id, pass, index);
            case 3:
                return QStringLiteral("GameStart|%1|%2|%3|END").arg(id, pass, index);
            case 4:
                return QStringLiteral("WatchMsg|%1|END").arg(index);
            case 5:
                return QStringLiteral("GameMsg|%1>%2| 0|END")
                    .arg(id, QString::fromLatin1(script.run(20)));
            case 6:
                return QStringLiteral("GMOK|受信しました。| 0|END");
            case 7:
                return script.choice(2) ? QStringLiteral("GameEnd|%1|END").arg(id)
                                        : QStringLiteral("LOGOUT");
            case 8:
            case 9:
                return QStringLiteral("GameLogin|%1|%2|%3|END").arg(id, pass, mail(n));
            case 10:
            case 11:
                return shogiMove(count);
            case 12:
                return goMove(count, script.byte());
            case 13:
                return QStringLiteral("SYOUGI_MSG3:SEND_OK");
            case 14:
                return QStringLiteral("SYOUGI_MSG4:") + QString::fromLatin1(script.run(20));
            default:
                return script.choice(2) ? QStringLiteral("SYOUGI_MSG6:よろしく")
                                        : QStringLiteral("SYOUGI_MSG5:あなたの負けです。");
        }
    }

    static QString shogiMove(const QString& number) {
        QStringList board(81, QStringLiteral("0F"));
        board[4] = QStringLiteral("15");
        board[76] = QStringLiteral("05");
        QString hands;
        for (int side = 0; side < 2; ++side)
            for (const char* kind : {"Fu", "Ky", "Ke", "Gi", "Ki", "Hi", "Ka"})
                hands += QString::fromLatin1(kind) + QStringLiteral(", 0,");
        return QStringLiteral("SYOUGI_MSG2:") + board.join(u',') + u':' + hands + number + u':' +
               number + QStringLiteral(":END");
    }

    static QString goMove(const QString& number, int captured) {
        QString points(361, u'2');
        points[180] = u'9';
        return QStringLiteral("SYOUGI_MSG2:") + points + u':' + number + u':' +
               QString::number(captured);
    }

    // The table holds together.
    void checkTable() {
        const UserTable& t = server_.users();
        std::set<SocketHandle> held;
        const auto hold = [&](SocketHandle socket, int slot, const char* as) {
            QUORFUZZ_CHECK(open_.count(socket) && !transport_.closed.count(socket),
                           QStringLiteral("slot %1 holds %2 %3, which is closed")
                               .arg(slot)
                               .arg(QString::fromLatin1(as))
                               .arg(socket));
            QUORFUZZ_CHECK(held.insert(socket).second,
                           QStringLiteral("socket %1 held twice (slot %2)").arg(socket).arg(slot));
        };
        for (const int s : {0, 51, 52}) {
            const UserRecord& r = t[s];
            QUORFUZZ_CHECK(!r.InUse && !r.LoggedIn && r.LobbySock == 0 && r.GameSock == 0,
                           QStringLiteral("slot %1, never given out, is used").arg(s));
        }
        for (int s = UserTable::kFirstSlot; s <= UserTable::kLastSlot; ++s) {
            const UserRecord& r = t[s];
            QUORFUZZ_CHECK(r.InUse == r.LoggedIn, QStringLiteral("slot %1: in use %2, logged in %3")
                                                      .arg(s)
                                                      .arg(r.InUse)
                                                      .arg(r.LoggedIn));
            if (!r.LoggedIn) {
                QUORFUZZ_CHECK(r.LobbySock == 0 && r.GameSock == 0 && r.StaleGameSock == 0 &&
                                   !r.Playing && !r.Watching,
                               QStringLiteral("free slot %1 keeps connections or a match").arg(s));
                continue;
            }
            QUORFUZZ_CHECK(r.LobbySock != 0, QStringLiteral("slot %1 without its client").arg(s));
            QUORFUZZ_CHECK(r.IndexText == lobby::signedNumber(s), "an index text of another slot");
            hold(r.LobbySock, s, "the client");
            if (r.GameSock != 0) hold(r.GameSock, s, "the game program");
            if (r.StaleGameSock != 0) hold(r.StaleGameSock, s, "an earlier game connection");
            QUORFUZZ_CHECK(!(r.Playing && r.Watching),
                           QStringLiteral("slot %1 plays and watches").arg(s));
            if (r.Playing) {
                const int o = r.OppIndex;
                QUORFUZZ_CHECK(UserTable::isSlotIndex(o) && o != s,
                               QStringLiteral("slot %1 plays against %2").arg(s).arg(o));
                const UserRecord& opp = t[o];
                QUORFUZZ_CHECK(
                    opp.LoggedIn && opp.Playing && opp.OppIndex == s,
                    QStringLiteral("slot %1's opponent %2 does not play it").arg(s).arg(o));
                QUORFUZZ_CHECK(
                    r.OppLobbySock == opp.LobbySock && r.OppName == opp.UserID,
                    QStringLiteral("slot %1 links another client than %2's").arg(s).arg(o));
                QUORFUZZ_CHECK(
                    r.OppGameSock == 0 || r.OppGameSock == opp.GameSock,
                    QStringLiteral("slot %1 relays to a program not %2's").arg(s).arg(o));
            } else {
                QUORFUZZ_CHECK(r.OppGameSock == 0,
                               QStringLiteral("slot %1 relays without a match").arg(s));
            }
            if (r.Watching) {
                const int a = r.WatchA;
                const int b = r.WatchB;
                QUORFUZZ_CHECK(UserTable::isSlotIndex(a) && UserTable::isSlotIndex(b),
                               QStringLiteral("slot %1 watches %2 and %3").arg(s).arg(a).arg(b));
                QUORFUZZ_CHECK(a != s && b != s, QStringLiteral("slot %1 watches itself").arg(s));
                QUORFUZZ_CHECK(t[a].LoggedIn && t[a].Playing && t[a].OppIndex == b,
                               QStringLiteral("slot %1 watches a game that is over").arg(s));
            }
        }
        std::size_t waiting = 0;
        for (const SocketHandle socket : open_)
            if (!held.count(socket) && !transport_.closed.count(socket)) ++waiting;
        QUORFUZZ_CHECK(server_.waitingCount() == waiting,
                       QStringLiteral("%1 connections waiting, %2 open and not logged in")
                           .arg(server_.waitingCount())
                           .arg(waiting));
        for (const SocketHandle socket : transport_.closed)
            open_.erase(socket);
    }

    // What went to a lobby client comes out of its framer as the very
    // messages sent, one by one and in order. What went to a game program
    // ends where it ends for the server: followed by the next message, it
    // comes out whole and alone.
    void checkSent() {
        std::map<SocketHandle, QStringList> toClients;
        for (const Transport::Sent& s : transport_.sent) {
            if (!s.toGame) {
                toClients[s.socket] << s.text;
                continue;
            }
            const QString next = QStringLiteral("SYOUGI_MSG3:SEND_OK");
            net::MessageFramer framer(gamecommon::gameProgramFraming());
            QStringList got = framer.feed(net::encodeMessage(s.text + next)).messages;
            got += framer.flush().messages;
            QUORFUZZ_CHECK(
                got == (QStringList{s.text, next}),
                QStringLiteral("a game program reads [%1] for: %2").arg(got.join(u'¦'), s.text));
        }
        transport_.sent.clear();
        for (auto& [socket, texts] : toClients) {
            net::MessageFramer framer(lobby::lobbyClientFraming());
            QStringList got;
            for (const QString& text : texts)
                got += framer.feed(net::encodeMessage(text)).messages;
            got += framer.flush().messages;
            QUORFUZZ_CHECK(got == texts, QStringLiteral("a client reads %1 messages for %2: %3")
                                             .arg(got.size())
                                             .arg(texts.size())
                                             .arg(texts.join(u'¦')));
        }
    }

    Transport transport_;
    qint64 now_ = 100000;
    lobby::LobbyServer server_;
    Peer peers_[kPeers];
    SocketHandle lastSocket_ = 0;
    std::set<SocketHandle> open_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    writeUserFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorfuzz::Script script(data, size);
    Lobby lobby;
    lobby.run(script);
    return 0;
}
