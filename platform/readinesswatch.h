#pragma once

#include <QPointer>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "epolldispatcher.h"

namespace platform {

// Tells a handler, from the event loop, while a descriptor is ready for
// reading (or writing) and the watch is enabled: as a QSocketNotifier does,
// and through one where the thread's loop is Qt's. In a thread run by an
// EpollDispatcher the loop calls the handler itself, without the event and
// the signal a notifier goes through: for a server that relays every
// message it receives, they are a good part of what a message costs.
//
// Made and used in one thread; the handler may delete the watch.
class ReadinessWatch {
public:
    ReadinessWatch(int descriptor, QSocketNotifier::Type type, std::function<void()> onReady);
    ~ReadinessWatch();
    ReadinessWatch(const ReadinessWatch&) = delete;
    ReadinessWatch& operator=(const ReadinessWatch&) = delete;

    void setEnabled(bool on);
    bool isEnabled() const { return enabled_; }

    // What the loop calls. The handler runs from a copy: it may delete
    // this watch.
    void tell() const {
        const std::function<void()> onReady = onReady_;
        onReady();
    }

private:
    int descriptor_;
    QSocketNotifier::Type type_;
    std::function<void()> onReady_;
    bool enabled_ = false;
    // The thread's loop, when it is one; a loop that ended before the watch
    // has nothing more to forget.
    QPointer<EpollDispatcher> loop_;
    std::unique_ptr<QSocketNotifier> notifier_;  // otherwise
};

}  // namespace platform
