#pragma once

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <atomic>
#include <chrono>
#include <unordered_map>
#include <vector>

namespace platform {

class ReadinessWatch;

// An event loop for a thread without windows that serves many sockets: it
// waits with epoll, so a pass of the loop costs the same with two connections
// or ten thousand, where Qt's own loop hands the kernel every watched socket
// again on each pass. Socket notifiers, timers, posted events and wake-ups
// behave as in Qt's loop: a socket is reported for as long as it is ready
// (level-triggered), a notifier disabled or deleted by another's handler is
// not activated afterwards, and a timer fires at most once a pass.
//
// Install it before the thread's loop exists: for the main thread with
// QCoreApplication::setEventDispatcher() before the application is made, for
// another with QThread::setEventDispatcher() before start().
class EpollDispatcher : public QAbstractEventDispatcher {
    Q_OBJECT
public:
    explicit EpollDispatcher(QObject* parent = nullptr);
    ~EpollDispatcher() override;

    // False when the kernel gave no epoll or eventfd descriptor; the loop then
    // only runs posted events and timers.
    bool isValid() const { return epoll_ >= 0 && wake_ >= 0; }

    bool processEvents(QEventLoop::ProcessEventsFlags flags) override;

    void registerSocketNotifier(QSocketNotifier* notifier) override;
    void unregisterSocketNotifier(QSocketNotifier* notifier) override;

    void registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                       QObject* object) override;
    bool unregisterTimer(int timerId) override;
    bool unregisterTimers(QObject* object) override;
    QList<TimerInfo> registeredTimers(QObject* object) const override;
    int remainingTime(int timerId) override;

    void wakeUp() override;
    void interrupt() override;

    // Watches `fd` for `type` (read or write) for a ReadinessWatch, which the
    // loop tells itself while the descriptor is ready; null ends the watch.
    // A descriptor is watched for one type by a notifier or by a watch, not both.
    void watchDirectly(int fd, QSocketNotifier::Type type, ReadinessWatch* watch);

protected:
    void connectNotify(const QMetaMethod& signal) override;
    void disconnectNotify(const QMetaMethod& signal) override;

private:
    using Clock = std::chrono::steady_clock;

    // The notifiers of one descriptor, by type (read, write, exception).
    struct Watched {
        QSocketNotifier* notifiers[3] = {nullptr, nullptr, nullptr};
        ReadinessWatch* direct[2] = {nullptr, nullptr};  // read, write
        bool epoll = true;  // false: a descriptor epoll cannot watch (a file), always ready
        bool wanted(int type) const { return notifiers[type] || (type < 2 && direct[type]); }
    };
    struct Timer {
        int id = 0;
        qint64 intervalMs = 0;
        Qt::TimerType type = Qt::CoarseTimer;
        QObject* object = nullptr;
        Clock::time_point due;
        bool firing = false;  // its event is being sent now
    };

    void updateWatch(int fd, Watched& watched);
    // Drops what `fd` is watched for once nothing watches it any more.
    void forgetIfUnwatched(std::unordered_map<int, Watched>::iterator it);
    // Milliseconds until the next timer is due: -1 without timers.
    int msToNextTimer(Clock::time_point now) const;
    bool activateTimers();
    bool activateSocket(int fd, int type);
    void drainWake();

    int epoll_ = -1;
    int wake_ = -1;  // an eventfd that wakeUp() writes to
    std::atomic<bool> wakePending_{false};
    std::atomic<bool> interrupted_{false};
    std::unordered_map<int, Watched> watched_;
    std::vector<int> alwaysReady_;  // descriptors epoll refused
    std::vector<Timer> timers_;
    // What listens to awake() and aboutToBlock(): nothing does in a server,
    // and the two signals would go out several times a pass. Connections
    // may be made from any thread.
    std::atomic<int> waitListeners_{0};
};

}  // namespace platform
