#pragma once

#include <QByteArray>
#include <QList>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace web {

// One client connection of the web server, on a non-blocking socket of its
// own: what came in and is not yet read as a request, and what goes out, as
// a queue of byte arrays shared with whoever built them (an event sent to ten
// thousand watchers is one array, queued ten thousand times). The server
// decides; the connection keeps the state and moves the bytes.
class HttpConnection {
public:
    enum class Mode {
        Requests,  // reading requests and answering them
        Stream,    // an event stream: only what the hub sends goes out
        Closing,   // the last answer went; reading what still comes, then closing
    };

    HttpConnection(int fd, QByteArray address, qint64 nowMs);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    int fd() const { return fd_; }
    const QByteArray& address() const { return address_; }

    // Queues bytes to send; nothing is copied.
    void queue(const QByteArray& bytes);
    qsizetype backlog() const { return backlog_; }

    enum class Flush { Done, Waiting, Failed };
    // Writes what the kernel takes now; Waiting when some is left (the write
    // notifier is then on), Failed when the peer is gone.
    Flush flush();

    // Reads what the kernel has, up to `limit` bytes kept in `input`
    // (beyond that it stays in the kernel); false once the peer closed or
    // the connection failed. With `discard` the bytes are read and dropped.
    bool receive(qsizetype limit, bool discard);

    // Stops both notifiers and closes the socket; the object itself is
    // deleted later, once no notifier call is on the stack.
    void shut();

    QSocketNotifier* readNotifier() const { return reader_.get(); }
    // Called when the socket takes more bytes after a write had to wait.
    std::function<void()> onWritable;

    QByteArray input;
    Mode mode = Mode::Requests;
    int requests = 0;            // answered on this connection
    qint64 requestSinceMs = -1;  // a request has begun and is not whole; else -1
    qint64 idleSinceMs = 0;
    qint64 lingerUntilMs = 0;    // Closing: the end of the last reads
    bool closeWhenSent = false;  // the answer queued is the last
    bool peerDone = false;       // the peer has closed its side
    bool readPaused = false;     // too much waiting to go out

    qsizetype streamGrace = 0;   // Stream: what its first answer adds to the bound
    QByteArray streamKey;        // Stream: the key it watches
    qsizetype streamIndex = -1;  // its place among the key's streams

private:
    // The write notifier, made at the first write that has to wait.
    QSocketNotifier* writeNotifier();

    int fd_;
    QByteArray address_;
    std::unique_ptr<QSocketNotifier> reader_;
    std::unique_ptr<QSocketNotifier> writer_;
    QList<QByteArray> out_;
    qsizetype sentOfFirst_ = 0;
    qsizetype backlog_ = 0;
};

}  // namespace web
