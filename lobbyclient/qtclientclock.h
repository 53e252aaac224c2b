#pragma once

#include "clientclock.h"

namespace lobbyclient {

// The program's clock: every timer is a QTimer on the event loop.
class QtClientClock : public ClientClock {
public:
    std::unique_ptr<ClientTimer> makeTimer(std::function<void()> timeout) override;
};

}  // namespace lobbyclient
