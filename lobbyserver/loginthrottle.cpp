#include "loginthrottle.h"

#include <algorithm>

namespace lobby {

bool LoginThrottle::slowed(const Record& record, qint64 now) {
    return record.failures.size() >= kFreeFailures && now - record.failures.front() < kWindowMs;
}

bool LoginThrottle::mayCheck(const QString& address, qint64 now) {
    const auto it = records_.find(address);
    if (it == records_.end()) return true;
    Record& record = it->second;
    if (slowed(record, now) && record.checkedOnce && now - record.lastCheck < kCheckIntervalMs)
        return false;
    record.lastCheck = now;
    record.checkedOnce = true;
    return true;
}

qint64 LoginThrottle::nextCheckAt(const QString& address, qint64 now) const {
    const auto it = records_.find(address);
    if (it == records_.end()) return now;
    const Record& record = it->second;
    if (!slowed(record, now) || !record.checkedOnce) return now;
    return std::max(
        now, std::min(record.lastCheck + kCheckIntervalMs, record.failures.front() + kWindowMs));
}

bool LoginThrottle::failed(const QString& address, qint64 now) {
    if (records_.size() >= kMaxAddresses && !records_.count(address)) {
        forgetOld(now);
        if (records_.size() >= kMaxAddresses) {
            const auto oldest = std::min_element(
                records_.begin(), records_.end(), [](const auto& a, const auto& b) {
                    return a.second.failures.back() < b.second.failures.back();
                });
            records_.erase(oldest);
        }
    }
    Record& record = records_[address];
    const bool wasSlowed = slowed(record, now);
    record.failures.push_back(now);
    if (record.failures.size() > kFreeFailures) record.failures.pop_front();
    if (!record.checkedOnce) {
        record.lastCheck = now;
        record.checkedOnce = true;
    }
    return !wasSlowed && slowed(record, now);
}

void LoginThrottle::forgetOld(qint64 now) {
    std::erase_if(records_, [now](const auto& entry) {
        return now - entry.second.failures.back() >= kWindowMs;
    });
}

}  // namespace lobby
