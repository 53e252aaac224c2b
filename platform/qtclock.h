#pragma once

#include "clock.h"

namespace platform {

// The programs' clock: every timer is a QTimer on the event loop.
class QtClock : public Clock {
public:
    std::unique_ptr<Timer> makeTimer(std::function<void()> timeout) override;
};

}  // namespace platform
