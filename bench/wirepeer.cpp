#include "wirepeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

#include "wirecodec.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

WirePeer::WirePeer(quint16 port, net::FramingRules rules) : framer_(std::move(rules)) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(std::exchange(fd_, -1));
        return;
    }
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

WirePeer::~WirePeer() {
    if (fd_ >= 0) ::close(fd_);
}

bool WirePeer::send(const QByteArray& wireBytes) {
    const char* data = wireBytes.constData();
    qsizetype left = wireBytes.size();
    while (left > 0) {
        const ssize_t n = ::send(fd_, data, static_cast<size_t>(left), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        left -= n;
    }
    return true;
}

bool WirePeer::send(const QString& text) {
    return send(net::encodeMessage(text));
}

bool WirePeer::expect(const QByteArray& wireBytes, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (raw_.size() < wireBytes.size()) {
        if (!readSome(msLeft(deadline))) return false;
    }
    if (QByteArrayView(raw_).first(wireBytes.size()) != wireBytes) return false;
    raw_.remove(0, wireBytes.size());
    return true;
}

std::optional<QString> WirePeer::next(int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    frameRaw();
    while (framed_.empty()) {
        if (!readSome(msLeft(deadline))) {
            for (QString& message : framer_.flush().messages)
                framed_.push_back(std::move(message));
            break;
        }
        frameRaw();
    }
    if (framed_.empty()) return std::nullopt;
    QString message = std::move(framed_.front());
    framed_.erase(framed_.begin());
    return message;
}

std::optional<QString> WirePeer::nextStartingWith(const QString& prefix, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::optional<QString> message = next(msLeft(deadline))) {
        if (message->startsWith(prefix)) return message;
    }
    return std::nullopt;
}

std::vector<QString> WirePeer::takeArrived(bool& alive) {
    alive = true;
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            raw_.append(buffer, n);
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) alive = false;
        break;
    }
    frameRaw();
    return std::exchange(framed_, {});
}

bool WirePeer::readSome(int timeoutMs) {
    pollfd pfd{fd_, POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&pfd, 1, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        break;
    }
    char buffer[16 * 1024];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    raw_.append(buffer, n);
    return true;
}

void WirePeer::frameRaw() {
    if (raw_.isEmpty()) return;
    net::MessageFramer::Result result = framer_.feed(raw_);
    raw_.clear();
    for (QString& message : result.messages)
        framed_.push_back(std::move(message));
}

}  // namespace bench
