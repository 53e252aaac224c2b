#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QByteArrayView>
#include <QTest>

namespace net::test {

// A bare TCP client to 127.0.0.1, for peers that misbehave on purpose: it
// writes exactly the bytes it is given, in the pieces it is given, and reads
// only when asked.
class RawPeer {
public:
    explicit RawPeer(quint16 port, int receiveBuffer = 0) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0) return;
        if (receiveBuffer > 0)
            ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // The kernel completes a connection to a listening socket by itself.
        connected_ =
            ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawPeer() {
        if (fd_ >= 0) ::close(fd_);
    }
    RawPeer(const RawPeer&) = delete;
    RawPeer& operator=(const RawPeer&) = delete;

    bool connected() const { return connected_; }

    // Writes all of `bytes`, letting the event loop run while the kernel is
    // full, so the receiver in this process can take them.
    bool send(QByteArrayView bytes) {
        qsizetype done = 0;
        for (int tries = 0; done < bytes.size() && tries < 2000; ++tries) {
            const ssize_t n =
                ::send(fd_, bytes.data() + done, static_cast<size_t>(bytes.size() - done),
                       MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n > 0)
                done += n;
            else if (n < 0 && errno != EAGAIN)
                return false;
            else
                QTest::qWait(5);
        }
        return done == bytes.size();
    }

    // Closes the connection from this side.
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    // True once the other side has closed or reset the connection; reads
    // (and drops) what is waiting.
    bool closedByPeer() {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0) return true;
            if (n < 0) return errno != EAGAIN;
        }
    }

    // Reads what is waiting into `received`; true once the other side has
    // closed cleanly after it (a reset is no clean close).
    bool readToEnd(QByteArray& received) {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n == 0) return true;
            if (n < 0) return false;
            received.append(buffer, n);
        }
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

}  // namespace net::test
