#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QByteArray>
#include <QString>
#include <atomic>
#include <cerrno>
#include <thread>

namespace lobbytest {

// A peer on a plain blocking socket to 127.0.0.1 that can flood the server, or
// drain what the server sends it, from a thread of its own: as fast as the
// kernel lets it, whatever the test's own event loop is doing.
class BlockingPeer {
public:
    explicit BlockingPeer(quint16 port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = fd_ >= 0 && ::connect(fd_, reinterpret_cast<const sockaddr*>(&address),
                                           sizeof address) == 0;
    }
    ~BlockingPeer() {
        stop();
        if (fd_ >= 0) ::close(fd_);
    }
    BlockingPeer(const BlockingPeer&) = delete;
    BlockingPeer& operator=(const BlockingPeer&) = delete;

    bool connected() const { return connected_; }

    // Sends one message whole.
    bool send(const QString& text) {
        const QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        return sendBytes(bytes.constData(), bytes.size());
    }

    // What arrives until a text ending with "|END", or for at most `ms`.
    QString receiveMessage(int ms) {
        QByteArray got;
        const QByteArray end("|\0E\0N\0D\0", 8);
        while (!got.endsWith(end)) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, ms) <= 0) break;
            char c[2];
            if (::recv(fd_, c, 2, MSG_WAITALL) != 2) break;
            got.append(c, 2);
        }
        return QString(reinterpret_cast<const QChar*>(got.constData()), got.size() / 2);
    }

    // Sends `message` over and over until stopped or cut off.
    void flood(const QString& message) {
        QByteArray unit(reinterpret_cast<const char*>(message.utf16()), message.size() * 2);
        QByteArray block;
        while (block.size() < 64 * 1024)
            block += unit;
        thread_ = std::thread([this, block] {
            while (!stopping_ && sendBytes(block.constData(), block.size()))
                sent_ += block.size();
        });
    }

    // Reads and drops everything the server sends until stopped.
    void drain() {
        thread_ = std::thread([this] {
            char buffer[65536];
            while (!stopping_ && ::recv(fd_, buffer, sizeof buffer, 0) > 0) {
            }
        });
    }

    // Ends the flood or the draining; the connection goes with it.
    void stop() {
        stopping_ = true;
        if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
        if (thread_.joinable()) thread_.join();
    }

    qint64 bytesSent() const { return sent_; }

private:
    bool sendBytes(const char* data, qsizetype size) {
        qsizetype done = 0;
        while (done < size) {
            const ssize_t n =
                ::send(fd_, data + done, static_cast<size_t>(size - done), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += n;
        }
        return true;
    }

    int fd_ = -1;
    bool connected_ = false;
    std::atomic<bool> stopping_{false};
    std::atomic<qint64> sent_{0};
    std::thread thread_;
};

}  // namespace lobbytest
