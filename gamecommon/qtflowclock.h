#pragma once

#include "flowclock.h"

namespace gamecommon {

// The programs' clock: every timer is a QTimer on the event loop.
class QtFlowClock : public FlowClock {
public:
    std::unique_ptr<FlowTimer> makeTimer(std::function<void()> timeout) override;
};

}  // namespace gamecommon
