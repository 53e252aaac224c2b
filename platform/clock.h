#pragma once

#include <functional>
#include <memory>

namespace platform {

// A repeating timer (a game clock, a login watchdog, a poll). Once started it
// calls its owner back every interval until stopped.
class Timer {
public:
    virtual ~Timer() = default;

    // (Re)starts the timer: the first call back comes `intervalMs` from now.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
};

// Where a class that decides by time gets its timers: Qt's in the programs,
// a clock the test moves by hand in the unit tests, so that a tick is a call,
// not a wait.
class Clock {
public:
    virtual ~Clock() = default;

    // A stopped timer that calls `timeout` on each of its ticks. The caller
    // keeps it, and it must go before the clock.
    virtual std::unique_ptr<Timer> makeTimer(std::function<void()> timeout) = 0;
};

}  // namespace platform
