// The floor of the relay benchmark: a byte relay that does nothing but its
// job. It listens on 127.0.0.1 at QUOR_PORT, takes two connections, and from
// then on copies whatever one sends to the other, in both directions, until
// either closes. No framing, no decoding, no queue of its own: one poll, one
// read, one write per piece. Both sockets send at once (TCP_NODELAY), as any
// relay that cares about latency does, so that the floor is the kernel's and
// not Nagle's.
//
// Once it listens it says "Port <N>" and "ready" on standard output, so the
// benchmark knows when and where to connect: with QUOR_PORT=0 the system
// picks the port.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kChunkBytes = 64 * 1024;

// The listener and the port it got; -1 when it cannot listen.
int listenOn(int port, int& bound) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t size = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(fd);
        return -1;
    }
    bound = ntohs(address.sin_port);
    return fd;
}

int acceptOne(int listener) {
    const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

// Writes all of `size` bytes; false when the peer is gone.
bool writeAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= n;
    }
    return true;
}

}  // namespace

int main() {
    const char* portText = std::getenv("QUOR_PORT");
    char* end = nullptr;
    const long port = portText ? std::strtol(portText, &end, 10) : -1;
    if (!portText || *portText == '\0' || *end != '\0' || port < 0 || port > 65535) {
        std::fprintf(stderr, "bare relay: QUOR_PORT must name a port 0..65535\n");
        return 2;
    }
    int bound = 0;
    const int listener = listenOn(static_cast<int>(port), bound);
    if (listener < 0) {
        std::perror("bare relay: listen");
        return 1;
    }
    std::printf("Port %d\nready\n", bound);
    std::fflush(stdout);

    const int a = acceptOne(listener);
    const int b = acceptOne(listener);
    ::close(listener);
    if (a < 0 || b < 0) {
        std::perror("bare relay: accept");
        return 1;
    }

    static char buffer[kChunkBytes];
    pollfd fds[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return 1;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].revents == 0) continue;
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0 || !writeAll(fds[1 - i].fd, buffer, n)) return 0;
        }
    }
}
