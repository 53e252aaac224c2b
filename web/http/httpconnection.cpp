#include "httpconnection.h"

#include <errno.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>
#include <algorithm>

namespace web {

HttpConnection::HttpConnection(int fd, QByteArray address, qint64 nowMs)
    : idleSinceMs(nowMs),
      fd_(fd),
      address_(std::move(address)),
      reader_(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read)) {
    // A client must send a whole request within the request time from the
    // moment it connects.
    requestSinceMs = nowMs;
}

HttpConnection::~HttpConnection() {
    shut();
}

void HttpConnection::queue(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    out_.append(bytes);
    backlog_ += bytes.size();
}

QSocketNotifier* HttpConnection::writeNotifier() {
    if (!writer_) {
        writer_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Write);
        writer_->setEnabled(false);
        QObject::connect(writer_.get(), &QSocketNotifier::activated, writer_.get(), [this] {
            if (onWritable) onWritable();
        });
    }
    return writer_.get();
}

HttpConnection::Flush HttpConnection::flush() {
    if (fd_ < 0) return Flush::Failed;
    while (!out_.isEmpty()) {
        // Up to 16 pieces in one call: a stream behind by many small events
        // catches up in few system calls.
        iovec pieces[16];
        int count = 0;
        for (qsizetype i = 0; i < out_.size() && count < 16; ++i, ++count) {
            const QByteArray& piece = out_[i];
            const qsizetype skip = i == 0 ? sentOfFirst_ : 0;
            pieces[count].iov_base = const_cast<char*>(piece.constData() + skip);
            pieces[count].iov_len = static_cast<size_t>(piece.size() - skip);
        }
        msghdr message{};
        message.msg_iov = pieces;
        message.msg_iovlen = static_cast<size_t>(count);
        const ssize_t written = ::sendmsg(fd_, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) break;
            return Flush::Failed;
        }
        qsizetype left = written;
        backlog_ -= written;
        while (left > 0) {
            const qsizetype rest = out_.first().size() - sentOfFirst_;
            if (left >= rest) {
                left -= rest;
                out_.removeFirst();
                sentOfFirst_ = 0;
            } else {
                sentOfFirst_ += left;
                left = 0;
            }
        }
    }
    if (out_.isEmpty()) {
        out_ = QList<QByteArray>();  // gives back the list's storage
        if (writer_) writer_->setEnabled(false);
        return Flush::Done;
    }
    writeNotifier()->setEnabled(true);
    return Flush::Waiting;
}

bool HttpConnection::receive(qsizetype limit, bool discard) {
    if (fd_ < 0) return false;
    char buffer[16 * 1024];
    // What is dropped is bounded per call; the notifier calls again.
    for (qsizetype dropped = 0; dropped < 4 * qsizetype(sizeof buffer);) {
        qsizetype room = discard ? qsizetype(sizeof buffer)
                                 : std::min<qsizetype>(sizeof buffer, limit - input.size());
        if (room <= 0) return true;
        const ssize_t n = ::recv(fd_, buffer, static_cast<size_t>(room), MSG_DONTWAIT);
        if (n == 0) return false;
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        if (discard)
            dropped += n;
        else
            input.append(buffer, n);
    }
    return true;
}

void HttpConnection::shut() {
    if (reader_) reader_->setEnabled(false);
    if (writer_) writer_->setEnabled(false);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    out_.clear();
    backlog_ = 0;
    input.clear();
}

}  // namespace web
