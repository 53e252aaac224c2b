// The framer of one receiver (QUORFUZZ_FRAMING names its rules), fed a byte
// stream the way TCP hands it over: at once, or cut at random points, with or
// without quiet moments in between. The first two bytes of the input choose
// the cuts; the rest is the stream.
//
// What must hold: the cuts change nothing (the same messages, in the same
// order, as from the whole stream), but for a cut inside the capture count
// that ends a go move (see numberCut()); with quiet moments too, the messages and
// what is held add up to exactly the bytes received, none lost, doubled or
// reordered; no message is empty or past the limit; a refused framer stays
// refused.

#include <QStringList>
#include <cstdint>

#include "fuzzsupport.h"
#include "gameframing.h"
#include "lobbyframing.h"
#include "messageframer.h"
#include "wirecodec.h"

namespace {

using net::MessageFramer;

struct Outcome {
    QStringList messages;
    qsizetype pendingBytes = 0;
    bool refused = false;
    // A read ended between two digits with nothing held: a message ended
    // there, and only a go move does (see numberCut()).
    bool numberCut = false;
};

bool isDigitAt(const QByteArray& stream, qsizetype at) {
    return at >= 0 && at + 1 < stream.size() && stream[at + 1] == 0 && stream[at] >= '0' &&
           stream[at] <= '9';
}

// A go move has no end marker: it ends with the digits of its capture count,
// and the framer takes it as soon as a read ends after one of them rather
// than hold every go move for the quiet time. A read that ends inside the
// count therefore ends the move there; that cut is the one that may change
// the messages. So does a read that ends after the count where only half a
// character follows: the whole stream holds the move for that character's
// other half (it may be another digit), the cut one has already sent it.
bool numberCut(const QByteArray& stream, qsizetype at, const MessageFramer& framer) {
    return at % 2 == 0 && framer.pendingBytes() == 0 && isDigitAt(stream, at - 2) &&
           (isDigitAt(stream, at) || at + 1 == stream.size());
}

// A small generator of cut points, so one input always cuts the same way.
class Cuts {
public:
    explicit Cuts(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    std::uint32_t state_;
};

void take(Outcome& outcome, const MessageFramer::Result& result) {
    for (const QString& message : result.messages) {
        QUORFUZZ_CHECK(!message.isEmpty(), "an empty message");
        QUORFUZZ_CHECK(message.size() * 2 <= MessageFramer::kMaxMessageBytes,
                       QStringLiteral("a message of %1 characters").arg(message.size()));
        QUORFUZZ_CHECK(!outcome.refused, "a message after the refusal");
    }
    outcome.messages += result.messages;
    if (result.refused) outcome.refused = true;
}

// Feeds `stream` in pieces of at most `most` bytes (0: whole); after a piece,
// the owner's quiet timer fires when `quietEvery` divides the generator's
// draw (0: never). The flush at the end stands for the peer's close.
Outcome feed(const QByteArray& stream, Cuts cuts, std::uint32_t most, std::uint32_t quietEvery) {
    MessageFramer framer(QUORFUZZ_FRAMING());
    Outcome outcome;
    qsizetype at = 0;
    while (at < stream.size()) {
        qsizetype piece = stream.size() - at;
        if (most > 0) piece = std::min<qsizetype>(piece, 1 + cuts.next() % most);
        take(outcome, framer.feed(QByteArrayView(stream).sliced(at, piece)));
        at += piece;
        if (numberCut(stream, at, framer)) outcome.numberCut = true;
        if (quietEvery > 0 && cuts.next() % quietEvery == 0) take(outcome, framer.flush());
        QUORFUZZ_CHECK(framer.refused() == outcome.refused, "refused, and not said so");
        QUORFUZZ_CHECK(framer.refused() || framer.pendingBytes() <= MessageFramer::kMaxMessageBytes,
                       "more held than a message may hold");
    }
    take(outcome, framer.flush());
    outcome.pendingBytes = framer.refused() ? 0 : framer.pendingBytes();
    if (outcome.refused) {
        const MessageFramer::Result after = framer.feed(QByteArrayView("S\0", 2));
        QUORFUZZ_CHECK(after.refused && after.messages.isEmpty(), "a refused framer took more");
    }
    return outcome;
}

// The messages and what is held are the stream, character for character.
void checkAddsUp(const Outcome& outcome, const QByteArray& stream, const char* how) {
    if (outcome.refused) return;
    const QString joined = outcome.messages.join(QString());
    QUORFUZZ_CHECK(joined.size() * 2 + outcome.pendingBytes == stream.size(),
                   QStringLiteral("%1: %2 bytes out of %3")
                       .arg(how)
                       .arg(joined.size() * 2)
                       .arg(stream.size()));
    QUORFUZZ_CHECK(net::encodeMessage(joined) == stream.first(joined.size() * 2),
                   QStringLiteral("%1: the messages are not what came").arg(how));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorfuzz::Script script(data, size);
    const std::uint32_t seed = script.byte() | static_cast<std::uint32_t>(script.byte()) << 8;
    const QByteArray stream = script.rest();

    const Outcome whole = feed(stream, Cuts(seed), 0, 0);
    checkAddsUp(whole, stream, "whole");

    // Tiny pieces (a byte or two, so characters and markers are cut) and
    // pieces of a few messages.
    for (const std::uint32_t most : {3u, 64u, 1024u}) {
        const Outcome cut = feed(stream, Cuts(seed + most), most, 0);
        checkAddsUp(cut, stream, "cut");
        if (whole.refused || cut.refused || cut.numberCut) continue;
        QUORFUZZ_CHECK(cut.messages == whole.messages,
                       QStringLiteral("cut at most %1 bytes: [%2], whole: [%3]")
                           .arg(most)
                           .arg(cut.messages.join(u'¦'), whole.messages.join(u'¦')));
        QUORFUZZ_CHECK(cut.pendingBytes == whole.pendingBytes, "cut: another rest held");
    }

    const Outcome quiet = feed(stream, Cuts(seed ^ 0x5555), 16, 3);
    checkAddsUp(quiet, stream, "with quiet moments");
    return 0;
}
