#pragma once

#include <QString>
#include <deque>
#include <map>

namespace lobby {

// Slows password guessing. An address whose logins failed five times within
// a minute has its logins checked once a second at most, for as long as five
// failures lie within the last minute. A login that comes sooner waits for
// its turn (the server holds it), so a right one from the same address (two
// players behind one router) still gets in, while a guesser gets a check a
// second and learns nothing from when the answer comes.
class LoginThrottle {
public:
    static constexpr std::size_t kFreeFailures = 5;
    static constexpr qint64 kWindowMs = 60000;
    static constexpr qint64 kCheckIntervalMs = 1000;
    // Addresses remembered at once; the oldest are forgotten first. Enough for
    // every guesser of a busy night; a few hundred kilobytes at most.
    static constexpr std::size_t kMaxAddresses = 4096;

    // Whether a login from `address` may be checked at `now` (ms); a login
    // that may is counted as this second's check.
    bool mayCheck(const QString& address, qint64 now);

    // When a login from `address` may next be checked: `now` or later.
    qint64 nextCheckAt(const QString& address, qint64 now) const;

    // A checked login from `address` failed. True when this failure is the
    // one that starts slowing the address down.
    bool failed(const QString& address, qint64 now);

    // Forgets addresses whose failures are all older than a minute.
    void forgetOld(qint64 now);

private:
    struct Record {
        std::deque<qint64> failures;  // the latest kFreeFailures, oldest first
        qint64 lastCheck = 0;
        bool checkedOnce = false;
    };
    static bool slowed(const Record& record, qint64 now);

    std::map<QString, Record> records_;
};

}  // namespace lobby
