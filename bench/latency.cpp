#include "latency.h"

#include <algorithm>
#include <cmath>

namespace bench {

double Latencies::percentile(double p) const {
    if (samples_.empty()) return 0;
    std::vector<double> sorted = samples_;
    const auto rank =
        static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(sorted.size())));
    const std::size_t index = std::clamp<std::size_t>(rank, 1, sorted.size()) - 1;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(index),
                     sorted.end());
    return sorted[index];
}

}  // namespace bench
