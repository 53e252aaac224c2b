#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "framingrules.h"
#include "socketevents.h"

class QTimer;

namespace net {

class Connection;

// What SetSERVER did. The caller shows `stateText` where the program shows its
// listener state, and `errorBoxText`, when not empty, in a message box with an
// OK button.
struct ListenResult {
    enum class Step {
        Listening,     // stateText "クライアント待受"
        SocketFailed,  // stateText "リスンソケット作成失敗"
        BindFailed,    // stateText "BINDできません。"; errorBoxText says why
        ListenFailed,  // stateText "リスン失敗"
    };
    Step step = Step::SocketFailed;
    SocketHandle socket = 0;  // the listener; 0 unless listening
    quint16 port = 0;         // the port bound, also when QUOR_PORT asked for any (0)
    QString ownAddress;       // this machine's address, dotted, for the status line
    QString stateText;
    int error = 0;         // Winsock code of the failed step, 0 when listening
    QString errorBoxText;  // error text of a failed bind, or the fault of QUOR_PORT

    bool ok() const { return step == Step::Listening; }
};

// What ConnectServer did. The outcome of the attempt arrives later as
// FD_CONNECT: error 0 when connected, else the reason (10061 when nobody
// listens, 11001 for an unknown host name, ...).
struct ConnectResult {
    SocketHandle socket = 0;  // the connecting socket; 0 when no attempt started
    QString errorText;        // why no attempt started (a bad QUOR_PORT setting)
};

// What an accept did: the new socket, or 0 with the Winsock error and its text.
struct AcceptResult {
    SocketHandle socket = 0;
    int error = 0;
    QString errorText;
};

// One received message: its text and the number of bytes it had on the wire;
// -1 and an empty text when there was nothing to read.
struct ReceivedMessage {
    QString text;
    int byteCount = -1;
};

// All the sockets of one program instance, driven from its event loop: no
// threads, no blocking calls. The program registers one handler and gets the
// four classic events for every socket:
//
// - FD_ACCEPT on a listener when a peer is waiting; the handler takes it with
//   accept() (the lobby server) or AcceptPeer() (a game program).
// - FD_CONNECT on a connecting socket, once: error 0 when connected, else the
//   reason; a failed attempt gives nothing else.
// - FD_READ once per complete message (the framing rules find the message
//   boundaries); RecvMsg inside that handler returns exactly that message. A
//   message without an end of its own is handed out once no more data has
//   come for it for a moment, or when the peer closes.
//   A connection is read only as fast as its messages are handled: while a
//   few of them wait for the handler, the rest stays in the kernel, whose
//   window then holds the peer back. Connections with messages waiting take
//   turns, one message each, so one busy peer cannot keep the others waiting.
// - FD_CLOSE, with error 0, when an established connection ends by any cause:
//   the peer's close, a reset, or this layer cutting a peer that broke the
//   limits (an unfinished message past 64 KiB, more than 1 MiB waiting to be
//   sent). The handler then closes the socket as usual.
//
// Events are queued and handed out one at a time from the event loop, in the
// order they happened. An event of a socket the program has closed meanwhile
// is dropped, and handles are never reused; the messages still waiting on a
// connection that is cut off are dropped with it.
class SocketLayer : public QObject {
    Q_OBJECT

public:
    // Data that a peer has not taken yet, beyond which it is cut off.
    static constexpr qint64 kMaxUnsentBytes = 1024 * 1024;
    // Messages of one connection that may wait for the handler before nothing
    // more is read from it: enough to keep a busy handler fed, few enough that
    // what a peer sends waits in its own kernel buffers, not in ours.
    static constexpr std::size_t kMaxWaitingMessages = 4;
    // Bytes taken from a connection at a time. A piece this size holds a few
    // hundred of the shortest messages at most, which is all one connection can
    // put in front of the others at once.
    static constexpr qint64 kReadChunkBytes = 4096;
    // What Qt may hold of a connection this program started ahead of the
    // framer. Past it Qt stops reading, so a peer that sends faster than it
    // is served fills its kernel buffers rather than this program's memory.
    // An accepted connection is read straight from the kernel, as its turns
    // come, and holds nothing ahead.
    static constexpr qint64 kReadBufferBytes = 64 * 1024;

    explicit SocketLayer(FramingRules rules, QObject* parent = nullptr);
    ~SocketLayer() override;

    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

    void setHandler(SocketEventHandler handler);

    // Checks that this machine can make TCP sockets at all; the text to show
    // ("初期化失敗") when it cannot, else empty.
    QString StartUp() const;

    // Listens on all IPv4 interfaces at the system's port (SO_REUSEADDR, so a
    // restarted program can listen again at once).
    ListenResult SetSERVER();

    // Takes the next waiting connection from a listener that goes on
    // listening. With no connection waiting the error is 10035.
    AcceptResult accept(SocketHandle listenSock);

    // A game program takes one peer only: accepts and then closes the listener,
    // whether the accept worked or not.
    AcceptResult AcceptPeer(SocketHandle listenSock);

    // Starts a connection to `server` (dotted address or host name) at the
    // system's port. Host names are looked up without blocking.
    ConnectResult ConnectServer(const QString& server);

    // Sends one message in one write. What the kernel cannot take yet is kept
    // and sent in order. Returns the bytes queued, or -1 when the socket is not
    // connected or was just cut off for holding too much unsent data.
    int SendMsg(SocketHandle socket, const QString& text);

    // The message of the FD_READ being handled for this socket.
    ReceivedMessage RecvMsg(SocketHandle socket);

    // Closes a socket: data already sent still goes out, nothing more is
    // received, and no further event of it is delivered. Unknown handles and 0
    // are ignored.
    void closeSocket(SocketHandle socket);

    // The remote-close path of the programs: shuts the connection down and
    // closes it, then sets `socket` to 0.
    void CloseConnection(SocketHandle& socket);

    // The socket part of a program's clean-up: closes both sockets that are
    // open and sets them to 0. Running it twice is harmless.
    void FileExit(SocketHandle& listenSock, SocketHandle& dataSock);

    // Closes every socket of this layer (a server's clean-up).
    void closeAll();

    bool isOpen(SocketHandle socket) const;
    bool isConnected(SocketHandle socket) const;
    QString peerAddress(SocketHandle socket) const;  // dotted IPv4, empty if unknown
    quint16 peerPort(SocketHandle socket) const;
    quint16 listeningPort(SocketHandle listenSock) const;
    qint64 unsentBytes(SocketHandle socket) const;

private:
    enum class State;
    struct Listener;
    struct Link;
    // FD_READ carries no text: it is the connection's turn to hand out the
    // oldest message of its inbox.
    struct Event {
        SocketHandle socket = 0;
        int event = 0;
        int error = 0;
    };

    Listener* findListener(SocketHandle socket) const;
    Link* findLink(SocketHandle socket) const;
    SocketHandle addConnection(std::unique_ptr<Connection> connection, State state);
    void connected(SocketHandle handle);
    void connectFailed(SocketHandle handle, int error);
    void post(Event event);
    void schedule();
    void pump(QTimer* timer);
    void deliver(const Event& event);
    // Reads what the connection has (unless `readKernel` is false) and hands
    // out the next message.
    void readMore(SocketHandle handle, bool readKernel = true);
    void dataArrived(SocketHandle handle);
    void queueTurn(SocketHandle handle);
    void endIfDrained(SocketHandle handle);
    void takeHeld(SocketHandle handle);
    void peerGone(SocketHandle handle);
    void cutOff(SocketHandle handle);

    FramingRules rules_;
    SocketEventHandler handler_;
    std::map<SocketHandle, std::unique_ptr<Listener>> listeners_;
    std::map<SocketHandle, std::unique_ptr<Link>> links_;
    SocketHandle lastHandle_ = 0;
    std::deque<Event> queue_;  // events not delivered yet, oldest first
    // Zero-interval timers that hand out the queue, one event per timeout. A
    // timer does not fire again while its own handler runs a nested event
    // loop (a modal dialog), so each nesting level gets a timer of its own.
    std::vector<QTimer*> pumps_;
    std::vector<QTimer*> busyPumps_;  // nullptr: a hand-out in the pass the data came in
    bool postQuietly_ = false;        // post() leaves the scheduling to its caller
    QStringList taken_;               // for the framer's messages of each read, kept for its room
};

}  // namespace net
