#include "ratelimiter.h"

#include <algorithm>

namespace web {

RateLimiter::RateLimiter(double perSecond, double burst)
    : perSecond_(std::max(perSecond, 0.0)), burst_(std::max(burst, 1.0)) {}

double RateLimiter::refilled(const Bucket& bucket, qint64 nowMs) const {
    const double elapsed = static_cast<double>(std::max<qint64>(nowMs - bucket.atMs, 0)) / 1000.0;
    return std::min(burst_, bucket.tokens + elapsed * perSecond_);
}

bool RateLimiter::take(const QByteArray& address, qint64 nowMs) {
    auto it = buckets_.find(address);
    if (it == buckets_.end()) it = buckets_.insert(address, Bucket{burst_, nowMs});
    const double tokens = refilled(*it, nowMs);
    it->atMs = nowMs;
    if (tokens < 1.0) {
        it->tokens = tokens;
        return false;
    }
    it->tokens = tokens - 1.0;
    return true;
}

void RateLimiter::forgetFull(qint64 nowMs) {
    for (auto it = buckets_.begin(); it != buckets_.end();) {
        if (refilled(*it, nowMs) >= burst_)
            it = buckets_.erase(it);
        else
            ++it;
    }
}

}  // namespace web
