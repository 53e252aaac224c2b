#pragma once

#include "clock.h"

namespace gamecommon {

// The match flow's timers (the game clock, the login watchdog) come from a
// clock: Qt's in the programs, one the test moves by hand in the flow's tests.
using FlowTimer = platform::Timer;
using FlowClock = platform::Clock;

}  // namespace gamecommon
