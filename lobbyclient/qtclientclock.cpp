#include "qtclientclock.h"

#include <QTimer>

namespace lobbyclient {

namespace {

class QtClientTimer : public ClientTimer {
public:
    explicit QtClientTimer(std::function<void()> timeout) {
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

std::unique_ptr<ClientTimer> QtClientClock::makeTimer(std::function<void()> timeout) {
    return std::make_unique<QtClientTimer>(std::move(timeout));
}

}  // namespace lobbyclient
