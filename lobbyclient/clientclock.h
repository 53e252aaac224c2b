#pragma once

#include <functional>
#include <memory>

namespace lobbyclient {

// A timer of the lobby client (the user-list poll, the login timeout). Once
// started it calls its owner back every interval until stopped.
class ClientTimer {
public:
    virtual ~ClientTimer() = default;

    // (Re)starts the timer: the first call back comes `intervalMs` from now.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
};

// Where the client gets its timers: Qt's in the program, a clock the test
// moves by hand in the client's tests, so that a poll is a call, not a wait.
class ClientClock {
public:
    virtual ~ClientClock() = default;

    // A stopped timer that calls `timeout` on each of its ticks. The caller
    // keeps it, and it must go before the clock.
    virtual std::unique_ptr<ClientTimer> makeTimer(std::function<void()> timeout) = 0;
};

}  // namespace lobbyclient
