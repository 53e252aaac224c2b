#pragma once

#include <QString>

#include "latency.h"

namespace bench {

struct FanoutOptions {
    QString brellowPath;
    int watchers = 10000;
    int moves = 20;
};

struct FanoutResult {
    QString error;  // empty when the run went through
    int watchers = 0;
    // Each move at each watcher: from the move's sending by its player to
    // its event's arrival at the watcher.
    Latencies delivery;
    // Each move: until the last watcher had it.
    Latencies lastArrival;
    // The server's resident memory for each watcher connected.
    double kibPerWatcher = 0;
    int dropped = 0;  // watchers whose stream ended during the run
};

// Two players of a real `Brellow --headless --web 0` play a game of
// `moves` moves while `watchers` event streams of the web front follow it.
FanoutResult runFanoutBench(const FanoutOptions& options);

}  // namespace bench
