#pragma once

#include <QString>

#include "latency.h"

namespace bench {

struct CapacityOptions {
    QString brellowPath;
    int pairs = 25;         // linked pairs of game programs: 2 users each
    int moveEveryMs = 100;  // each pair: one move (and its acknowledgement)
    int pollEveryMs = 250;  // each lobby client: one user-list poll
    int seconds = 60;       // how long the load lasts
};

struct CapacityResult {
    QString error;                // empty when the run went through
    double seconds = 0;           // the load as it really lasted
    long long messages = 0;       // messages the server received under the load
    double serverCpuSeconds = 0;  // the server's CPU time under the load
    qint64 residentKib = 0;       // the server's resident memory at the end
    qint64 peakResidentKib = 0;   // and the most it had
    Latencies userListReplies;    // poll -> whole user list
    long long listsShort = 0;     // user lists that did not name every user
    long long movesSent = 0;
    long long movesInOrder = 0;  // moves that arrived, each once, in order
    long long movesWrong = 0;    // moves that arrived where another was due
    long long acksMissing = 0;   // moves whose acknowledgement never came back
};

// A lobby at its limit: every slot taken, the users paired and their game
// programs linked, each pair exchanging moves and every client polling the
// user list. Every move is checked to arrive once and in order.
CapacityResult runCapacityBench(const CapacityOptions& options);

}  // namespace bench
