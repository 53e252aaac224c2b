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

enum class SocketLayer::State { Listening, Connecting, Connected, Ended };

struct SocketLayer::Entry {
    State state = State::Ended;
    DescriptorServer* server = nullptr;      // a listener
    std::unique_ptr<Connection> connection;  // a connection
    std::optional<MessageFramer> framer;
    std::unique_ptr<QTimer> quiet;   // runs while the framer holds a likely message
    std::deque<QString> inbox;       // framed messages not handed out yet, oldest first
    std::optional<QString> current;  // the message of the FD_READ being handled
    int acceptError = 0;             // a failed accept, reported by the next accept()
    bool acceptAnnounced = false;    // an FD_ACCEPT is on its way and not answered yet
    bool turnQueued = false;         // an FD_READ for the inbox is on its way
    bool peerEnded = false;          // the peer has closed; FD_CLOSE follows its last message
    bool cut = false;                // cut off: nothing more is read or handed out
    bool closeReported = false;      // FD_CLOSE (or a failed FD_CONNECT) was posted
};

SocketLayer::SocketLayer(FramingRules rules, QObject* parent)
    : QObject(parent), rules_(std::move(rules)) {}

SocketLayer::~SocketLayer() {
    // Sockets and listeners are children and die with this object; first make
    // sure none of their last signals reaches a half-destroyed layer.
    for (auto& [handle, entry] : entries_) {
        if (entry->server) entry->server->disconnect(this);
    }
    entries_.clear();
}

void SocketLayer::setHandler(SocketEventHandler handler) {
    handler_ = std::move(handler);
}

QString SocketLayer::StartUp() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return QString::fromUtf16(kStartupFailedText);
    ::close(fd);
    return {};
}

ListenResult SocketLayer::SetSERVER() {
    ListenResult result;
    result.ownAddress = GetMyLocalIPString(GetMyLocalIPAddress());

    const PortSetting port = serverPort();
    if (!port.ok()) {
        result.step = ListenResult::Step::BindFailed;
        result.stateText = QString::fromUtf16(kBindFailedText);
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
        result.stateText = QString::fromUtf16(kListenSocketFailedText);
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
        result.stateText = QString::fromUtf16(kBindFailedText);
        ::close(fd);
        return result;
    }
    if (::listen(fd, kListenBacklog) != 0) {
        result.step = ListenResult::Step::ListenFailed;
        result.error = winsockErrorFromErrno(errno);
        result.stateText = QString::fromUtf16(kListenFailedText);
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
        result.stateText = QString::fromUtf16(kListenFailedText);
        return result;
    }

    auto entry = std::make_unique<Entry>();
    entry->state = State::Listening;
    entry->server = server.release();
    entry->server->setParent(this);
    DescriptorServer* listener = entry->server;
    const SocketHandle handle = add(std::move(entry));

    auto announce = [this, handle] {
        Entry* e = find(handle);
        if (!e || e->acceptAnnounced) return;
        e->acceptAnnounced = true;
        post({handle, FD_ACCEPT, 0});
    };
    connect(listener, &QTcpServer::newConnection, this, announce);
    connect(listener, &QTcpServer::acceptError, this,
            [this, handle, listener, announce](QAbstractSocket::SocketError error) {
                if (Entry* e = find(handle))
                    e->acceptError = winsockErrorFromQt(error, listener->errorString());
                announce();
            });

    result.step = ListenResult::Step::Listening;
    result.socket = handle;
    result.stateText = QString::fromUtf16(kWaitingForClientText);
    return result;
}

AcceptResult SocketLayer::accept(SocketHandle listenSock) {
    Entry* listener = find(listenSock);
    if (!listener || listener->state != State::Listening)
        return {0, wsa::kNotSocket, SocketErrorText(wsa::kNotSocket)};
    listener->acceptAnnounced = false;
    auto announceRest = [this, listenSock] {
        Entry* e = find(listenSock);
        if (e && !e->acceptAnnounced &&
            (e->acceptError != 0 || e->server->hasPendingConnections())) {
            e->acceptAnnounced = true;
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
    const SocketHandle handle = addConnection(std::move(connection), State::Connected);
    direct->setReadableHandler([this, handle] { dataArrived(handle); });
    announceRest();

    // The peer may have sent data, or even gone, before it was taken.
    readMore(handle);
    return {handle, 0, {}};
}

AcceptResult SocketLayer::AcceptPeer(SocketHandle listenSock) {
    const AcceptResult result = accept(listenSock);
    closeSocket(listenSock);
    return result;
}

ConnectResult SocketLayer::ConnectServer(const QString& server) {
    const PortSetting port = serverPort();
    if (!port.ok()) return {0, port.error};

    auto connection = std::make_unique<TcpSocketConnection>(this, kReadBufferBytes);
    TcpSocketConnection* tcp = connection.get();
    const SocketHandle handle = addConnection(std::move(connection), State::Connecting);
    tcp->setReadableHandler([this, handle] { readMore(handle); });
    tcp->connectTo(
        server, port.port, [this, handle] { connected(handle); },
        [this, handle](int error) { connectFailed(handle, error); });
    return {handle, {}};
}

int SocketLayer::SendMsg(SocketHandle socket, const QString& text) {
    Entry* entry = find(socket);
    if (!entry || entry->state != State::Connected || !entry->connection) return -1;
    const QByteArray bytes = encodeMessage(text);
    if (entry->connection->unsentBytes() + bytes.size() > kMaxUnsentBytes) {
        cutOff(socket);
        return -1;
    }
    if (entry->connection->send(bytes)) return static_cast<int>(bytes.size());
    // The connection is broken; its FD_CLOSE follows what it sent before.
    peerGone(socket);
    return -1;
}

ReceivedMessage SocketLayer::RecvMsg(SocketHandle socket) {
    Entry* entry = find(socket);
    if (!entry || !entry->current) return {};
    QString text = *std::exchange(entry->current, std::nullopt);
    const auto bytes = static_cast<int>(text.size() * 2);
    return {std::move(text), bytes};
}

void SocketLayer::closeSocket(SocketHandle socket) {
    const auto it = entries_.find(socket);
    if (it == entries_.end()) return;
    const std::unique_ptr<Entry> entry = std::move(it->second);
    entries_.erase(it);
    if (entry->server) {
        entry->server->disconnect(this);
        entry->server->close();
        entry->server->dropPending();
        entry->server->deleteLater();
    }
    if (entry->connection) Connection::letGo(std::move(entry->connection), this, kLingerMs);
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
    while (!entries_.empty())
        closeSocket(entries_.begin()->first);
}

bool SocketLayer::isOpen(SocketHandle socket) const {
    return find(socket) != nullptr;
}

bool SocketLayer::isConnected(SocketHandle socket) const {
    const Entry* entry = find(socket);
    return entry && entry->state == State::Connected;
}

QString SocketLayer::peerAddress(SocketHandle socket) const {
    const Entry* entry = find(socket);
    if (!entry || !entry->connection) return {};
    bool isIPv4 = false;
    const quint32 address = entry->connection->peerAddress().toIPv4Address(&isIPv4);
    return isIPv4 ? QHostAddress(address).toString() : QString();
}

quint16 SocketLayer::peerPort(SocketHandle socket) const {
    const Entry* entry = find(socket);
    return entry && entry->connection ? entry->connection->peerPort() : 0;
}

quint16 SocketLayer::listeningPort(SocketHandle listenSock) const {
    const Entry* entry = find(listenSock);
    return entry && entry->server ? entry->server->serverPort() : 0;
}

qint64 SocketLayer::unsentBytes(SocketHandle socket) const {
    const Entry* entry = find(socket);
    return entry && entry->connection ? entry->connection->unsentBytes() : 0;
}

SocketLayer::Entry* SocketLayer::find(SocketHandle socket) const {
    const auto it = entries_.find(socket);
    return it == entries_.end() ? nullptr : it->second.get();
}

SocketHandle SocketLayer::add(std::unique_ptr<Entry> entry) {
    const SocketHandle handle = ++lastHandle_;
    entries_.emplace(handle, std::move(entry));
    return handle;
}

SocketHandle SocketLayer::addConnection(std::unique_ptr<Connection> connection, State state) {
    auto entry = std::make_unique<Entry>();
    entry->state = state;
    entry->framer.emplace(rules_);
    Connection* c = connection.get();
    entry->connection = std::move(connection);
    const SocketHandle handle = add(std::move(entry));
    c->setGoneHandler([this, handle] { peerGone(handle); });
    return handle;
}

void SocketLayer::connected(SocketHandle handle) {
    Entry* entry = find(handle);
    if (!entry || entry->state != State::Connecting) return;
    entry->state = State::Connected;
    post({handle, FD_CONNECT, 0});
}

void SocketLayer::connectFailed(SocketHandle handle, int error) {
    Entry* entry = find(handle);
    if (!entry || entry->closeReported || entry->state != State::Connecting) return;
    // A failed attempt is reported once, as FD_CONNECT with its reason, and
    // nothing follows it.
    entry->state = State::Ended;
    entry->closeReported = true;
    post({handle, FD_CONNECT, error});
}

void SocketLayer::post(Event event) {
    queue_.push_back(std::move(event));
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
    const Event event = std::move(queue_.front());
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
    Entry* entry = find(event.socket);
    if (!entry || !handler_) return;  // closed by the program meanwhile

    std::optional<QString> outer;
    if (event.event == FD_READ) {
        entry->turnQueued = false;
        if (entry->inbox.empty()) return;  // dropped when the connection was cut
        QString message = std::move(entry->inbox.front());
        entry->inbox.pop_front();
        // Its next message waits behind the turns of the other connections.
        queueTurn(event.socket);
        outer = std::exchange(entry->current, std::move(message));
    }

    // The handler may delete this layer, and with it the stored handler.
    const QPointer<SocketLayer> self(this);
    const SocketEventHandler handler = handler_;
    handler(event.socket, event.event, event.error);
    if (!self || event.event != FD_READ) return;
    Entry* after = find(event.socket);
    if (!after) return;
    // A handler that ran a nested event loop may have been interrupted by this
    // socket's next message; it gets its own message back afterwards.
    after->current = std::move(outer);
    // A message handled makes room for the next piece of the connection.
    readMore(event.socket);
}

void SocketLayer::readMore(SocketHandle handle) {
    Entry* entry = find(handle);
    if (!entry || entry->cut || !entry->connection || !entry->framer || entry->framer->refused())
        return;
    bool fed = false;
    bool holding = false;
    char chunk[kReadChunkBytes];
    while (entry->inbox.size() < kMaxWaitingMessages) {
        const Connection::ReadResult read = entry->connection->read(chunk, kReadChunkBytes);
        if (read.ended) {
            entry->peerEnded = true;
            entry->state = State::Ended;
            if (entry->quiet) entry->quiet->stop();
            break;
        }
        if (read.size <= 0) break;
        MessageFramer::Result result = entry->framer->feed(QByteArrayView(chunk, read.size));
        for (QString& message : result.messages)
            entry->inbox.push_back(std::move(message));
        if (result.refused) return cutOff(handle);
        fed = true;
        holding = result.holding;
        // Less than a whole piece: there was no more, and the connection says
        // so when more comes.
        if (read.size < kReadChunkBytes) break;
    }
    // With enough messages waiting for the handler the rest stays in the
    // kernel; handling one reads on.
    entry->connection->watchReading(entry->inbox.size() < kMaxWaitingMessages);
    if (fed) {
        if (holding) {
            if (!entry->quiet) {
                entry->quiet = std::make_unique<QTimer>();
                entry->quiet->setSingleShot(true);
                entry->quiet->setInterval(kQuietMs);
                connect(entry->quiet.get(), &QTimer::timeout, this,
                        [this, handle] { takeHeld(handle); });
            }
            entry->quiet->start();
        } else if (entry->quiet) {
            entry->quiet->stop();
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
    Entry* entry = find(handle);
    if (!entry || entry->turnQueued || entry->inbox.empty()) return;
    entry->turnQueued = true;
    post({handle, FD_READ, 0});
}

// The peer has gone: once everything it sent has been handed out, its
// FD_CLOSE follows.
void SocketLayer::endIfDrained(SocketHandle handle) {
    Entry* entry = find(handle);
    if (!entry || !entry->peerEnded || entry->closeReported || !entry->inbox.empty()) return;
    if (entry->connection && entry->connection->hasUnread()) return;  // more to read first
    // Nothing more can come: what the framer holds is the peer's last message.
    if (entry->framer && !entry->framer->refused()) {
        for (QString& message : entry->framer->flush().messages)
            entry->inbox.push_back(std::move(message));
        if (!entry->inbox.empty()) return queueTurn(handle);
    }
    entry->closeReported = true;
    post({handle, FD_CLOSE, 0});
}

// No more data came for the message the framer holds: it is complete as it
// stands. Data still unread (the connection waits for its turn) decides
// instead, once it is read.
void SocketLayer::takeHeld(SocketHandle handle) {
    Entry* entry = find(handle);
    if (!entry || entry->cut || !entry->framer) return;
    if (entry->quiet) entry->quiet->stop();
    if (entry->connection && entry->connection->hasUnread()) return;
    for (QString& message : entry->framer->flush().messages)
        entry->inbox.push_back(std::move(message));
    queueTurn(handle);
}

void SocketLayer::peerGone(SocketHandle handle) {
    Entry* entry = find(handle);
    if (!entry || entry->cut || entry->peerEnded || entry->state == State::Connecting) return;
    entry->peerEnded = true;
    entry->state = State::Ended;
    if (entry->quiet) entry->quiet->stop();
    // What it sent before it went is still handed out, in turn.
    readMore(handle);
    endIfDrained(handle);
}

void SocketLayer::cutOff(SocketHandle handle) {
    Entry* entry = find(handle);
    if (!entry || !entry->connection || entry->cut) return;
    // What it sent and is not handled yet goes with it.
    entry->cut = true;
    entry->inbox.clear();
    if (entry->quiet) entry->quiet->stop();
    const bool report = !entry->closeReported;
    entry->closeReported = true;
    entry->state = State::Ended;
    if (report) post({handle, FD_CLOSE, 0});
    entry->connection->abort();
}

}  // namespace net
