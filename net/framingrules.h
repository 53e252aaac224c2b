#pragma once

#include <QString>
#include <vector>

namespace net {

// TCP keeps no message boundaries, while every program handles one message at
// a time. The receiver finds the boundaries again from what its protocol says
// about the start and the end of each message. These types hold that
// knowledge as data, one list per kind of receiver, which the protocol
// libraries hand over, so the framer itself knows no protocol.

// Where a message that starts with a keyword ends.
enum class MessageEnd {
    // At an `endText` after the keyword ("|END" for lobby messages). The
    // marker may share the keyword's last character, so "HisNone|" with "|END"
    // matches "HisNone|END". Without field counts the first marker ends the
    // message; with them, see `fieldsAtLeast`.
    Marker,
    // The keyword is the whole message (an acknowledgement, say).
    FixedText,
    // A move: when its first field (after the keyword and one ":") is
    // `boardDigits` decimal digits, it is a go move, complete after that field
    // and two more ":"-separated fields, the last one numeric; otherwise it is
    // a shogi move ending at `endText` (":END").
    Move,
    // No end of its own: the message runs to the next keyword that has
    // `endsOpenMessage`, or to the end of the data read so far.
    Open,
};

struct MessageKind {
    QString keyword;            // the text a message of this kind starts with
    bool digitFollows = false;  // the keyword is followed by one decimal digit
    MessageEnd end = MessageEnd::Open;
    QString endText;      // the marker of Marker and Move
    int boardDigits = 0;  // the length of a go board field, for Move
    // The message may hold keywords of its own (a wrapped move, or text a user
    // typed: IDs, chat). When false, a keyword that starts before the end
    // proves the message broken, and it ends there instead of swallowing what
    // follows.
    bool mayEnclose = true;
    // Field counts of a lobby message: how many "|"-separated fields lie
    // between the keyword and its "|END". Lobby fields hold what users typed,
    // and an ID or password may well begin with "END" ("ENDO"), so a marker
    // ends the message only where the message has all the fields it may have,
    // or is followed by the start of a known message, by nothing, or by text
    // that runs into a known message before any other marker (unknown text
    // after a whole message). With nothing
    // after it, the message is complete
    // when it has all its fields (`fieldsAtLeast` to `fieldsAtMost`); with
    // fewer, or where more are allowed, its end is only likely: the rest may
    // still be on its way (see MessageFramer::flush). `fieldsAtLeast` < 0: no
    // counting, the first marker ends the message; `fieldsAtMost` < 0: no
    // upper bound.
    int fieldsAtLeast = -1;
    int fieldsAtMost = -1;
    // The keyword alone is a whole message too ("LOGOUT", "Dead"): unless a
    // "|" follows it, the message ends right after the keyword.
    bool mayStandAlone = false;
    // A keyword of this kind ends an Open message running before it. Only
    // messages that really follow such a message on the same connection say
    // so, so that a keyword typed into a chat line cannot be cut out of it
    // and act as a message of its own.
    bool endsOpenMessage = false;
};

// The kinds a receiver knows, tried in order at the start of a message; the
// first that matches decides, so a fixed text goes before the family it
// belongs to.
struct FramingRules {
    std::vector<MessageKind> kinds;
};

// A message of `atLeast` to `atMost` "|"-separated fields between its keyword
// and the marker `endText` (atMost < 0: any number).
MessageKind countedMessage(const QString& keyword, const QString& endText, int atLeast, int atMost);

// A keyword that is a message by itself, or with any number of fields up to
// the marker `endText`.
MessageKind bareMessage(const QString& keyword, const QString& endText);

}  // namespace net
