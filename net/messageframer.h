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
// Some messages have no end of their own (a game chat line), and a lobby
// message may look complete where its rest is still on its way ("AddFriends|END"
// followed by "O,0, 1,..." when the first user is "ENDO"). Such a message is
// held while it ends with the data read so far: more data decides, and when
// none comes for a while the owner calls flush() and takes it as it stands.
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
        bool holding = false;  // a message that may be complete waits: see flush()
    };

    // Adds the bytes just received. After a refusal the framer stays refused
    // and takes nothing more.
    Result feed(QByteArrayView bytes);

    // The same, with the complete messages appended to `messages`: a caller
    // that keeps one list for every read allocates none per message.
    struct Status {
        bool refused = false;
        bool holding = false;
    };
    Status feed(QByteArrayView bytes, QStringList& messages);

    // Takes the message held at the end of the data as complete: no more data
    // came for it. A message still missing its end stays.
    Result flush();

    // Bytes held for a message that is not complete yet (an odd byte included).
    qsizetype pendingBytes() const;
    bool refused() const { return refused_; }

private:
    struct Found {
        enum State {
            Incomplete,  // wait for more data
            Likely,      // complete unless more data comes for it
            Complete,
        };
        State state = Incomplete;
        qsizetype length = 0;  // the message's length in characters unless Incomplete
        // How far the search got without finding what it needs; -1: to the
        // end of the data.
        qsizetype searchedUpTo = -1;
    };

    Status take(bool flushing, QStringList& messages);
    Found nextMessage(QStringView rest) const;
    Found openMessage(QStringView rest, qsizetype from, bool openEndersOnly,
                      qsizetype keywordLength) const;
    Found markerMessage(QStringView rest, const MessageKind& kind, qsizetype searchFrom,
                        qsizetype bodyFrom) const;
    Found countedMessage(QStringView rest, const MessageKind& kind, qsizetype keywordLength) const;
    Found bareMessage(QStringView rest, const MessageKind& kind, qsizetype keywordLength) const;
    bool keywordAt(QStringView rest, qsizetype pos) const;
    // Whether a keyword that may stand alone ("Dead") and ends at
    // `keywordLength` of `here` starts a message: only where "|" or another
    // message follows. Inside an ID ("ENDDead,0, 1,...") it is text, and at
    // the end of the data it is not a message yet.
    bool standsAlone(QStringView here, qsizetype keywordLength) const;
    Found moveMessage(QStringView rest, const MessageKind& kind, qsizetype keywordLength) const;
    const MessageKind* kindAt(QStringView rest, qsizetype pos, qsizetype* keywordLength) const;
    bool mightBecomeKeyword(QStringView rest) const;
    qsizetype nextKeyword(QStringView rest, qsizetype from, bool openEndersOnly) const;
    qsizetype nextKeywordStart(QStringView rest, qsizetype from) const;
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
    // The first characters of the keywords: a search for the next keyword
    // looks closer only where one of them stands.
    QString keywordStarts_;
    // Up to this many first characters are looked for eight characters at a
    // time.
    static constexpr qsizetype kVectorStarts = 16;
};

}  // namespace net
