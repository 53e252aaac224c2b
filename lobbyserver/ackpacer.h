#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "usertable.h"

namespace lobby {

// What the server says to a game program of its own accord (the players of a
// watched game, then each move) goes out one message at a time: the next one
// only after the program has acknowledged the last, as every game program
// acknowledges every read. Programs that take each read for one message
// would otherwise read two messages that arrive together as one, and lose
// the second. A program that never acknowledges is not held up for long: the
// next message goes anyway when the wait runs out, and one that lets too
// many pile up gets them all at once.
class AckPacer {
public:
    // Longer than any program takes to read, handle and answer a move (the
    // piece sound included), short enough that a watcher whose program does
    // not answer still sees the game go on.
    static constexpr qint64 kAckWaitMs = 1000;
    static constexpr std::size_t kMaxHeld = 64;

    struct Send {
        SocketHandle socket;
        QString text;
    };

    // `text` is for `socket`: what may go out now, in order (nothing while
    // an earlier message still waits for its acknowledgement).
    QStringList offer(SocketHandle socket, QString text, qint64 now);

    // `socket` acknowledged a read: the next message held for it, if any.
    QStringList acknowledged(SocketHandle socket, qint64 now);

    // The messages whose wait has run out by `now`.
    std::vector<Send> due(qint64 now);

    // When the next wait of a held message runs out, if anything is held.
    std::optional<qint64> nextDue() const;

    // The connection is gone or no longer the program's: what was held for
    // it is dropped.
    void forget(SocketHandle socket);
    // Whether a message to `socket` still waits for its acknowledgement.
    bool waitsForAck(SocketHandle socket) const { return lanes_.count(socket) != 0; }

private:
    struct Lane {
        qint64 sentAt = 0;  // when the message last sent went out
        std::deque<QString> held;
    };
    // Sends the next held message of `lane`, or ends the lane when none is
    // left; what went out is appended to `out`.
    static bool next(Lane& lane, qint64 now, QStringList& out);

    // Only connections with a message out and unanswered have a lane.
    std::map<SocketHandle, Lane> lanes_;
};

}  // namespace lobby
