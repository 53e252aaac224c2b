#include "qtflowclock.h"

#include <QTimer>

namespace gamecommon {

namespace {

class QtFlowTimer : public FlowTimer {
public:
    explicit QtFlowTimer(std::function<void()> timeout) {
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

std::unique_ptr<FlowTimer> QtFlowClock::makeTimer(std::function<void()> timeout) {
    return std::make_unique<QtFlowTimer>(std::move(timeout));
}

}  // namespace gamecommon
