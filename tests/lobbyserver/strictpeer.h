#pragma once

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace lobbytest {

// A peer of the lobby server written as the programs that take each socket
// read for one message: it does not frame. It reads as a busy program does,
// a moment after the data arrived, so whatever the server sends in one
// breath lands in one read, and it takes that read as one text. Like such a
// game program it can connect again while its earlier connection stays open,
// and treats the close of any of its connections as the close of the one it
// uses now.
class StrictPeer {
public:
    // A game program reads at most 2999 bytes at a time, a lobby client 4999.
    StrictPeer(quint16 port, int readBytes = 2999) : port_(port), readBytes_(readBytes) {
        connectAgain();
    }
    ~StrictPeer() {
        stop_ = true;
        if (answering_.joinable()) answering_.join();
        for (const int fd : sockets_)
            ::close(fd);
    }
    StrictPeer(const StrictPeer&) = delete;
    StrictPeer& operator=(const StrictPeer&) = delete;

    // A new connection becomes the current one; the earlier ones stay open.
    bool connectAgain() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port_);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            if (fd >= 0) ::close(fd);
            return false;
        }
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockets_.push_back(fd);
        current_ = fd;
        return true;
    }

    // The current connection goes without a word, as a program that ends.
    void leave() { closeCurrent(); }

    // One send of the whole text.
    void send(const QString& text) {
        if (current_ < 0) return;
        const auto bytes = static_cast<std::size_t>(text.size()) * 2;
        static_cast<void>(::send(current_, text.utf16(), bytes, MSG_NOSIGNAL));
    }

    // The next read on the current connection, as one text; nothing when
    // none comes within `ms` or the connection has ended.
    std::optional<QString> read(int ms = 5000) {
        if (!waitReadable(current_, ms)) return std::nullopt;
        QThread::msleep(kReadDelayMs);  // a slow reader is what this peer plays
        std::vector<char> buffer(static_cast<std::size_t>(readBytes_));
        const ssize_t n = ::recv(current_, buffer.data(), buffer.size(), 0);
        if (n <= 0) {
            closeCurrent();
            return std::nullopt;
        }
        return QString(reinterpret_cast<const QChar*>(buffer.data()), static_cast<int>(n / 2));
    }

    // From now on the peer reads by itself, as a running game program does,
    // and answers every read but an acknowledgement with one.
    void answerEveryRead() {
        answering_ = std::thread([this] {
            while (!stop_) {
                if (!waitReadable(current_, 20)) continue;
                const auto text = read(0);
                if (!text) return;
                if (!text->contains(u"SYOUGI_MSG3")) send(QStringLiteral("SYOUGI_MSG3:SEND_OK"));
                const std::lock_guard<std::mutex> lock(mutex_);
                reads_ << *text;
                arrived_.notify_all();
            }
        });
    }

    // The next `count` reads of a peer that answers by itself (fewer when
    // they do not come within `ms`).
    QStringList takeReads(int count, int ms = 5000) {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait_for(lock, std::chrono::milliseconds(ms),
                          [&] { return reads_.size() >= count; });
        const QStringList taken = reads_.mid(0, count);
        reads_.remove(0, taken.size());
        return taken;
    }

    // Whether the server has closed any of this peer's connections (within
    // `ms`); such a program then closes the connection it uses now.
    bool anyClosed(int ms = 0) {
        for (int waited = 0;; waited += 10) {
            for (const int fd : sockets_) {
                char byte;
                pollfd p{fd, POLLIN, 0};
                if (::poll(&p, 1, 0) > 0 && ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0) {
                    closeCurrent();
                    return true;
                }
            }
            if (waited >= ms) return false;
            QThread::msleep(10);
        }
    }

private:
    static constexpr int kReadDelayMs = 100;

    static bool waitReadable(int fd, int ms) {
        if (fd < 0) return false;
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    void closeCurrent() {
        if (current_ < 0) return;
        ::shutdown(current_, SHUT_RDWR);
        current_ = -1;
    }

    quint16 port_;
    int readBytes_;
    std::vector<int> sockets_;
    int current_ = -1;
    std::thread answering_;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::condition_variable arrived_;
    QStringList reads_;
};

}  // namespace lobbytest
