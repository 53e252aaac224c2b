#pragma once

#include <QtGlobal>

namespace web {

// The bounds the web server keeps, whatever its clients do. The defaults are
// the server's; tests and measurements set their own.
struct HttpLimits {
    int maxHeadBytes = 8 * 1024;                // request line and headers together
    int maxHeaders = 100;                       // header lines of one request
    int requestTimeoutMs = 10'000;              // from a request's first byte to its end
    int idleTimeoutMs = 60'000;                 // a kept-alive connection with nothing to do
    int lingerMs = 2'000;                       // a closing connection's last reads
    int maxRequestsPerConnection = 100;         // then the answer says "close"
    int maxConnectionsPerAddress = 64;          // open at once, per client address
    int maxConnections = 20'000;                // open at once, all together
    double requestsPerSecond = 20;              // the steady rate per client address
    double requestBurst = 100;                  // what a client address may use at once
    qsizetype maxStreamBacklog = 64 * 1024;     // unsent bytes of an event stream
    qsizetype maxResponseBacklog = 256 * 1024;  // unsent answers before reading stops
    int keepAliveCommentMs = 15'000;            // a comment on every event stream
};

}  // namespace web
