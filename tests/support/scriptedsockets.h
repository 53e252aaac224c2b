#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "framingrules.h"
#include "messageframer.h"
#include "socketevents.h"
#include "socketlayer.h"
#include "wirecodec.h"

namespace testsupport {

// The sockets of one program as a test scripts them, behind the program's
// transport interface (see scriptedmatchtransport.h, scriptedclienttransport.h):
// what the program starts, sends and closes is recorded; what its peer does
// (connect, send, close, knock on the listener) the test says, and the event
// reaches the program's handler at once, as the event loop would hand it
// over. What the peer sends is cut into messages by the program's framing
// rules, as the socket layer cuts it. Events of closed sockets are dropped,
// as the socket layer drops them. Nothing here touches a real socket.
class ScriptedSockets {
public:
    explicit ScriptedSockets(net::FramingRules rules) : rules_(std::move(rules)) {}

    // The outcomes the test chooses.
    QString startUpFailure;    // StartUp's text: this machine has no sockets
    QString connectErrorText;  // ConnectServer starts no attempt and says why
    QString acceptErrorText;   // AcceptPeer fails and says why
    net::ListenResult listenResult = listening();

    // What the program did.
    QStringList servers;                        // the names it connected to, in order
    std::vector<net::SocketHandle> closedOnes;  // the sockets it closed, in order

    // The connection being made or made: the last one the program started or
    // accepted. The listener: the last one it opened.
    net::SocketHandle connection() const { return connection_; }
    net::SocketHandle listener() const { return listener_; }
    bool isOpen(net::SocketHandle s) const { return open_.count(s) != 0; }

    // The peer's side.
    void connectDone(int error = 0) {
        if (error == 0) connected_.insert(connection_);
        deliver(connection_, net::FD_CONNECT, error);
    }
    // The peer sends `text` in one piece, and nothing after it for a while:
    // each message in it is handed over in turn.
    void send(const QString& text) {
        net::MessageFramer framer(rules_);
        QStringList messages = framer.feed(net::encodeMessage(text)).messages;
        messages += framer.flush().messages;
        for (const QString& message : messages)
            handOver(message);
    }
    // One message, as the socket layer hands it over after its framing.
    void handOver(const QString& message) {
        inbox_ = message;
        reading_ = connection_;
        deliver(connection_, net::FD_READ, 0);
        reading_ = 0;
    }
    void peerCloses() {
        connected_.erase(connection_);
        deliver(connection_, net::FD_CLOSE, 0);
    }
    // Another program connects to the listener.
    void knock() { deliver(listener_, net::FD_ACCEPT, 0); }

    // What the program sent on its connection since the last take.
    QStringList take() { return std::exchange(sent_[connection_], {}); }
    // ... and on an earlier one.
    QStringList sentOn(net::SocketHandle s) { return std::exchange(sent_[s], {}); }
    // Whether the program sent `expected` on its connection (within one
    // message or across several, as a peer reads the stream); it and what
    // came before it are taken.
    bool receive(const QString& expected) {
        QStringList& sent = sent_[connection_];
        const qsizetype at = sent.join(QString()).indexOf(expected);
        if (at < 0) return false;
        qsizetype drop = at + expected.size();
        while (!sent.isEmpty() && sent.front().size() <= drop)
            drop -= sent.takeFirst().size();
        if (!sent.isEmpty()) sent.front().remove(0, drop);
        return true;
    }
    // Everything sent on the connection and not taken yet, in one text.
    QString pending() const {
        const auto it = sent_.find(connection_);
        return it == sent_.end() ? QString() : it->second.join(QString());
    }

    static net::ListenResult listening() {
        net::ListenResult r;
        r.step = net::ListenResult::Step::Listening;
        r.ownAddress = QStringLiteral("192.168.1.20");
        r.stateText = QStringLiteral("クライアント待受");
        return r;
    }

protected:
    void setHandlerNow(net::SocketEventHandler handler) { handler_ = std::move(handler); }
    QString startUpNow() const { return startUpFailure; }
    net::ListenResult listenNow() {
        net::ListenResult r = listenResult;
        if (r.ok()) r.socket = listener_ = open();
        return r;
    }
    net::AcceptResult acceptNow(net::SocketHandle listenSock) {
        closeNow(listenSock);  // a game program takes one peer only
        if (!acceptErrorText.isEmpty()) return {0, 10053, acceptErrorText};
        connection_ = open();
        connected_.insert(connection_);
        return {connection_, 0, {}};
    }
    net::ConnectResult connectNow(const QString& server) {
        servers << server;
        if (!connectErrorText.isEmpty()) return {0, connectErrorText};
        connection_ = open();
        return {connection_, {}};
    }
    void sendNow(net::SocketHandle s, const QString& text) {
        if (connected_.count(s)) sent_[s] << text;
    }
    net::ReceivedMessage recvNow(net::SocketHandle s) {
        if (s == 0 || s != reading_) return {};
        return {inbox_, static_cast<int>(inbox_.size() * 2)};
    }
    void closeNow(net::SocketHandle s) {
        if (open_.erase(s) == 0) return;
        connected_.erase(s);
        closedOnes.push_back(s);
    }

private:
    net::SocketHandle open() {
        open_.insert(++last_);
        return last_;
    }
    void deliver(net::SocketHandle s, int event, int error) {
        if (s != 0 && open_.count(s) && handler_) handler_(s, event, error);
    }

    net::FramingRules rules_;
    net::SocketEventHandler handler_;
    net::SocketHandle last_ = 0;
    net::SocketHandle connection_ = 0;
    net::SocketHandle listener_ = 0;
    net::SocketHandle reading_ = 0;
    QString inbox_;
    std::set<net::SocketHandle> open_;
    std::set<net::SocketHandle> connected_;
    std::map<net::SocketHandle, QStringList> sent_;
};

}  // namespace testsupport
