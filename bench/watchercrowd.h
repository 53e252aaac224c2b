#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace bench {

// Many watchers of one game's event stream, as browsers' EventSource would
// hold them: plain non-blocking sockets to the web front on 127.0.0.1,
// watched together with epoll, so that ten thousand of them cost the
// benchmark little. Each notes when it received the event of each move.
class WatcherCrowd {
public:
    using Clock = std::chrono::steady_clock;

    WatcherCrowd() = default;
    ~WatcherCrowd();
    WatcherCrowd(const WatcherCrowd&) = delete;
    WatcherCrowd& operator=(const WatcherCrowd&) = delete;

    // Connects `count` watchers to `target` ("/api/games/1/stream") on
    // `port` and waits until each has the answer's head; the reason it
    // failed, or empty.
    QString connect(quint16 port, const QByteArray& target, int count, int timeoutMs = 60000);

    // Reads until every watcher still connected has the event with id
    // `move`, or `timeoutMs` passed; whether all did.
    bool waitForMove(int move, int timeoutMs);

    // When each watcher received the event of `move` (watchers that never did
    // are left out).
    std::vector<Clock::time_point> arrivals(int move) const;

    // Reads in a thread of its own from now on, as browsers read, until the
    // crowd goes; nothing else may be called meanwhile but connected().
    void readInBackground();
    // Ends the background reading; the crowd may be asked anything again.
    void stopReading();

    // Watchers still connected that received every move from 1 to `moves`.
    int sawEveryMove(int moves) const;

    int connected() const;  // watchers whose stream is still open
    int size() const { return int(watchers_.size()); }

private:
    struct Watcher {
        int fd = -1;
        bool headSeen = false;
        bool accepted = false;  // the answer was the stream ("200")
        QString statusLine;
        QByteArray pending;                   // bytes not yet read through
        std::vector<Clock::time_point> seen;  // index: move number
    };
    // Reads what arrived, for at most `timeoutMs`; false when nothing did.
    bool pump(int timeoutMs);
    void readFrom(Watcher& w);
    void drop(Watcher& w);

    int epoll_ = -1;
    std::vector<Watcher> watchers_;
    std::atomic<bool> stop_{false};
    std::atomic<int> open_{0};
    std::thread reader_;
};

// Raises this process's limit of open files to its hard limit; the limit now.
long raiseFileLimit();

// Whether `target` on `port` answers 200 within `timeoutMs`, asked every
// 10 ms: a game the server has just begun reaches the web front a moment
// later.
bool waitUntilServed(quint16 port, const QByteArray& target, int timeoutMs = 5000);

}  // namespace bench
