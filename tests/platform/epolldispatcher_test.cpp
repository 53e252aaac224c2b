// The epoll event loop as a thread runs it: socket notifiers, readiness
// watches, timers, posted events from another thread, and the turns a
// handler's own changes take.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>
#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "epolldispatcher.h"
#include "readinesswatch.h"

namespace platform {
namespace {

using namespace std::chrono_literals;

// A thread whose loop is the epoll loop; run() executes in it and returns
// when done. Leaving quits the loop (through the dispatcher's interrupt).
class LoopThread {
public:
    explicit LoopThread(bool epoll = true) {
        if (epoll) thread_.setEventDispatcher(new EpollDispatcher);
        thread_.start();
        context_.moveToThread(&thread_);
    }
    ~LoopThread() {
        thread_.quit();
        EXPECT_TRUE(thread_.wait(5000));
    }
    void run(const std::function<void()>& f) {
        QMetaObject::invokeMethod(&context_, f, Qt::BlockingQueuedConnection);
    }
    QObject* context() { return &context_; }

private:
    QThread thread_;
    QObject context_;
};

// What the loop's handlers saw, read from the test's thread.
struct Log {
    std::mutex mutex;
    std::vector<int> seen;
    void add(int n) {
        const std::lock_guard lock(mutex);
        seen.push_back(n);
    }
    std::vector<int> now() {
        const std::lock_guard lock(mutex);
        return seen;
    }
    // Waits until `count` entries are there or two seconds passed.
    std::vector<int> waitFor(std::size_t count) {
        for (int i = 0; i < 200 && now().size() < count; ++i)
            std::this_thread::sleep_for(10ms);
        return now();
    }
};

struct SocketPair {
    int fd[2] = {-1, -1};
    SocketPair() { ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fd); }
    ~SocketPair() {
        for (int f : fd)
            if (f >= 0) ::close(f);
    }
    void send(int bytes) {
        const std::vector<char> data(std::size_t(bytes), 'x');
        ASSERT_EQ(::write(fd[1], data.data(), data.size()), bytes);
    }
};

TEST(EpollDispatcher, ANotifierFiresWhileDataWaitsAndNotOnceDisabled) {
    LoopThread loop;
    SocketPair pair;
    Log log;
    QSocketNotifier* notifier = nullptr;
    loop.run([&] {
        notifier = new QSocketNotifier(pair.fd[0], QSocketNotifier::Read, loop.context());
        QObject::connect(notifier, &QSocketNotifier::activated, [&] {
            char byte = 0;
            if (::read(pair.fd[0], &byte, 1) == 1) log.add(1);
            // Level-triggered: one byte a turn, until three were read.
            if (log.now().size() == 3) notifier->setEnabled(false);
        });
    });
    pair.send(5);
    EXPECT_EQ(log.waitFor(3).size(), 3u);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(log.now().size(), 3u);
    loop.run([&] { delete notifier; });
}

// The same in the epoll loop, which calls the watch itself, and in Qt's,
// where a notifier carries it; the last handler deletes its own watch, as a
// connection closed by what it read does.
class ReadinessWatchLoops : public testing::TestWithParam<bool> {};

TEST_P(ReadinessWatchLoops, AWatchIsToldWhileDataWaitsNotOnceDisabledAndMayEndItself) {
    LoopThread loop(GetParam());
    SocketPair pair;
    Log log;
    ReadinessWatch* watch = nullptr;
    loop.run([&] {
        watch = new ReadinessWatch(pair.fd[0], QSocketNotifier::Read, [&] {
            char byte = 0;
            if (::read(pair.fd[0], &byte, 1) != 1) return;
            log.add(byte);
            if (byte == 'x' && log.now().size() == 2) watch->setEnabled(false);
            if (byte == 'y') {
                delete watch;
                watch = nullptr;
            }
        });
        EXPECT_FALSE(watch->isEnabled());
        watch->setEnabled(true);
        EXPECT_TRUE(watch->isEnabled());
    });
    pair.send(3);
    EXPECT_EQ(log.waitFor(2).size(), 2u);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(log.now().size(), 2u) << "told after it was disabled";
    loop.run([&] { watch->setEnabled(true); });
    ASSERT_EQ(::write(pair.fd[1], "y", 1), 1);
    EXPECT_EQ(log.waitFor(4), (std::vector<int>{'x', 'x', 'x', 'y'}));
    loop.run([&] { EXPECT_EQ(watch, nullptr); });
}

INSTANTIATE_TEST_SUITE_P(EpollAndQt, ReadinessWatchLoops, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "epoll" : "qt";
                         });

TEST(EpollDispatcher, ANotifierDeletedByAnotherHandlerInTheSameTurnStaysSilent) {
    LoopThread loop;
    SocketPair first, second;
    Log log;
    QSocketNotifier* notifiers[2] = {nullptr, nullptr};
    loop.run([&] {
        // Both are ready before the loop looks: one turn reports both.
        first.send(1);
        second.send(1);
        for (int k = 0; k < 2; ++k) {
            const int fd = (k == 0 ? first : second).fd[0];
            notifiers[k] = new QSocketNotifier(fd, QSocketNotifier::Read, loop.context());
            QObject::connect(notifiers[k], &QSocketNotifier::activated, [&, k] {
                log.add(k);
                delete notifiers[1 - k];
                notifiers[1 - k] = nullptr;
                notifiers[k]->setEnabled(false);
            });
        }
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(log.now().size(), 1u);
    loop.run([&] {
        for (QSocketNotifier* n : notifiers)
            delete n;
    });
}

TEST(EpollDispatcher, ADescriptorNumberClosedAndReusedIsWatchedAfresh) {
    LoopThread loop;
    Log log;
    auto old = std::make_unique<SocketPair>();
    const int number = old->fd[0];
    QSocketNotifier* stale = nullptr;
    loop.run([&] { stale = new QSocketNotifier(number, QSocketNotifier::Read); });
    // The socket goes before its notifier; a new one gets the same number.
    ::close(old->fd[0]);
    old->fd[0] = -1;
    SocketPair fresh;
    if (fresh.fd[0] != number) GTEST_SKIP() << "the number was not reused";
    QSocketNotifier* notifier = nullptr;
    loop.run([&] {
        notifier = new QSocketNotifier(number, QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated, [&] {
            char byte = 0;
            if (::read(number, &byte, 1) == 1) log.add(1);
        });
        delete stale;
    });
    fresh.send(1);
    EXPECT_EQ(log.waitFor(1).size(), 1u);
    loop.run([&] { delete notifier; });
}

TEST(EpollDispatcher, AFileThatEpollCannotWatchIsAlwaysReady) {
    LoopThread loop;
    Log log;
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    QSocketNotifier* notifier = nullptr;
    loop.run([&] {
        notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
        QObject::connect(notifier, &QSocketNotifier::activated, [&] {
            log.add(1);
            notifier->setEnabled(false);
        });
    });
    EXPECT_EQ(log.waitFor(1).size(), 1u);
    loop.run([&] { delete notifier; });
    ::close(fd);
}

TEST(EpollDispatcher, TimersFireInTheOrderTheyAreDueAndAStoppedOneNever) {
    LoopThread loop;
    Log log;
    std::vector<QTimer*> timers;
    std::atomic<int> ticks{0};
    int remaining = -2;
    loop.run([&] {
        for (const int ms : {60, 20, 40}) {
            auto* t = new QTimer;
            t->setSingleShot(true);
            t->setInterval(ms);
            timers.push_back(t);
        }
        // The 20 ms one stops the 40 ms one.
        QObject::connect(timers[1], &QTimer::timeout, [&] {
            log.add(20);
            timers[2]->stop();
        });
        QObject::connect(timers[0], &QTimer::timeout, [&] { log.add(60); });
        QObject::connect(timers[2], &QTimer::timeout, [&] { log.add(40); });
        auto* repeating = new QTimer;
        repeating->setInterval(5);
        QObject::connect(repeating, &QTimer::timeout, [&] { ++ticks; });
        timers.push_back(repeating);
        for (QTimer* t : timers)
            t->start();
        remaining = timers[0]->remainingTime();
    });
    EXPECT_GE(remaining, 0);
    EXPECT_LE(remaining, 60);
    EXPECT_EQ(log.waitFor(2), (std::vector<int>{20, 60}));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(log.now().size(), 2u);
    EXPECT_GE(ticks.load(), 5);
    loop.run([&] { qDeleteAll(timers); });
}

TEST(EpollDispatcher, ALoopAboutToSleepTellsThoseWhoListen) {
    LoopThread loop;
    std::atomic<int> waits{0};
    QMetaObject::Connection connection;
    loop.run([&] {
        connection = QObject::connect(QAbstractEventDispatcher::instance(),
                                      &QAbstractEventDispatcher::aboutToBlock, [&] { ++waits; });
    });
    // Each pause lets the loop go to sleep once.
    for (int k = 0; k < 3; ++k) {
        loop.run([] {});
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_GE(waits.load(), 3);
    loop.run([&] { QObject::disconnect(connection); });
}

TEST(EpollDispatcher, AnEventPostedFromAnotherThreadWakesALoopWithNothingToWaitFor) {
    LoopThread loop;
    Log log;
    for (int k = 0; k < 3; ++k) {
        // No timer, no socket: only the wake-up ends the loop's wait.
        std::this_thread::sleep_for(20ms);
        QMetaObject::invokeMethod(loop.context(), [&, k] { log.add(k); });
        EXPECT_EQ(log.waitFor(std::size_t(k) + 1).size(), std::size_t(k) + 1);
    }
}

}  // namespace
}  // namespace platform
