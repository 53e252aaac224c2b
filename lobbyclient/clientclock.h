#pragma once

#include "clock.h"

namespace lobbyclient {

// The lobby client's timers (the user-list poll, the login timeout) come from
// a clock: Qt's in the program, one the test moves by hand in its tests.
using ClientTimer = platform::Timer;
using ClientClock = platform::Clock;

}  // namespace lobbyclient
