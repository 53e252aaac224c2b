#include "qtclock.h"

#include <QTimer>
#include <utility>

namespace platform {

namespace {

class QtTimer : public Timer {
public:
    explicit QtTimer(std::function<void()> timeout) {
        QObject::connect(&timer_, &QTimer::timeout, std::move(timeout));
    }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<Timer> QtClock::makeTimer(std::function<void()> timeout) {
    return std::make_unique<QtTimer>(std::move(timeout));
}

}  // namespace platform
