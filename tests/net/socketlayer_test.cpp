#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QDir>
#include <QEventLoop>
#include <QHostAddress>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <memory>

#include "framingsamples.h"
#include "gameframing.h"
#include "lobbyframing.h"
#include "nettestsupport.h"
#include "rawpeer.h"
#include "refusingport.h"
#include "socketerrortext.h"
#include "socketlayer.h"
#include "sockettexts.h"
#include "wirecodec.h"

namespace net {
namespace {

using gamecommon::gameProgramFraming;
using lobby::lobbyClientFraming;
using lobby::lobbyServerFraming;

using test::EventLog;
using test::nothingElseQueued;
using test::PortForTest;
using test::RawPeer;
using test::SeenEvent;
using testsupport::RefusingPort;

constexpr int kWaitMs = 5000;

// A listening game program and the program that connects to it, as in a
// direct match; the listener takes its one peer the way a game program does.
struct DirectMatch {
    PortForTest port;
    SocketLayer listener{gameProgramFraming()};
    SocketLayer connector{gameProgramFraming()};
    EventLog listenerLog{listener};
    EventLog connectorLog{connector};
    SocketHandle ListenSock = 0;
    SocketHandle DataSock = 0;       // the listener's connection
    SocketHandle ConnectorSock = 0;  // the connector's connection
    AcceptResult accepted;

    DirectMatch() {
        listenerLog.react = [this](const SeenEvent& e) {
            if (e.event != FD_ACCEPT) return;
            accepted = listener.AcceptPeer(ListenSock);
            DataSock = accepted.socket;
            ListenSock = 0;
        };
    }

    bool connect() {
        const ListenResult listening = port.listen(listener);
        if (!listening.ok()) return false;
        ListenSock = listening.socket;
        ConnectorSock = connector.ConnectServer(QStringLiteral("127.0.0.1")).socket;
        return QTest::qWaitFor(
            [this] { return DataSock != 0 && connectorLog.count(FD_CONNECT) == 1; }, kWaitMs);
    }
};

TEST(SocketLayerListening, AListenerTakesExactlyOnePeerAndCloses) {
    DirectMatch match;
    const ListenResult listening = match.port.listen(match.listener);
    ASSERT_TRUE(listening.ok()) << listening.errorBoxText.toStdString();
    EXPECT_EQ(listening.stateText, QString::fromUtf8(kWaitingForClientText));
    EXPECT_NE(listening.port, 0);  // the port the system gave for QUOR_PORT=0
    EXPECT_EQ(match.listener.listeningPort(listening.socket), listening.port);
    EXPECT_TRUE(listening.errorBoxText.isEmpty());
    EXPECT_EQ(QHostAddress(listening.ownAddress).protocol(), QAbstractSocket::IPv4Protocol);
    match.ListenSock = listening.socket;

    match.ConnectorSock = match.connector.ConnectServer(QStringLiteral("127.0.0.1")).socket;
    ASSERT_GT(match.ConnectorSock, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return match.DataSock != 0; }, kWaitMs));
    EXPECT_EQ(match.accepted.error, 0);
    EXPECT_FALSE(match.listener.isOpen(listening.socket));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return match.connectorLog.count(FD_CONNECT) == 1; }, kWaitMs));
    EXPECT_EQ(match.connectorLog.first(FD_CONNECT)->error, 0);
    EXPECT_EQ(match.listener.peerAddress(match.DataSock), u"127.0.0.1");
    EXPECT_NE(match.listener.peerPort(match.DataSock), 0);

    // A second program finds nobody listening.
    const SocketHandle late = match.connector.ConnectServer(QStringLiteral("127.0.0.1")).socket;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return match.connectorLog.count(FD_CONNECT, late) == 1; }, kWaitMs));
    EXPECT_EQ(match.connectorLog.first(FD_CONNECT, late)->error, 10061);
    EXPECT_EQ(match.listenerLog.count(FD_ACCEPT), 1);

    // The one connection works both ways, one message per read.
    EXPECT_GT(match.connector.SendMsg(match.ConnectorSock, test::shogiMove(1)), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return match.listenerLog.count(FD_READ) == 1; }, kWaitMs));
    EXPECT_EQ(match.listenerLog.texts(), QStringList({test::shogiMove(1)}));
    EXPECT_EQ(match.listener.SendMsg(match.DataSock, test::kAck), 38);
    ASSERT_TRUE(QTest::qWaitFor([&] { return match.connectorLog.count(FD_READ) == 1; }, kWaitMs));
    EXPECT_EQ(match.connectorLog.texts(), QStringList({test::kAck}));
    EXPECT_EQ(match.connectorLog.first(FD_READ)->byteCount, 38);
}

TEST(SocketLayerListening, ABusyPortGivesTheAddressInUseTextAndNoListener) {
    QTcpServer occupant;
    ASSERT_TRUE(occupant.listen(QHostAddress::AnyIPv4, 0));
    PortForTest port;
    port.use(occupant.serverPort());

    SocketLayer layer(lobbyServerFraming());
    EventLog log(layer);
    const ListenResult result = layer.SetSERVER();
    EXPECT_EQ(result.step, ListenResult::Step::BindFailed);
    EXPECT_EQ(result.socket, 0);
    EXPECT_EQ(result.error, 10048);
    EXPECT_EQ(result.errorBoxText, u"指定されたアドレスは使用中。");
    EXPECT_EQ(result.stateText, u"BINDできません。");
    EXPECT_FALSE(result.ownAddress.isEmpty());
    EXPECT_TRUE(nothingElseQueued(layer, log));
}

TEST(SocketLayerListening, ARestartedServerListensAgainAtOnce) {
    PortForTest port;
    auto server = std::make_unique<SocketLayer>(lobbyServerFraming());
    EventLog serverLog(*server);
    SocketHandle accepted = 0;
    serverLog.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) accepted = server->accept(e.socket).socket;
    };
    const ListenResult first = port.listen(*server);
    ASSERT_TRUE(first.ok());
    // Listening twice on the same port fails like any busy port; the first
    // listener keeps working.
    const ListenResult again = server->SetSERVER();
    EXPECT_EQ(again.error, 10048);
    EXPECT_TRUE(server->isOpen(first.socket));

    SocketLayer client(lobbyClientFraming());
    EventLog clientLog(client);
    SocketHandle sock = client.ConnectServer(QStringLiteral("127.0.0.1")).socket;
    ASSERT_TRUE(QTest::qWaitFor([&] { return accepted != 0; }, kWaitMs));
    // The server closes first, which leaves its side of the connection waiting
    // in the kernel; that must not keep a new server off the port.
    server->closeAll();
    server.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return clientLog.count(FD_CLOSE) == 1; }, kWaitMs));
    client.CloseConnection(sock);

    SocketLayer restarted(lobbyServerFraming());
    const ListenResult second = restarted.SetSERVER();
    EXPECT_TRUE(second.ok()) << second.errorBoxText.toStdString();
}

TEST(SocketLayerSettings, ABadPortSettingIsReportedInsteadOfUsingAnotherPort) {
    const QByteArray saved = qgetenv(kPortVariable);
    const bool wasSet = qEnvironmentVariableIsSet(kPortVariable);
    qputenv(kPortVariable, "80000");
    SocketLayer layer(gameProgramFraming());
    EventLog log(layer);

    const ListenResult listening = layer.SetSERVER();
    EXPECT_FALSE(listening.ok());
    EXPECT_EQ(listening.socket, 0);
    EXPECT_EQ(listening.stateText, u"BINDできません。");
    EXPECT_TRUE(listening.errorBoxText.contains(u"80000"));

    const ConnectResult connecting = layer.ConnectServer(QStringLiteral("127.0.0.1"));
    EXPECT_EQ(connecting.socket, 0);
    EXPECT_TRUE(connecting.errorText.contains(u"QUOR_PORT"));
    EXPECT_TRUE(connecting.errorText.contains(u"1～65535"));
    EXPECT_TRUE(nothingElseQueued(layer, log));

    if (wasSet)
        qputenv(kPortVariable, saved);
    else
        qunsetenv(kPortVariable);
}

TEST(SocketLayerConnecting, NobodyListeningGivesRefusedAndNothingElse) {
    RefusingPort refusing;
    PortForTest port;
    port.use(refusing.port());
    SocketLayer layer(gameProgramFraming());
    EventLog log(layer);
    const ConnectResult result = layer.ConnectServer(QStringLiteral("127.0.0.1"));
    ASSERT_GT(result.socket, 0);
    EXPECT_TRUE(result.errorText.isEmpty());
    // Nothing can be sent before the connection is made.
    EXPECT_EQ(layer.SendMsg(result.socket, test::kAck), -1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.events.empty(); }, kWaitMs));
    ASSERT_TRUE(nothingElseQueued(layer, log));
    EXPECT_EQ(log.events[0].socket, result.socket);
    EXPECT_EQ(log.events[0].event, FD_CONNECT);
    EXPECT_EQ(log.events[0].error, 10061);
    EXPECT_EQ(SocketErrorText(log.events[0].error), u"接続が拒否された。");
    EXPECT_FALSE(layer.isConnected(result.socket));
    EXPECT_EQ(layer.SendMsg(result.socket, test::kAck), -1);
}

TEST(SocketLayerConnecting, AHostNameIsLookedUpWhileTheProgramGoesOn) {
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    EventLog serverLog(server);
    serverLog.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) server.accept(e.socket);
    };
    ASSERT_TRUE(port.listen(server).ok());

    SocketLayer client(lobbyClientFraming());
    EventLog clientLog(client);
    const SocketHandle sock = client.ConnectServer(QStringLiteral("localhost")).socket;
    ASSERT_GT(sock, 0);
    EXPECT_TRUE(clientLog.events.empty());  // the outcome comes later, as an event
    ASSERT_TRUE(QTest::qWaitFor([&] { return clientLog.count(FD_CONNECT) == 1; }, kWaitMs));
    EXPECT_EQ(clientLog.first(FD_CONNECT)->error, 0);
    EXPECT_TRUE(client.isConnected(sock));
}

TEST(SocketLayerConnecting, AnEmptyServerNameFailsLikeAnUnknownHost) {
    RefusingPort refusing;  // a port to name, which nothing could answer on
    PortForTest port;
    port.use(refusing.port());
    SocketLayer layer(lobbyClientFraming());
    EventLog log(layer);
    const SocketHandle sock = layer.ConnectServer(QString()).socket;
    ASSERT_GT(sock, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_CONNECT) == 1; }, kWaitMs));
    EXPECT_NE(log.first(FD_CONNECT)->error, 0);
    EXPECT_TRUE(nothingElseQueued(layer, log));
}

TEST(SocketLayerConnecting, AServerThatAnswersAndClosesAtOnceIsHeardInOrder) {
    // What a full lobby server does with one connection too many.
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    server.setHandler([&](SocketHandle s, int event, int) {
        if (event != FD_ACCEPT) return;
        SocketHandle sock = server.accept(s).socket;
        server.SendMsg(sock, QStringLiteral("LOGIN|No|END"));
        server.CloseConnection(sock);
    });
    ASSERT_TRUE(port.listen(server).ok());

    SocketLayer client(lobbyClientFraming());
    EventLog log(client);
    const SocketHandle sock = client.ConnectServer(QStringLiteral("127.0.0.1")).socket;
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_CLOSE) == 1; }, kWaitMs));
    ASSERT_EQ(log.events.size(), 3u);
    EXPECT_EQ(log.events[0].event, FD_CONNECT);
    EXPECT_EQ(log.events[0].error, 0);
    EXPECT_EQ(log.events[1].event, FD_READ);
    EXPECT_EQ(log.events[1].text, u"LOGIN|No|END");
    EXPECT_EQ(log.events[2].event, FD_CLOSE);
    for (const SeenEvent& e : log.events)
        EXPECT_EQ(e.socket, sock);
}

// A lobby server and one lobby client, connected.
struct LobbyPair {
    PortForTest port;
    SocketLayer server{lobbyServerFraming()};
    SocketLayer client{lobbyClientFraming()};
    EventLog serverLog{server};
    EventLog clientLog{client};
    SocketHandle ListenSock = 0;
    std::vector<SocketHandle> accepted;
    SocketHandle DataSock = 0;  // the client's socket

    LobbyPair() {
        serverLog.react = [this](const SeenEvent& e) { acceptOn(e); };
    }

    void acceptOn(const SeenEvent& e) {
        if (e.event != FD_ACCEPT) return;
        const AcceptResult result = server.accept(e.socket);
        if (result.socket != 0) accepted.push_back(result.socket);
    }

    bool start() {
        const ListenResult listening = port.listen(server);
        if (!listening.ok()) return false;
        ListenSock = listening.socket;
        DataSock = client.ConnectServer(QStringLiteral("127.0.0.1")).socket;
        return QTest::qWaitFor(
            [this] { return accepted.size() == 1 && clientLog.count(FD_CONNECT) == 1; }, kWaitMs);
    }
};

TEST(SocketLayerTransfer, LongMessagesArriveWholeAndDecodeExactly) {
    LobbyPair lobby;
    ASSERT_TRUE(lobby.start());

    QString chat = QStringLiteral("GameMsg|taro>");
    while (chat.size() < 1500 - 7)
        chat += QStringLiteral("王手飛車取り！");
    chat.truncate(1500 - 7);
    chat += QStringLiteral("| 0|END");
    ASSERT_EQ(chat.size(), 1500);
    ASSERT_TRUE(chat.endsWith(u"|END"));
    EXPECT_EQ(lobby.client.SendMsg(lobby.DataSock, chat), 3000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lobby.serverLog.count(FD_READ) == 1; }, kWaitMs));
    const SeenEvent* read = lobby.serverLog.first(FD_READ);
    EXPECT_EQ(read->text, chat);
    EXPECT_EQ(read->byteCount, 3000);
    EXPECT_EQ(read->socket, lobby.accepted[0]);

    // A user list of 50 long IDs passes 2,500 characters and is never cut.
    QString list = QStringLiteral("AddFriends|");
    for (int i = 1; i <= 50; ++i)
        list += QStringLiteral("player_with_a_really_long_user_id_%1,0, %1,False,False,").arg(i);
    list.chop(1);
    list += QStringLiteral("|END");
    ASSERT_GT(list.size(), 2500);
    lobby.server.SendMsg(lobby.accepted[0], list);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lobby.clientLog.count(FD_READ) == 1; }, kWaitMs));
    EXPECT_EQ(lobby.clientLog.texts(), QStringList({list}));
}

TEST(SocketLayerTransfer, MessagesSentBackToBackAreReadOneByOne) {
    DirectMatch match;
    ASSERT_TRUE(match.connect());
    const QString lost = QStringLiteral("SYOUGI_MSG5:あなたの負けです。");
    // What a program sends after a move that takes the king: two writes at once.
    match.connector.SendMsg(match.ConnectorSock, test::shogiMove(41));
    match.connector.SendMsg(match.ConnectorSock, lost);
    ASSERT_TRUE(QTest::qWaitFor([&] { return match.listenerLog.count(FD_READ) == 2; }, kWaitMs));
    EXPECT_EQ(match.listenerLog.texts(), QStringList({test::shogiMove(41), lost}));
}

// An acknowledgement and the answer move go out back to back; the second may
// not wait for the peer's acknowledgement of the first (Nagle's algorithm
// against a delayed ACK: some 40 ms per move). Every connection, taken by a
// listener (a game program takes its peer the same way) or made by a client,
// sends at once.
// Both ends of the connection, the accepted one and the connecting one, are
// found among the process's descriptors by the port they share.
TEST(SocketLayerTransfer, EveryConnectionSendsAtOnce) {
    LobbyPair lobby;
    ASSERT_TRUE(lobby.start());
    int checked = 0;
    for (const QString& name : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files)) {
        const int fd = name.toInt();
        sockaddr_in own{}, peer{};
        socklen_t ownSize = sizeof own, peerSize = sizeof peer;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&own), &ownSize) != 0 ||
            ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0 ||
            own.sin_family != AF_INET)
            continue;
        const quint16 port = lobby.port.port();
        if (ntohs(own.sin_port) != port && ntohs(peer.sin_port) != port) continue;
        int noDelay = 0;
        socklen_t size = sizeof noDelay;
        ASSERT_EQ(::getsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, &size), 0);
        EXPECT_NE(noDelay, 0);
        ++checked;
    }
    EXPECT_EQ(checked, 2);
}

TEST(SocketLayerTransfer, EachConnectionIsFramedOnItsOwn) {
    PortForTest port;
    SocketLayer server(gameProgramFraming());
    EventLog log(server);
    log.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) server.accept(e.socket);
    };
    ASSERT_TRUE(port.listen(server).ok());
    RawPeer first(port.port());
    RawPeer second(port.port());
    ASSERT_TRUE(first.connected() && second.connected());

    const QByteArray a = encodeMessage(test::shogiMove(5));
    const QByteArray b = encodeMessage(QStringLiteral("WatchMsg|") + test::shogiMove(6));
    // Pieces of the two messages arrive in turns, cut inside characters.
    const qsizetype cuts[] = {0, 101, 333, 555, a.size()};
    for (int i = 0; i < 4; ++i) {
        // Apart in time, so that each piece is read on its own.
        ASSERT_TRUE(first.send(QByteArrayView(a).sliced(cuts[i], cuts[i + 1] - cuts[i])));
        QTest::qWait(20);
        ASSERT_TRUE(second.send(QByteArrayView(b).sliced(cuts[i], cuts[i + 1] - cuts[i])));
        QTest::qWait(20);
    }
    ASSERT_TRUE(second.send(QByteArrayView(b).sliced(a.size())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_READ) == 2; }, kWaitMs));
    ASSERT_TRUE(nothingElseQueued(server, log));
    EXPECT_EQ(log.texts(),
              QStringList({test::shogiMove(5), QStringLiteral("WatchMsg|") + test::shogiMove(6)}));
}

// Messages without an end of their own wait a moment for their rest: a piece
// that TCP brings a little later belongs to them, and when nothing more comes
// (or the peer closes) they are handed out as they stand.
TEST(SocketLayerTransfer, AMessageWithoutAnEndWaitsAMomentForItsRest) {
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    EventLog log(server);
    log.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) server.accept(e.socket);
    };
    ASSERT_TRUE(port.listen(server).ok());
    RawPeer peer(port.port());
    ASSERT_TRUE(peer.connected());

    ASSERT_TRUE(peer.send(encodeMessage(u"SYOUGI_MSG4:よろ")));
    QTest::qWait(20);  // the rest comes a little later, as TCP may bring it
    ASSERT_TRUE(peer.send(encodeMessage(u"しく")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_READ) == 1; }, kWaitMs));
    ASSERT_TRUE(peer.send(encodeMessage(u"LOGOUT")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_READ) == 2; }, kWaitMs));
    ASSERT_TRUE(peer.send(encodeMessage(u"SYOUGI_MSG6:bye")));
    peer.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_CLOSE) == 1; }, kWaitMs));
    EXPECT_EQ(log.texts(),
              QStringList({QStringLiteral("SYOUGI_MSG4:よろしく"), QStringLiteral("LOGOUT"),
                           QStringLiteral("SYOUGI_MSG6:bye")}));
    EXPECT_EQ(log.events.back().event, FD_CLOSE);
}

TEST(SocketLayerClosing, ThePeersCloseComesAfterWhatItSent) {
    LobbyPair lobby;
    ASSERT_TRUE(lobby.start());
    const SocketHandle mine = lobby.accepted[0];

    lobby.client.SendMsg(lobby.DataSock, QStringLiteral("GameEnd|taro|END"));
    lobby.client.closeSocket(lobby.DataSock);
    EXPECT_FALSE(lobby.client.isOpen(lobby.DataSock));
    ASSERT_TRUE(QTest::qWaitFor([&] { return lobby.serverLog.count(FD_CLOSE) == 1; }, kWaitMs));
    ASSERT_EQ(lobby.serverLog.events.size(), 3u);  // accept, read, close
    EXPECT_EQ(lobby.serverLog.events[1].text, u"GameEnd|taro|END");
    EXPECT_EQ(lobby.serverLog.events[2].socket, mine);
    EXPECT_EQ(lobby.serverLog.events[2].error, 0);
    EXPECT_EQ(lobby.server.SendMsg(mine, QStringLiteral("HisNone|END")), -1);

    SocketHandle DataSock = mine;
    lobby.server.CloseConnection(DataSock);
    EXPECT_EQ(DataSock, 0);
    EXPECT_FALSE(lobby.server.isOpen(mine));
    // The closing side hears nothing more of its own socket.
    EXPECT_TRUE(nothingElseQueued(lobby.client, lobby.clientLog));
    EXPECT_EQ(lobby.clientLog.count(FD_CLOSE), 0);
}

// Read at the handler's pace, a peer's messages outlive its close: all of
// them come, then FD_CLOSE.
TEST(SocketLayerClosing, EverythingSentBeforeTheCloseComesFirst) {
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    EventLog log(server);
    log.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) server.accept(e.socket);
    };
    ASSERT_TRUE(port.listen(server).ok());
    RawPeer peer(port.port());
    ASSERT_TRUE(peer.connected());
    QByteArray polls;
    for (int i = 0; i < 3000; ++i)
        polls += encodeMessage(QStringLiteral("GetGameData|a|b|%1|END").arg(i));
    ASSERT_TRUE(peer.send(polls));
    peer.close();
    ASSERT_TRUE(test::waitBusy([&] { return log.count(FD_CLOSE) == 1; }, 20000));
    const QStringList texts = log.texts();
    ASSERT_EQ(texts.size(), 3000);
    EXPECT_EQ(texts.last(), u"GetGameData|a|b|2999|END");
    EXPECT_EQ(log.events.back().event, FD_CLOSE);
}

// A server that closes a connection right after replies the kernel could not
// take yet (a peer slow to read) still gets all of them out, then the close.
TEST(SocketLayerClosing, WhatWasSentBeforeTheCloseStillGoesOutWhole) {
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    EventLog log(server);
    SocketHandle mine = 0;
    log.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) mine = server.accept(e.socket).socket;
    };
    ASSERT_TRUE(port.listen(server).ok());
    RawPeer slow(port.port(), 4096);
    ASSERT_TRUE(slow.connected());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mine != 0; }, kWaitMs));

    const QByteArray bulk = encodeMessage(QStringLiteral("AddFriends|") + QString(16 * 1024, u'x') +
                                          QStringLiteral("|END"));
    int sent = 0;
    while (server.unsentBytes(mine) == 0 && sent < 400) {
        ASSERT_GT(server.SendMsg(mine, decodeMessage(bulk)), 0);
        ++sent;
    }
    ASSERT_GT(server.unsentBytes(mine), 0);
    server.closeSocket(mine);

    QByteArray received;
    ASSERT_TRUE(QTest::qWaitFor([&] { return slow.readToEnd(received); }, kWaitMs));
    EXPECT_EQ(received.size(), sent * bulk.size());
    EXPECT_TRUE(received.endsWith(bulk));
}

TEST(SocketLayerClosing, FileExitClosesBothSocketsAndMayRunTwice) {
    DirectMatch match;
    ASSERT_TRUE(match.connect());
    SocketHandle ListenSock = match.listener.SetSERVER().socket;  // listening again
    ASSERT_GT(ListenSock, 0);
    SocketHandle DataSock = match.DataSock;

    match.listener.FileExit(ListenSock, DataSock);
    EXPECT_EQ(ListenSock, 0);
    EXPECT_EQ(DataSock, 0);
    EXPECT_FALSE(match.listener.isOpen(match.DataSock));
    match.listener.FileExit(ListenSock, DataSock);
    ASSERT_TRUE(QTest::qWaitFor([&] { return match.connectorLog.count(FD_CLOSE) == 1; }, kWaitMs));
    EXPECT_EQ(match.connectorLog.first(FD_CLOSE)->error, 0);
}

TEST(SocketLayerLimits, APeerThatNeverReadsIsCutOffAndTheOthersAreStillServed) {
    LobbyPair lobby;
    ASSERT_TRUE(lobby.start());
    const SocketHandle reader = lobby.accepted[0];

    RawPeer stuck(lobby.port.port(), 4096);
    ASSERT_TRUE(stuck.connected());
    ASSERT_TRUE(QTest::qWaitFor([&] { return lobby.accepted.size() == 2; }, kWaitMs));
    const SocketHandle stuckSock = lobby.accepted[1];

    // The working client polls and is answered, as a lobby client is.
    lobby.serverLog.react = [&](const SeenEvent& e) {
        lobby.acceptOn(e);
        if (e.event == FD_READ && e.socket == reader)
            lobby.server.SendMsg(reader, QStringLiteral("AddFriends|END"));
    };

    const QString bulk =
        QStringLiteral("AddFriends|") + QString(16 * 1024, u'x') + QStringLiteral("|END");
    qint64 mostUnsent = 0;
    int polls = 0;
    QTimer pump;
    QObject::connect(&pump, &QTimer::timeout, [&] {
        for (int i = 0; i < 8; ++i) {
            lobby.server.SendMsg(stuckSock, bulk);
            mostUnsent = std::max(mostUnsent, lobby.server.unsentBytes(stuckSock));
        }
        lobby.client.SendMsg(lobby.DataSock, QStringLiteral("GetGameData|taro|pw|1|END"));
        ++polls;
    });
    pump.start(2);
    const bool cut =
        QTest::qWaitFor([&] { return lobby.serverLog.count(FD_CLOSE, stuckSock) == 1; }, 30000);
    pump.stop();
    ASSERT_TRUE(cut);
    EXPECT_EQ(lobby.serverLog.first(FD_CLOSE, stuckSock)->error, 0);
    EXPECT_LE(mostUnsent, SocketLayer::kMaxUnsentBytes);
    EXPECT_GT(mostUnsent, SocketLayer::kMaxUnsentBytes - 2 * 32 * 1024);
    EXPECT_EQ(lobby.server.SendMsg(stuckSock, bulk), -1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stuck.closedByPeer(); }, kWaitMs));

    // The other client went on being served all along, and still is.
    const int answered = lobby.clientLog.count(FD_READ);
    EXPECT_GT(answered, 0);
    lobby.client.SendMsg(lobby.DataSock, QStringLiteral("GetGameData|taro|pw|1|END"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return lobby.clientLog.count(FD_READ) > answered; }, kWaitMs));
    EXPECT_EQ(lobby.serverLog.count(FD_CLOSE, reader), 0);
    EXPECT_GT(polls, 0);
}

TEST(SocketLayerLimits, AMessageThatNeverEndsIsCutOffPast64KiB) {
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    EventLog log(server);
    log.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) server.accept(e.socket);
    };
    ASSERT_TRUE(port.listen(server).ok());
    RawPeer peer(port.port());
    ASSERT_TRUE(peer.connected());

    ASSERT_TRUE(peer.send(encodeMessage(u"GetGameData|a|b|1|END")));
    // Handled before the fault: what still waits when a connection is cut goes with it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_READ) == 1; }, kWaitMs));
    QByteArray endless = encodeMessage(u"GameMsg|taro>");
    endless += encodeMessage(QString(35 * 1024, u'長'));  // 70 KiB and no end
    peer.send(endless);  // may fail part-way once the server has cut it off
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_CLOSE) == 1; }, kWaitMs));
    EXPECT_EQ(log.texts(), QStringList({QStringLiteral("GetGameData|a|b|1|END")}));
    EXPECT_EQ(log.first(FD_CLOSE)->error, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return peer.closedByPeer(); }, kWaitMs));
}

// A peer that sends far more than is handled waits in the kernel, not in a
// queue of ours, and a peer that speaks later takes its turn at once.
TEST(SocketLayerLimits, AFloodWaitsInTheKernelAndTheOthersTakeTurns) {
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    EventLog log(server);
    log.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) server.accept(e.socket);
    };
    ASSERT_TRUE(port.listen(server).ok());
    RawPeer flooder(port.port());
    RawPeer other(port.port());
    ASSERT_TRUE(flooder.connected() && other.connected());

    constexpr int kFlood = 20000;
    QByteArray flood;
    for (int i = 0; i < kFlood; ++i)
        flood += encodeMessage(u"GMOK|ok| 0|END");
    ASSERT_TRUE(flooder.send(flood));
    ASSERT_TRUE(other.send(encodeMessage(u"GetGameData|a|b|1|END")));
    ASSERT_TRUE(
        test::waitBusy([&] { return log.texts().contains(u"GetGameData|a|b|1|END"); }, kWaitMs));
    // Counted where it was handled: the loop goes on handling the flood until
    // the wait looks again.
    EXPECT_LT(log.texts().indexOf(u"GetGameData|a|b|1|END"), kFlood / 10);
    ASSERT_TRUE(test::waitBusy([&] { return log.count(FD_READ) == kFlood + 1; }, 20000));
}

// A connection cut off for not taking what it is sent says nothing more,
// however much it sent before.
TEST(SocketLayerLimits, WhatACutConnectionStillHadWaitingIsDropped) {
    PortForTest port;
    SocketLayer server(lobbyServerFraming());
    EventLog log(server);
    bool cut = false;
    int readsAfterCut = 0;
    log.react = [&](const SeenEvent& e) {
        if (e.event == FD_ACCEPT) server.accept(e.socket);
        if (e.event != FD_READ) return;
        if (cut) ++readsAfterCut;
        QThread::msleep(2);  // a handler slower than the peer, so its messages pile up
        const QString reply =
            QStringLiteral("AddFriends|") + QString(32 * 1024, u'x') + QStringLiteral("|END");
        if (server.SendMsg(e.socket, reply) < 0) cut = true;
    };
    ASSERT_TRUE(port.listen(server).ok());
    RawPeer stuck(port.port(), 4096);
    ASSERT_TRUE(stuck.connected());
    // Few enough to reach the server in one piece, so they all wait at once.
    QByteArray polls;
    for (int i = 0; i < 300; ++i)
        polls += encodeMessage(u"GetGameData|a|b|1|END");
    ASSERT_TRUE(stuck.send(polls));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.count(FD_CLOSE) == 1; }, 20000));
    ASSERT_TRUE(nothingElseQueued(server, log));
    EXPECT_TRUE(cut);
    EXPECT_EQ(readsAfterCut, 0);
    EXPECT_LT(log.count(FD_READ), 100);
}

TEST(SocketLayerHandlers, AHandlerMayCloseItsSocketWithEventsStillQueued) {
    LobbyPair lobby;
    ASSERT_TRUE(lobby.start());
    lobby.serverLog.react = [&](const SeenEvent& e) {
        if (e.event == FD_READ) {
            SocketHandle sock = e.socket;
            lobby.server.CloseConnection(sock);
        }
    };
    for (int i = 0; i < 3; ++i)
        lobby.client.SendMsg(lobby.DataSock, QStringLiteral("GetGameData|a|b|%1|END").arg(i));
    lobby.client.closeSocket(lobby.DataSock);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lobby.serverLog.count(FD_READ) == 1; }, kWaitMs));
    EXPECT_TRUE(nothingElseQueued(lobby.server, lobby.serverLog));
    EXPECT_EQ(lobby.serverLog.count(FD_READ), 1);
    EXPECT_EQ(lobby.serverLog.count(FD_CLOSE), 0);
}

TEST(SocketLayerHandlers, AModalDialogInAHandlerLetsLaterEventsThroughAndKeepsItsMessage) {
    LobbyPair lobby;
    ASSERT_TRUE(lobby.start());
    const SocketHandle sock = lobby.accepted[0];

    QStringList order;
    QString outerMessage;
    bool inDialog = false;
    lobby.server.setHandler([&](SocketHandle s, int event, int) {
        if (event != FD_READ) return;
        if (order.isEmpty() && !inDialog) {
            // The first message opens a "message box" before reading its text.
            inDialog = true;
            QEventLoop dialog;
            QTimer::singleShot(300, &dialog, &QEventLoop::quit);
            dialog.exec();
            inDialog = false;
            outerMessage = lobby.server.RecvMsg(s).text;
            order << QStringLiteral("outer");
            return;
        }
        order << lobby.server.RecvMsg(s).text;
    });
    lobby.client.SendMsg(lobby.DataSock, QStringLiteral("GMOK|one| 0|END"));
    lobby.client.SendMsg(lobby.DataSock, QStringLiteral("GMOK|two| 0|END"));
    lobby.client.SendMsg(lobby.DataSock, QStringLiteral("GMOK|three| 0|END"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() == 3; }, kWaitMs));
    EXPECT_EQ(order, QStringList({QStringLiteral("GMOK|two| 0|END"),
                                  QStringLiteral("GMOK|three| 0|END"), QStringLiteral("outer")}));
    EXPECT_EQ(outerMessage, u"GMOK|one| 0|END");
    EXPECT_EQ(lobby.server.RecvMsg(sock).byteCount, -1);  // nothing outside an FD_READ
}

TEST(SocketLayerHandlers, AHandlerMayDeleteTheWholeLayer) {
    PortForTest port;
    auto server = std::make_unique<SocketLayer>(lobbyServerFraming());
    int reads = 0;
    server->setHandler([&](SocketHandle s, int event, int) {
        if (event == FD_ACCEPT) server->accept(s);
        if (event == FD_READ && ++reads == 1) server.reset();  // the window closes
    });
    ASSERT_TRUE(port.listen(*server).ok());
    SocketLayer client(lobbyClientFraming());
    EventLog clientLog(client);
    const SocketHandle sock = client.ConnectServer(QStringLiteral("127.0.0.1")).socket;
    ASSERT_TRUE(QTest::qWaitFor([&] { return clientLog.count(FD_CONNECT) == 1; }, kWaitMs));
    client.SendMsg(sock, QStringLiteral("GameEnd|a|END"));
    client.SendMsg(sock, QStringLiteral("GameEnd|b|END"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server == nullptr; }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return clientLog.count(FD_CLOSE) == 1; }, kWaitMs));
    EXPECT_EQ(reads, 1);
}

}  // namespace
}  // namespace net
