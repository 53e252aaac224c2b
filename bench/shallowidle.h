#pragma once

#include <QString>

namespace bench {

// Keeps the processors out of their deep idle states for as long as it lives,
// as a server tuned for latency is kept and as latency benchmarks measure:
// a request for a wake-up latency of zero through /dev/cpu_dma_latency, which
// the kernel honours while the file stays open. Without it, a processor that
// idles between two messages may sleep (in a virtual machine: hand its core to
// other work) and wake with its caches cold, and what a relay then costs
// depends more on the machine than on the relay. Both relays of the relay
// benchmark run under the same request.
//
// Opening the file takes root; without it nothing is held, and held() says so.
class ShallowIdle {
public:
    ShallowIdle();
    ~ShallowIdle();
    ShallowIdle(const ShallowIdle&) = delete;
    ShallowIdle& operator=(const ShallowIdle&) = delete;

    bool held() const { return fd_ >= 0; }
    // For the table's description of the machine.
    QString description() const;

private:
    int fd_ = -1;
    QString whyNot_;
};

}  // namespace bench
