#pragma once

#include <QByteArray>
#include <QHash>

namespace web {

// Requests per client address, as token buckets: each address may make
// `burst` requests at once and `perSecond` a second from then on. A bucket
// that has filled up again is the same as none, so the buckets of addresses
// gone quiet are forgotten (forgetFull), which bounds the memory by the
// addresses active in the last burst / perSecond seconds.
class RateLimiter {
public:
    RateLimiter(double perSecond, double burst);

    // Takes one token of `address` at `nowMs` (a steady clock); false when
    // its bucket is empty.
    bool take(const QByteArray& address, qint64 nowMs);

    // Drops the buckets that are full at `nowMs`.
    void forgetFull(qint64 nowMs);

    qsizetype size() const { return buckets_.size(); }

private:
    struct Bucket {
        double tokens = 0;
        qint64 atMs = 0;
    };
    double refilled(const Bucket& bucket, qint64 nowMs) const;

    double perSecond_;
    double burst_;
    QHash<QByteArray, Bucket> buckets_;
};

}  // namespace web
