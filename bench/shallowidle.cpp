#include "shallowidle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

using namespace Qt::StringLiterals;

namespace bench {

ShallowIdle::ShallowIdle() {
    fd_ = ::open("/dev/cpu_dma_latency", O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) {
        whyNot_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    const std::int32_t microseconds = 0;
    if (::write(fd_, &microseconds, sizeof microseconds) != sizeof microseconds) {
        whyNot_ = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd_);
        fd_ = -1;
    }
}

ShallowIdle::~ShallowIdle() {
    if (fd_ >= 0) ::close(fd_);
}

QString ShallowIdle::description() const {
    if (held())
        return u"Processors kept out of deep idle states during the run (/dev/cpu_dma_latency 0)."_s;
    return u"Processors NOT kept out of deep idle states (/dev/cpu_dma_latency: "_s + whyNot_ +
           u"): latencies include waking from idle, and the relay's figures vary from run to run."_s;
}

}  // namespace bench
