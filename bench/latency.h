#pragma once

#include <cstddef>
#include <vector>

namespace bench {

// Latencies of one kind, in microseconds, and their percentiles.
class Latencies {
public:
    void add(double microseconds) { samples_.push_back(microseconds); }
    std::size_t count() const { return samples_.size(); }

    // The nearest-rank percentile `p` (0 < p <= 100): the smallest sample
    // that at least p % of the samples do not exceed. 0 without samples.
    double percentile(double p) const;

private:
    std::vector<double> samples_;
};

}  // namespace bench
