#pragma once

#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

// A clock that moves only when the test says so, for a class that takes its
// timers from a clock interface (`Clock`, making `Timer`s through
// makeTimer(timeout)). advance() fires every tick that comes due on the way,
// in time order, as often as it comes due: no event loop, no waits.
template <class Clock, class Timer>
class HandClock : public Clock {
public:
    // Milliseconds since the clock was made.
    qint64 now() const { return now_; }

    std::unique_ptr<Timer> makeTimer(std::function<void()> timeout) override {
        return std::make_unique<HandTimer>(*this, std::move(timeout));
    }

    void advance(qint64 ms) {
        const qint64 until = now_ + ms;
        for (;;) {
            HandTimer* next = nullptr;
            for (HandTimer* t : timers_)
                if (t->active_ && t->due_ <= until && (!next || t->due_ < next->due_)) next = t;
            if (!next) break;
            now_ = next->due_;
            next->due_ += std::max(1, next->interval_);
            next->timeout_();  // may stop, restart or destroy any timer
        }
        now_ = until;
    }

private:
    class HandTimer : public Timer {
    public:
        HandTimer(HandClock& clock, std::function<void()> timeout)
            : clock_(clock), timeout_(std::move(timeout)) {
            clock_.timers_.push_back(this);
        }
        ~HandTimer() override { std::erase(clock_.timers_, this); }

        void start(int intervalMs) override {
            interval_ = intervalMs;
            due_ = clock_.now_ + intervalMs;
            active_ = true;
        }
        void stop() override { active_ = false; }
        bool isActive() const override { return active_; }
        int interval() const override { return interval_; }

        HandClock& clock_;
        std::function<void()> timeout_;
        int interval_ = 0;
        qint64 due_ = 0;
        bool active_ = false;
    };

    qint64 now_ = 0;
    std::vector<HandTimer*> timers_;
};

}  // namespace testsupport
