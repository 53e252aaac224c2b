#pragma once

#include "scriptedmatchtransport.h"
#include "varneldriver.h"

namespace shogi::test {

// A Varnel on scripted sockets and a hand-moved clock: `peer` is the other
// end of its connections, `clock` its timers.
struct ScriptedVarnel : testsupport::ScriptedNetwork, VarnelDriver {
    ScriptedVarnel() : VarnelDriver(&peer, &clock) {}
};

}  // namespace shogi::test
