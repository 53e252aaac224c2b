#include "epolldispatcher.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QMetaMethod>
#include <QSocketNotifier>
#include <QTimerEvent>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <utility>

#include "readinesswatch.h"

namespace platform {

namespace {

constexpr int kMaxEvents = 256;

int typeIndex(QSocketNotifier::Type type) {
    switch (type) {
        case QSocketNotifier::Read:
            return 0;
        case QSocketNotifier::Write:
            return 1;
        case QSocketNotifier::Exception:
            return 2;
    }
    return 0;
}

}  // namespace

EpollDispatcher::EpollDispatcher(QObject* parent) : QAbstractEventDispatcher(parent) {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (epoll_ >= 0 && wake_ >= 0) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = wake_;
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &event);
    }
}

EpollDispatcher::~EpollDispatcher() {
    if (epoll_ >= 0) ::close(epoll_);
    if (wake_ >= 0) ::close(wake_);
}

void EpollDispatcher::updateWatch(int fd, Watched& watched) {
    if (!watched.epoll) return;
    epoll_event event{};
    if (watched.wanted(0)) event.events |= EPOLLIN;
    if (watched.wanted(1)) event.events |= EPOLLOUT;
    if (watched.wanted(2)) event.events |= EPOLLPRI;
    event.data.fd = fd;
    // A descriptor closed before its notifier went has left the set by
    // itself, and its number may come back with a new socket: then it is
    // added again.
    int result = ::epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &event);
    if (result != 0 && errno == ENOENT) result = ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &event);
    if (result == 0 || errno != EPERM) return;
    // A regular file cannot be watched; poll() calls it ready at all times,
    // and so does this loop.
    watched.epoll = false;
    alwaysReady_.push_back(fd);
}

void EpollDispatcher::forgetIfUnwatched(std::unordered_map<int, Watched>::iterator it) {
    const int fd = it->first;
    Watched& watched = it->second;
    if (watched.wanted(0) || watched.wanted(1) || watched.wanted(2)) {
        updateWatch(fd, watched);
        return;
    }
    if (watched.epoll)
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, nullptr);
    else
        alwaysReady_.erase(std::remove(alwaysReady_.begin(), alwaysReady_.end(), fd),
                           alwaysReady_.end());
    watched_.erase(it);
}

void EpollDispatcher::registerSocketNotifier(QSocketNotifier* notifier) {
    const int fd = int(notifier->socket());
    if (fd < 0 || epoll_ < 0) return;
    Watched& watched = watched_[fd];
    watched.notifiers[typeIndex(notifier->type())] = notifier;
    updateWatch(fd, watched);
}

void EpollDispatcher::unregisterSocketNotifier(QSocketNotifier* notifier) {
    const int fd = int(notifier->socket());
    const auto it = watched_.find(fd);
    if (it == watched_.end()) return;
    QSocketNotifier*& slot = it->second.notifiers[typeIndex(notifier->type())];
    if (slot != notifier) return;
    slot = nullptr;
    forgetIfUnwatched(it);
}

void EpollDispatcher::watchDirectly(int fd, QSocketNotifier::Type type, ReadinessWatch* watch) {
    const int index = typeIndex(type);
    if (fd < 0 || epoll_ < 0 || index > 1) return;
    if (watch) {
        Watched& watched = watched_[fd];
        watched.direct[index] = watch;
        updateWatch(fd, watched);
        return;
    }
    const auto it = watched_.find(fd);
    if (it == watched_.end() || !it->second.direct[index]) return;
    it->second.direct[index] = nullptr;
    forgetIfUnwatched(it);
}

void EpollDispatcher::registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                                    QObject* object) {
    Timer timer;
    timer.id = timerId;
    timer.intervalMs = std::max<qint64>(interval, 0);
    timer.type = timerType;
    timer.object = object;
    timer.due = Clock::now() + std::chrono::milliseconds(timer.intervalMs);
    timers_.push_back(timer);
}

bool EpollDispatcher::unregisterTimer(int timerId) {
    const auto it = std::find_if(timers_.begin(), timers_.end(),
                                 [&](const Timer& t) { return t.id == timerId; });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    return true;
}

bool EpollDispatcher::unregisterTimers(QObject* object) {
    const auto end = std::remove_if(timers_.begin(), timers_.end(),
                                    [&](const Timer& t) { return t.object == object; });
    const bool any = end != timers_.end();
    timers_.erase(end, timers_.end());
    return any;
}

QList<QAbstractEventDispatcher::TimerInfo> EpollDispatcher::registeredTimers(
    QObject* object) const {
    QList<TimerInfo> list;
    for (const Timer& t : timers_)
        if (t.object == object) list.append(TimerInfo(t.id, int(t.intervalMs), t.type));
    return list;
}

int EpollDispatcher::remainingTime(int timerId) {
    const auto now = Clock::now();
    for (const Timer& t : timers_) {
        if (t.id != timerId) continue;
        if (t.due <= now) return 0;
        return int(std::chrono::ceil<std::chrono::milliseconds>(t.due - now).count());
    }
    return -1;
}

void EpollDispatcher::wakeUp() {
    // One write until the loop has taken it: a burst of posted events costs
    // one system call.
    if (wakePending_.exchange(true) || wake_ < 0) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
}

void EpollDispatcher::interrupt() {
    interrupted_ = true;
    wakeUp();
}

void EpollDispatcher::drainWake() {
    std::uint64_t count = 0;
    while (wake_ >= 0 && ::read(wake_, &count, sizeof count) > 0) {
    }
}

int EpollDispatcher::msToNextTimer(Clock::time_point now) const {
    if (timers_.empty()) return -1;
    Clock::time_point first = timers_.front().due;
    for (const Timer& t : timers_)
        first = std::min(first, t.due);
    if (first <= now) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(first - now).count();
    return int(std::min<long long>(ms, INT_MAX));
}

bool EpollDispatcher::activateTimers() {
    const auto now = Clock::now();
    // The earliest first, as they fell due.
    std::vector<std::pair<Clock::time_point, int>> due;
    for (const Timer& t : timers_)
        if (t.due <= now && !t.firing) due.emplace_back(t.due, t.id);
    std::sort(due.begin(), due.end());
    bool any = false;
    for (const auto& entry : due) {
        const int id = entry.second;
        // An earlier timer's handler may have stopped this one (and its ID
        // may have gone to a timer not due yet).
        auto it = std::find_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.id == id; });
        if (it == timers_.end() || it->firing || it->due > now) continue;
        const auto interval = std::chrono::milliseconds(it->intervalMs);
        it->due += interval;
        if (it->due <= now) it->due = now + interval;  // fell behind: no catching up
        it->firing = true;
        QObject* const object = it->object;
        QTimerEvent event(id);
        QCoreApplication::sendEvent(object, &event);
        any = true;
        it = std::find_if(timers_.begin(), timers_.end(),
                          [&](const Timer& t) { return t.id == id; });
        if (it != timers_.end()) it->firing = false;
    }
    return any;
}

bool EpollDispatcher::activateSocket(int fd, int type) {
    // Looked up again for each: an earlier handler may have disabled or
    // deleted this notifier.
    const auto it = watched_.find(fd);
    if (it == watched_.end()) return false;
    if (type < 2) {
        if (const ReadinessWatch* const watch = it->second.direct[type]) {
            watch->tell();
            return true;
        }
    }
    QSocketNotifier* const notifier = it->second.notifiers[type];
    if (!notifier) return false;
    QEvent event(QEvent::SockAct);
    QCoreApplication::sendEvent(notifier, &event);
    return true;
}

namespace {

bool isWaitSignal(const QMetaMethod& signal) {
    return signal == QMetaMethod::fromSignal(&QAbstractEventDispatcher::awake) ||
           signal == QMetaMethod::fromSignal(&QAbstractEventDispatcher::aboutToBlock);
}

}  // namespace

void EpollDispatcher::connectNotify(const QMetaMethod& signal) {
    if (isWaitSignal(signal)) ++waitListeners_;
}

void EpollDispatcher::disconnectNotify(const QMetaMethod& signal) {
    // An invalid method: everything was disconnected at once.
    if (!signal.isValid())
        waitListeners_ = 0;
    else if (isWaitSignal(signal))
        --waitListeners_;
}

bool EpollDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags) {
    interrupted_ = false;
    const bool tellWaits = waitListeners_ > 0;
    if (tellWaits) emit awake();
    if (wakePending_.exchange(false)) drainWake();
    QCoreApplication::sendPostedEvents();

    const bool sockets = !(flags & QEventLoop::ExcludeSocketNotifiers);
    const bool mayWait = (flags & QEventLoop::WaitForMoreEvents) && !interrupted_ &&
                         !wakePending_ && !(sockets && !alwaysReady_.empty());
    int timeout = 0;
    if (mayWait) {
        timeout = msToNextTimer(Clock::now());
        if (tellWaits) emit aboutToBlock();
    }
    epoll_event events[kMaxEvents];
    int ready = 0;
    if (!sockets) {
        // Only a wake-up or a timer ends the wait.
        pollfd wake{wake_, POLLIN, 0};
        if (wake_ >= 0) ::poll(&wake, 1, timeout);
    } else if (epoll_ >= 0) {
        ready = ::epoll_wait(epoll_, events, kMaxEvents, timeout);
    } else if (timeout != 0) {
        ::poll(nullptr, 0, timeout);
    }
    if (mayWait && tellWaits) emit awake();

    bool any = false;
    for (int i = 0; i < ready && !interrupted_; ++i) {
        const int fd = events[i].data.fd;
        const std::uint32_t what = events[i].events;
        if (fd == wake_) {
            drainWake();
            continue;
        }
        if (what & (EPOLLIN | EPOLLHUP | EPOLLERR)) any |= activateSocket(fd, 0);
        if (what & (EPOLLOUT | EPOLLERR)) any |= activateSocket(fd, 1);
        if (what & EPOLLPRI) any |= activateSocket(fd, 2);
    }
    if (sockets && !interrupted_) {
        const std::vector<int> files = alwaysReady_;
        for (const int fd : files) {
            any |= activateSocket(fd, 0);
            any |= activateSocket(fd, 1);
        }
    }
    if (!interrupted_ && !(flags & QEventLoop::X11ExcludeTimers)) any |= activateTimers();
    return any;
}

}  // namespace platform
