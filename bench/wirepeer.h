#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "framingrules.h"
#include "messageframer.h"

namespace bench {

// One connection of the benchmark to a relay on 127.0.0.1, written the
// plainest way so that it costs the same whichever relay it talks to: a
// blocking socket that sends at once (TCP_NODELAY, as every program's socket
// does), one write per message, and reads that wait in poll(). The hot paths
// compare raw bytes (`expect`); the set-up and the capacity run find message
// boundaries with the programs' own framer.
class WirePeer {
public:
    // Connects at once; ok() tells whether it worked.
    WirePeer(quint16 port, net::FramingRules rules);
    ~WirePeer();

    WirePeer(const WirePeer&) = delete;
    WirePeer& operator=(const WirePeer&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Sends the message in one write (as many as the kernel needs to take it
    // all). False when the connection is gone.
    bool send(const QByteArray& wireBytes);
    bool send(const QString& text);

    // Waits until exactly `wireBytes` have arrived next and takes them; false
    // when other bytes came, the connection ended, or `timeoutMs` passed.
    bool expect(const QByteArray& wireBytes, int timeoutMs = 5000);

    // The next whole message, or nothing after `timeoutMs` (a message that
    // only may be complete is taken as it stands then).
    std::optional<QString> next(int timeoutMs = 5000);

    // The next message that starts with `prefix`; the ones before it are
    // dropped.
    std::optional<QString> nextStartingWith(const QString& prefix, int timeoutMs = 5000);

    // Reads what has arrived without waiting and returns the whole messages
    // in it. False in `alive` when the connection has ended.
    std::vector<QString> takeArrived(bool& alive);

private:
    // Reads once, waiting up to `timeoutMs`; false on end or time-out.
    bool readSome(int timeoutMs);
    void frameRaw();

    int fd_ = -1;
    QByteArray raw_;  // received and not yet framed or expected
    net::MessageFramer framer_;
    std::vector<QString> framed_;  // whole messages not taken yet, oldest first
};

}  // namespace bench
