#include "directconnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QObject>
#include <QTimer>
#include <cerrno>
#include <utility>

#include "readinesswatch.h"

namespace net {

namespace {

// What a closed connection still reads and throws away at a time. Closing a
// socket with unread data makes the kernel reset the connection, and a reset
// can take with it what was sent last (a reply the peer has not read yet).
constexpr qint64 kDiscardBytes = 64 * 1024;

// Past this much sent from the front of the unsent bytes, they are moved to
// the front rather than kept growing.
constexpr qsizetype kCompactBytes = 64 * 1024;

// Holds a closed connection until what it had to send is out.
class Lingering : public QObject {
public:
    Lingering(std::unique_ptr<Connection> connection, QObject* owner)
        : QObject(owner), connection_(std::move(connection)) {}

private:
    std::unique_ptr<Connection> connection_;
};

bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

}  // namespace

DirectConnection::DirectConnection(int descriptor) : fd_(descriptor) {
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK) == 0) ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
    // Every message is one write that a peer is waiting for: it leaves at
    // once, not after the acknowledgement of the one before it (Nagle).
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getpeername(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
        address.sin_family == AF_INET) {
        peerAddress_ = QHostAddress(ntohl(address.sin_addr.s_addr));
        peerPort_ = ntohs(address.sin_port);
    }

    readWatch_ = std::make_unique<platform::ReadinessWatch>(fd_, QSocketNotifier::Read,
                                                            [this] { tellReadable(); });
    writeWatch_ = std::make_unique<platform::ReadinessWatch>(fd_, QSocketNotifier::Write,
                                                             [this] { writeUnsent(); });
}

DirectConnection::~DirectConnection() {
    abort();
}

void DirectConnection::watchReading(bool on) {
    on = on && fd_ >= 0 && !readEnded_;
    if (readWatch_) readWatch_->setEnabled(on);
}

DirectConnection::ReadResult DirectConnection::read(char* buffer, qint64 capacity) {
    if (fd_ < 0 || readEnded_) return {0, true};
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, static_cast<size_t>(capacity), MSG_DONTWAIT);
        if (n > 0) return {n, false};
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && wouldBlock(errno)) return {};
        // The peer's end, or a fault (a reset): nothing more will come.
        readEnded_ = true;
        watchReading(false);
        return {0, true};
    }
}

bool DirectConnection::hasUnread() const {
    int size = 0;
    return fd_ >= 0 && !readEnded_ && ::ioctl(fd_, FIONREAD, &size) == 0 && size > 0;
}

bool DirectConnection::send(QByteArrayView bytes) {
    if (fd_ < 0 || broken_) return false;
    if (unsentBytes() == 0) {
        while (!bytes.isEmpty()) {
            const ssize_t n = ::send(fd_, bytes.data(), static_cast<size_t>(bytes.size()),
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n >= 0) {
                bytes = bytes.sliced(n);
                continue;
            }
            if (errno == EINTR) continue;
            if (wouldBlock(errno)) break;
            broken_ = true;
            return false;
        }
        if (bytes.isEmpty()) return true;
        unsent_.clear();
        unsentFrom_ = 0;
    }
    unsent_.append(bytes);
    writeWatch_->setEnabled(true);
    return true;
}

void DirectConnection::writeUnsent() {
    while (unsentBytes() > 0) {
        const ssize_t n = ::send(fd_, unsent_.constData() + unsentFrom_,
                                 static_cast<size_t>(unsentBytes()), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            unsentFrom_ += n;
            continue;
        }
        if (errno == EINTR) continue;
        if (wouldBlock(errno)) break;
        return fail();
    }
    if (unsentBytes() > 0) {
        if (unsentFrom_ >= kCompactBytes && unsentFrom_ * 2 >= unsent_.size()) {
            unsent_.remove(0, unsentFrom_);
            unsentFrom_ = 0;
        }
        return;
    }
    unsent_.clear();
    unsentFrom_ = 0;
    writeWatch_->setEnabled(false);
    if (onSentAll_) onSentAll_();
}

void DirectConnection::fail() {
    broken_ = true;
    unsent_.clear();
    unsentFrom_ = 0;
    writeWatch_->setEnabled(false);
    tellGone();
}

void DirectConnection::discardInput() {
    char scratch[4096];
    qint64 taken = 0;
    while (taken < kDiscardBytes) {
        const ReadResult result = read(scratch, sizeof scratch);
        if (result.size <= 0) break;
        taken += result.size;
    }
}

void DirectConnection::abort() {
    if (readWatch_) readWatch_->setEnabled(false);
    if (writeWatch_) writeWatch_->setEnabled(false);
    unsent_.clear();
    unsentFrom_ = 0;
    readEnded_ = true;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void DirectConnection::closeLingering(std::unique_ptr<Connection> self, QObject* owner,
                                      int lingerMs) {
    setReadableHandler(nullptr);
    setGoneHandler(nullptr);
    discardInput();
    if (fd_ < 0 || broken_ || unsentBytes() == 0) return;  // closed here and now

    auto* keeper = new Lingering(std::move(self), owner);
    setReadableHandler([this] { discardInput(); });
    setGoneHandler([keeper] { keeper->deleteLater(); });
    onSentAll_ = [this, keeper] {
        discardInput();
        keeper->deleteLater();
    };
    watchReading(true);
    QTimer::singleShot(lingerMs, keeper, [keeper] { keeper->deleteLater(); });
}

}  // namespace net
