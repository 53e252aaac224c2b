#pragma once

#include <QString>

#include "latency.h"

namespace bench {

struct RelayOptions {
    QString brellowPath;
    QString bareRelayPath;
    int roundTrips = 20000;  // for each relay
    int rounds = 40;         // the relays take turns this many times
    int turns = 200;         // moves of the turn-taking game, for each relay
    // Brellow runs with its web front, and this many watchers follow the
    // event stream of a second game, played beside the measured one with a
    // move every `watchedMoveMs` (0 watchers: no web front).
    int webWatchers = 1000;
    int watchedMoveMs = 1000;
};

struct RelayResult {
    QString error;  // empty when the run went through
    // Move -> acknowledgement round trips between two linked game programs.
    Latencies brellowRoundTrips;
    Latencies bareRoundTrips;
    // One-way latency of each move of a game played as the game programs play
    // it: a move, its acknowledgement and at once the answer move.
    Latencies brellowTurns;
    Latencies bareTurns;
    // CPU time each relay used for the measured traffic, and the messages in
    // it (each relay carried the same).
    int webWatchers = 0;       // watchers connected at the start
    int webWatchersAtEnd = 0;  // and still connected at the end, with every move
    int watchedMoves = 0;      // moves of the watched game
    int watchedMoveMs = 0;     // one every this many milliseconds
    double brellowCpuSeconds = 0;
    double bareCpuSeconds = 0;
    long long messages = 0;
};

// Two users log in to a real `Brellow --headless`, pair and link their game
// programs; two more connections meet in the bare relay. Then the same
// traffic goes through both, alternating in rounds so that whatever else the
// machine does falls on both alike.
RelayResult runRelayBench(const RelayOptions& options);

}  // namespace bench
