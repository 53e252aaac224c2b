#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "framingrules.h"

namespace net {

// The receive side of one connection: takes the bytes as they arrive and
// gives back whole messages, in order. A message cut by TCP waits for its
// rest, an odd byte for its partner, and messages that arrived together come
// out one by one. Text that does not start with a keyword runs to the next
// keyword and comes out as one message of its own, for the receiver to treat
// as unknown text.
//
// Nothing grows without bound: a message, finished or not, may hold at most
// kMaxMessageBytes bytes; past that the framer refuses the connection.
class MessageFramer {
public:
    static constexpr qsizetype kMaxMessageBytes = 64 * 1024;

    explicit MessageFramer(FramingRules rules);

    struct Result {
        QStringList messages;  // complete messages, oldest first
        bool refused = false;  // a message passed the limit: close the connection
    };

    // Adds the bytes just received. After a refusal the framer stays refused
    // and takes nothing more.
    Result feed(QByteArrayView bytes);

    // Bytes held for a message that is not complete yet (an odd byte included).
    qsizetype pendingBytes() const;
    bool refused() const { return refused_; }

private:
    struct Found {
        bool complete = false;  // false: wait for more data
        qsizetype length = 0;   // the message's length in characters when complete
    };

    Found nextMessage(QStringView rest) const;
    Found openMessage(QStringView rest, qsizetype from, bool openEndersOnly,
                      qsizetype keywordLength) const;
    Found markerMessage(QStringView rest, const MessageKind& kind, qsizetype searchFrom,
                        qsizetype bodyFrom) const;
    Found moveMessage(QStringView rest, const MessageKind& kind, qsizetype keywordLength) const;
    const MessageKind* kindAt(QStringView rest, qsizetype pos, qsizetype* keywordLength) const;
    bool mightBecomeKeyword(QStringView rest) const;
    qsizetype nextKeyword(QStringView rest, qsizetype from, bool openEndersOnly) const;
    qsizetype resumeFrom(qsizetype natural) const;

    FramingRules rules_;
    QString text_;        // decoded text not handed out yet
    QByteArray oddByte_;  // the first half of a character, at most one byte
    bool refused_ = false;
    // How much of the pending message was already searched without finding
    // its end, so that a message arriving in many small pieces is not searched
    // from its start again each time.
    qsizetype scanned_ = 0;
    qsizetype overlap_ = 0;  // the longest keyword or marker, plus one
};

}  // namespace net
