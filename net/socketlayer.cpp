#include "socketlayer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QPointer>
#include <QTcpServer>
#include <QTimer>
#include <cerrno>
#include <deque>
#include <utility>

#include "connection.h"
#include "directconnection.h"
#include "localaddress.h"
#include "messageframer.h"
#include "serverport.h"
#include "socketerrorcode.h"
#include "socketerrortext.h"
#include "sockettexts.h"
#include "tcpsocketconnection.h"
#include "wirecodec.h"

namespace net {

namespace {

// Connections the kernel completes and keeps for the program to take. A
// burst of a thousand connects must fit: one that finds the queue full is not
// refused but left to retry its handshake for many seconds, hearing nothing.
// The kernel lowers it to its own limit (net.core.somaxconn); a game program
// takes one peer and then closes its listener anyway.
constexpr int kListenBacklog = 4096;

// How long a closed connection may take to hand its last data to a peer that
// does not read before it is dropped.
constexpr int kLingerMs = 10000;

// How long a message that may be complete (one without an end of its own that
// ends with the data read so far) waits for more data before it is handed out
// as it stands. Long enough for the rest of a write that TCP split to follow,
// short enough not to be noticed in a chat.
constexpr int kQuietMs = 100;

// A listener that keeps the descriptors of the connections it accepted
// rather than a buffered socket for each: the layer reads and writes them
// itself (DirectConnection). Like Qt's own listener it stops taking
// connections while enough of them wait, and leaves the rest in the kernel's
// queue until one is taken.
class DescriptorServer : public QTcpServer {
public:
    DescriptorServer() = default;
    ~DescriptorServer() override { dropPending(); }

    bool hasPendingConnections() const override { return !pending_.empty(); }

    // The next accepted descriptor, or -1 when none waits.
    int takeDescriptor() {
        if (pending_.empty()) return -1;
        const int descriptor = pending_.front();
        pending_.pop_front();
        resumeAccepting();
        return descriptor;
    }

    void dropPending() {
        for (const int descriptor : pending_)
            ::close(descriptor);
        pending_.clear();
    }

protected:
    void incomingConnection(qintptr descriptor) override {
        pending_.push_back(static_cast<int>(descriptor));
        if (pending_.size() >= static_cast<std::size_t>(maxPendingConnections())) pauseAccepting();
    }

private:
    std::deque<int> pending_;
};

}  // namespace

// How far a connection has come. Where it stands decides which events it may
// still give: FD_CONNECT once, then FD_READ, and FD_CLOSE once at most.
enum class SocketLayer::State {
    Connecting,  // an attempt of this program's, not answered yet
    Open,        // connected: messages go both ways
    PeerEnded,   // the peer has gone: what it sent is still handed out, then FD_CLOSE
    // Its last event was posted: FD_CLOSE after the peer's last message, or
    // FD_CONNECT with the reason an attempt failed. Nothing follows.
    Closed,
    // Cut off by this layer: nothing more is read or handed out, and FD_CLOSE
    // was posted unless it had been already.
    Cut,
};

struct SocketLayer::Listener {
    DescriptorServer* server = nullptr;  // a child of the layer
    int acceptError = 0;                 // a failed accept, reported by the next accept()
    bool acceptAnnounced = false;        // an FD_ACCEPT is on its way and not answered yet
};

// A connection and what the layer keeps of it.
struct SocketLayer::Link {
    Link(std::unique_ptr<Connection> c, const FramingRules& rules, State s)
        : connection(std::move(c)), framer(rules), state(s) {}

    std::unique_ptr<Connection> connection;
    MessageFramer framer;
    State state;
    std::unique_ptr<QTimer> quiet;   // runs while the framer holds a likely message
    std::deque<QString> inbox;       // framed messages not handed out yet, oldest first
    std::optional<QString> current;  // the message of the FD_READ being handled
    // An FD_READ for the inbox is on its way. Not part of the state: an open
    // connection, one whose peer has gone and one just cut may each have one
    // queued or not.
    bool turnQueued = false;
    // The last read found the kernel's buffer empty (a short read): nothing
    // more is there until the connection says that data has come.
    bool drained = false;
};

SocketLayer::SocketLayer(FramingRules rules, QObject* parent)
    : QObject(parent), rules_(std::move(rules)) {}

SocketLayer::~SocketLayer() {
    // Sockets and listeners are children and die with this object; first make
    // sure none of their last signals reaches a half-destroyed layer.
    for (auto& [handle, listener] : listeners_)
        listener->server->disconnect(this);
    links_.clear();
    listeners_.clear();
}

void SocketLayer::setHandler(SocketEventHandler handler) {
    handler_ = std::move(handler);
}

QString SocketLayer::StartUp() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return QString::fromUtf8(kStartupFailedText);
    ::close(fd);
    return {};
}

ListenResult SocketLayer::SetSERVER() {
    ListenResult result;
    result.ownAddress = GetMyLocalIPString(GetMyLocalIPAddress());

    const PortSetting port = listenPort();
    if (!port.ok()) {
        result.step = ListenResult::Step::BindFailed;
        result.stateText = QString::fromUtf8(kBindFailedText);
        result.error = wsa::kInvalidArgument;
        result.errorBoxText = port.error;
        return result;
    }
    result.port = port.port;

    // The steps are taken one by one, rather than through QTcpServer::listen,
    // so that each failure is reported as the step that failed, with its code.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        result.step = ListenResult::Step::SocketFailed;
        result.error = winsockErrorFromErrno(errno);
        result.stateText = QString::fromUtf8(kListenSocketFailedText);
        return result;
    }
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port.port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        result.step = ListenResult::Step::BindFailed;
        result.error = winsockErrorFromErrno(errno);
        result.errorBoxText = SocketErrorText(result.error);
        result.stateText = QString::fromUtf8(kBindFailedText);
        ::close(fd);
        return result;
    }
    // Port 0 lets the system pick one: the port to tell is the one bound.
    socklen_t boundSize = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &boundSize) == 0)
        result.port = ntohs(address.sin_port);
    if (::listen(fd, kListenBacklog) != 0) {
        result.step = ListenResult::Step::ListenFailed;
        result.error = winsockErrorFromErrno(errno);
        result.stateText = QString::fromUtf8(kListenFailedText);
        ::close(fd);
        return result;
    }
    auto server = std::make_unique<DescriptorServer>();
    server->setProxy(QNetworkProxy::NoProxy);
    if (!server->setSocketDescriptor(fd)) {
        // The descriptor belongs to the server now, which closes it when it
        // goes.
        result.step = ListenResult::Step::ListenFailed;
        result.error = winsockErrorFromQt(server->serverError(), server->errorString());
        result.stateText = QString::fromUtf8(kListenFailedText);
        return result;
    }

    DescriptorServer* listener = server.release();
    listener->setParent(this);
    const SocketHandle handle = ++lastHandle_;
    listeners_.emplace(handle, std::make_unique<Listener>(Listener{listener}));

    auto announce = [this, handle] {
        Listener* l = findListener(handle);
        if (!l || l->acceptAnnounced) return;
        l->acceptAnnounced = true;
        post({handle, FD_ACCEPT, 0});
    };
    connect(listener, &QTcpServer::newConnection, this, announce);
    connect(listener, &QTcpServer::acceptError, this,
            [this, handle, listener, announce](QAbstractSocket::SocketError error) {
                if (Listener* l = findListener(handle))
                    l->acceptError = winsockErrorFromQt(error, listener->errorString());
                announce();
            });

    result.step = ListenResult::Step::Listening;
    result.socket = handle;
    result.stateText = QString::fromUtf8(kWaitingForClientText);
    return result;
}

AcceptResult SocketLayer::accept(SocketHandle listenSock) {
    Listener* listener = findListener(listenSock);
    if (!listener) return {0, wsa::kNotSocket, SocketErrorText(wsa::kNotSocket)};
    listener->acceptAnnounced = false;
    auto announceRest = [this, listenSock] {
        Listener* l = findListener(listenSock);
        if (l && !l->acceptAnnounced &&
            (l->acceptError != 0 || l->server->hasPendingConnections())) {
            l->acceptAnnounced = true;
            post({listenSock, FD_ACCEPT, 0});
        }
    };

    if (const int error = std::exchange(listener->acceptError, 0); error != 0) {
        announceRest();
        return {0, error, SocketErrorText(error)};
    }
    const int descriptor = listener->server->takeDescriptor();
    if (descriptor < 0) return {0, wsa::kWouldBlock, SocketErrorText(wsa::kWouldBlock)};

    // A connection a listener accepted is a server's, where the time of every
    // message it relays counts: it is read and written through its
    // descriptor, which tells of data from the event loop only, so what comes
    // may be handed out at once.
    auto connection = std::make_unique<DirectConnection>(descriptor);
    DirectConnection* direct = connection.get();
    const SocketHandle handle = addConnection(std::move(connection), State::Open);
    direct->setReadableHandler([this, handle] { dataArrived(handle); });
    announceRest();

    // The peer may have sent data, or even gone, before it was taken.
    readMore(handle);
    return {handle, 0, {}};
}

AcceptResult SocketLayer::AcceptPeer(SocketHandle listenSock) {
    AcceptResult result = accept(listenSock);
    closeSocket(listenSock);
    return result;
}

ConnectResult SocketLayer::ConnectServer(const QString& server) {
    const PortSetting port = serverPort();
    if (!port.ok()) return {0, port.error};

    auto connection = std::make_unique<TcpSocketConnection>(this, kReadBufferBytes);
    TcpSocketConnection* tcp = connection.get();
    const SocketHandle handle = addConnection(std::move(connection), State::Connecting);
    // Qt's word that data has come may be given from inside a call of the
    // program's: what it brings is handed out as every other event is.
    tcp->setReadableHandler([this, handle] { readMore(handle); });
    tcp->connectTo(
        server, port.port, [this, handle] { connected(handle); },
        [this, handle](int error) { connectFailed(handle, error); });
    return {handle, {}};
}

int SocketLayer::SendMsg(SocketHandle socket, const QString& text) {
    Link* link = findLink(socket);
    if (!link || link->state != State::Open) return -1;
    // Every relayed message passes here: its bytes go out without a copy.
    QByteArray scratch;
    const QByteArrayView bytes = wireBytes(text, scratch);
    if (link->connection->unsentBytes() + bytes.size() > kMaxUnsentBytes) {
        cutOff(socket);
        return -1;
    }
    if (link->connection->send(bytes)) return static_cast<int>(bytes.size());
    // The connection is broken; its FD_CLOSE follows what it sent before.
    peerGone(socket);
    return -1;
}

ReceivedMessage SocketLayer::RecvMsg(SocketHandle socket) {
    Link* link = findLink(socket);
    if (!link || !link->current) return {};
    QString text = *std::exchange(link->current, std::nullopt);
    const auto bytes = static_cast<int>(text.size() * 2);
    return {std::move(text), bytes};
}

void SocketLayer::closeSocket(SocketHandle socket) {
    if (const auto it = listeners_.find(socket); it != listeners_.end()) {
        DescriptorServer* server = it->second->server;
        listeners_.erase(it);
        server->disconnect(this);
        server->close();
        server->dropPending();
        server->deleteLater();
    } else if (const auto at = links_.find(socket); at != links_.end()) {
        const std::unique_ptr<Link> link = std::move(at->second);
        links_.erase(at);
        Connection::letGo(std::move(link->connection), this, kLingerMs);
    }
}

void SocketLayer::CloseConnection(SocketHandle& socket) {
    // Closing drops whatever is still to be received and lets the sent data go
    // out, which is all a shutdown of both directions adds to a close.
    closeSocket(socket);
    socket = 0;
}

void SocketLayer::FileExit(SocketHandle& listenSock, SocketHandle& dataSock) {
    if (listenSock != 0) {
        closeSocket(listenSock);
        listenSock = 0;
    }
    if (dataSock != 0) {
        closeSocket(dataSock);
        dataSock = 0;
    }
}

void SocketLayer::closeAll() {
    // Oldest first, listeners and connections alike.
    while (!listeners_.empty() || !links_.empty()) {
        if (links_.empty() ||
            (!listeners_.empty() && listeners_.begin()->first < links_.begin()->first))
            closeSocket(listeners_.begin()->first);
        else
            closeSocket(links_.begin()->first);
    }
}

bool SocketLayer::isOpen(SocketHandle socket) const {
    return findListener(socket) || findLink(socket);
}

bool SocketLayer::isConnected(SocketHandle socket) const {
    const Link* link = findLink(socket);
    return link && link->state == State::Open;
}

QString SocketLayer::peerAddress(SocketHandle socket) const {
    const Link* link = findLink(socket);
    if (!link) return {};
    bool isIPv4 = false;
    const quint32 address = link->connection->peerAddress().toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(address).toString() : QString();
}

quint16 SocketLayer::peerPort(SocketHandle socket) const {
    const Link* link = findLink(socket);
    return link ? link->connection->peerPort() : 0;
}

quint16 SocketLayer::listeningPort(SocketHandle listenSock) const {
    const Listener* listener = findListener(listenSock);
    return listener ? listener->server->serverPort() : 0;
}

qint64 SocketLayer::unsentBytes(SocketHandle socket) const {
    const Link* link = findLink(socket);
    return link ? link->connection->unsentBytes() : 0;
}

SocketLayer::Listener* SocketLayer::findListener(SocketHandle socket) const {
    const auto it = listeners_.find(socket);
    return it == listeners_.end() ? nullptr : it->second.get();
}

SocketLayer::Link* SocketLayer::findLink(SocketHandle socket) const {
    const auto it = links_.find(socket);
    return it == links_.end() ? nullptr : it->second.get();
}

SocketHandle SocketLayer::addConnection(std::unique_ptr<Connection> connection, State state) {
    Connection* c = connection.get();
    const SocketHandle handle = ++lastHandle_;
    links_.emplace(handle, std::make_unique<Link>(std::move(connection), rules_, state));
    c->setGoneHandler([this, handle] { peerGone(handle); });
    return handle;
}

void SocketLayer::connected(SocketHandle handle) {
    Link* link = findLink(handle);
    if (!link || link->state != State::Connecting) return;
    link->state = State::Open;
    post({handle, FD_CONNECT, 0});
}

void SocketLayer::connectFailed(SocketHandle handle, int error) {
    Link* link = findLink(handle);
    if (!link || link->state != State::Connecting) return;
    // A failed attempt is reported once, as FD_CONNECT with its reason, and
    // nothing follows it.
    link->state = State::Closed;
    post({handle, FD_CONNECT, error});
}

void SocketLayer::post(Event event) {
    queue_.push_back(event);
    if (!postQuietly_) schedule();
}

// Makes sure a timer that can fire is running while events wait.
void SocketLayer::schedule() {
    if (queue_.empty()) return;
    QTimer* idle = nullptr;
    for (QTimer* timer : pumps_) {
        if (std::find(busyPumps_.begin(), busyPumps_.end(), timer) != busyPumps_.end()) continue;
        if (timer->isActive()) return;
        idle = timer;
    }
    if (!idle) {
        idle = new QTimer(this);
        idle->setSingleShot(true);
        idle->setInterval(0);
        connect(idle, &QTimer::timeout, this, [this, idle] { pump(idle); });
        pumps_.push_back(idle);
    }
    idle->start();
}

void SocketLayer::pump(QTimer* timer) {
    if (queue_.empty()) return;
    const Event event = queue_.front();
    queue_.pop_front();
    busyPumps_.push_back(timer);
    schedule();  // the rest goes on even if this handler opens a dialog
    const QPointer<SocketLayer> self(this);
    deliver(event);
    if (!self) return;
    busyPumps_.erase(std::find(busyPumps_.begin(), busyPumps_.end(), timer));
    schedule();
}

void SocketLayer::deliver(const Event& event) {
    if (!handler_) return;
    std::optional<QString> outer;
    if (event.event == FD_READ) {
        Link* link = findLink(event.socket);
        if (!link) return;  // closed by the program meanwhile
        link->turnQueued = false;
        if (link->inbox.empty()) return;  // dropped when the connection was cut
        QString message = std::move(link->inbox.front());
        link->inbox.pop_front();
        // Its next message waits behind the turns of the other connections.
        queueTurn(event.socket);
        outer = std::exchange(link->current, std::move(message));
    } else if (!isOpen(event.socket)) {
        return;  // closed by the program meanwhile
    }

    // The handler may delete this layer, and with it the stored handler.
    const QPointer<SocketLayer> self(this);
    const SocketEventHandler handler = handler_;
    handler(event.socket, event.event, event.error);
    if (!self || event.event != FD_READ) return;
    Link* after = findLink(event.socket);
    if (!after) return;
    // A handler that ran a nested event loop may have been interrupted by this
    // socket's next message; it gets its own message back afterwards.
    after->current = std::move(outer);
    // A message handled makes room for the next piece of the connection;
    // a connection read empty is not asked again before it says that more
    // has come (a system call saved on every relayed message).
    readMore(event.socket, !after->drained);
}

void SocketLayer::readMore(SocketHandle handle, bool readKernel) {
    Link* link = findLink(handle);
    if (!link || link->state == State::Cut || link->framer.refused()) return;
    bool fed = false;
    bool holding = false;
    char chunk[kReadChunkBytes];
    if (readKernel) link->drained = false;
    while (readKernel && link->inbox.size() < kMaxWaitingMessages) {
        const Connection::ReadResult read = link->connection->read(chunk, kReadChunkBytes);
        if (read.ended) {
            if (link->state == State::Open) link->state = State::PeerEnded;
            if (link->quiet) link->quiet->stop();
            break;
        }
        if (read.size <= 0) {
            link->drained = true;
            break;
        }
        // One list takes the messages of every read (it keeps its room).
        QStringList taken = std::exchange(taken_, {});
        const MessageFramer::Status result =
            link->framer.feed(QByteArrayView(chunk, read.size), taken);
        for (QString& message : taken)
            link->inbox.push_back(std::move(message));
        taken.clear();
        taken_ = std::move(taken);
        if (result.refused) return cutOff(handle);
        fed = true;
        holding = result.holding;
        // Less than a whole piece: there was no more, and the connection says
        // so when more comes.
        if (read.size < kReadChunkBytes) {
            link->drained = true;
            break;
        }
    }
    // With enough messages waiting for the handler the rest stays in the
    // kernel; handling one reads on.
    link->connection->watchReading(link->inbox.size() < kMaxWaitingMessages);
    if (fed) {
        if (holding) {
            if (!link->quiet) {
                link->quiet = std::make_unique<QTimer>();
                link->quiet->setSingleShot(true);
                link->quiet->setInterval(kQuietMs);
                connect(link->quiet.get(), &QTimer::timeout, this,
                        [this, handle] { takeHeld(handle); });
            }
            link->quiet->start();
        } else if (link->quiet) {
            link->quiet->stop();
        }
    }
    queueTurn(handle);
    endIfDrained(handle);
}

// Data came on an accepted connection, told by the event loop itself. With no
// event waiting and no handler running, what it brings is handed out in this
// same pass of the loop rather than a timer's round later: the server relays
// every move this way, and the timer costs more than the rest of the relay.
void SocketLayer::dataArrived(SocketHandle handle) {
    if (!queue_.empty() || !busyPumps_.empty()) return readMore(handle);
    postQuietly_ = true;
    readMore(handle);
    postQuietly_ = false;
    pump(nullptr);
}

void SocketLayer::queueTurn(SocketHandle handle) {
    Link* link = findLink(handle);
    if (!link || link->turnQueued || link->inbox.empty()) return;
    link->turnQueued = true;
    post({handle, FD_READ, 0});
}

// The peer has gone: once everything it sent has been handed out, its
// FD_CLOSE follows.
void SocketLayer::endIfDrained(SocketHandle handle) {
    Link* link = findLink(handle);
    if (!link || link->state != State::PeerEnded || !link->inbox.empty()) return;
    if (link->connection->hasUnread()) return;  // more to read first
    // Nothing more can come: what the framer holds is the peer's last message.
    if (!link->framer.refused()) {
        for (QString& message : link->framer.flush().messages)
            link->inbox.push_back(std::move(message));
        if (!link->inbox.empty()) return queueTurn(handle);
    }
    link->state = State::Closed;
    post({handle, FD_CLOSE, 0});
}

// No more data came for the message the framer holds: it is complete as it
// stands. Data still unread (the connection waits for its turn) decides
// instead, once it is read.
void SocketLayer::takeHeld(SocketHandle handle) {
    Link* link = findLink(handle);
    if (!link || link->state == State::Cut) return;
    if (link->quiet) link->quiet->stop();
    if (link->connection->hasUnread()) return;
    for (QString& message : link->framer.flush().messages)
        link->inbox.push_back(std::move(message));
    queueTurn(handle);
}

void SocketLayer::peerGone(SocketHandle handle) {
    Link* link = findLink(handle);
    if (!link || link->state != State::Open) return;
    link->state = State::PeerEnded;
    if (link->quiet) link->quiet->stop();
    // What it sent before it went is still handed out, in turn.
    readMore(handle);
    endIfDrained(handle);
}

void SocketLayer::cutOff(SocketHandle handle) {
    Link* link = findLink(handle);
    if (!link || link->state == State::Cut) return;
    const bool report = link->state != State::Closed;
    // What it sent and is not handled yet goes with it.
    link->state = State::Cut;
    link->inbox.clear();
    if (link->quiet) link->quiet->stop();
    if (report) post({handle, FD_CLOSE, 0});
    link->connection->abort();
}

}  // namespace net
