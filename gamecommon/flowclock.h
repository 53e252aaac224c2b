#pragma once

#include <functional>
#include <memory>

namespace gamecommon {

// A repeating timer of the match flow (the game clock, the login watchdog).
// Once started it calls its owner back every interval until stopped.
class FlowTimer {
public:
    virtual ~FlowTimer() = default;

    // (Re)starts the timer: the first call back comes `intervalMs` from now.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
};

// Where the flow gets its timers: Qt's in the programs, a clock the test
// moves by hand in the flow's tests, so that a tick is a call, not a wait.
class FlowClock {
public:
    virtual ~FlowClock() = default;

    // A stopped timer that calls `timeout` on each of its ticks. The caller
    // keeps it, and it must go before the clock.
    virtual std::unique_ptr<FlowTimer> makeTimer(std::function<void()> timeout) = 0;
};

}  // namespace gamecommon
