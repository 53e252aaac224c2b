#include "messageframer.h"

#include <algorithm>
#include <bit>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "wirecodec.h"

namespace net {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Where `text` first stands in `rest` from `from` on, or -1. The search runs
// from one first character to the next, which Qt finds many at a time: the
// marker of a move is looked for through the whole move, and the server does
// that for every move it relays.
qsizetype findText(QStringView rest, QStringView text, qsizetype from) {
    from = std::max<qsizetype>(from, 0);
    if (text.isEmpty()) return from <= rest.size() ? from : -1;
    const QChar first = text.front();
    for (qsizetype at = rest.indexOf(first, from); at >= 0; at = rest.indexOf(first, at + 1)) {
        if (rest.sliced(at).startsWith(text)) return at;
    }
    return -1;
}

}  // namespace

MessageFramer::MessageFramer(FramingRules rules) : rules_(std::move(rules)) {
    qsizetype keyword = 0;
    qsizetype marker = 0;
    for (const MessageKind& kind : rules_.kinds) {
        keyword = std::max(keyword, kind.keyword.size() + (kind.digitFollows ? 1 : 0));
        marker = std::max(marker, kind.endText.size());
    }
    // A marker followed by the start of a keyword, cut by the end of the data.
    overlap_ = keyword + marker + 1;
    for (const MessageKind& kind : rules_.kinds) {
        if (!kind.keyword.isEmpty() && !keywordStarts_.contains(kind.keyword.front()))
            keywordStarts_ += kind.keyword.front();
    }
}

qsizetype MessageFramer::pendingBytes() const {
    return text_.size() * 2 + oddByte_.size();
}

MessageFramer::Result MessageFramer::feed(QByteArrayView bytes) {
    QStringList messages;
    const Status status = feed(bytes, messages);
    return {std::move(messages), status.refused, status.holding};
}

MessageFramer::Status MessageFramer::feed(QByteArrayView bytes, QStringList& messages) {
    if (refused_) return {true, false};

    // The bytes are decoded straight into the text held, a character cut in
    // two by the last read first.
    if (!oddByte_.isEmpty() && !bytes.isEmpty()) {
        const char pair[2] = {oddByte_[0], bytes[0]};
        appendDecoded(text_, QByteArrayView(pair, 2));
        oddByte_.clear();
        bytes = bytes.sliced(1);
    }
    const qsizetype even = bytes.size() & ~qsizetype(1);
    appendDecoded(text_, bytes.first(even));
    if (even < bytes.size()) oddByte_ = bytes.sliced(even).toByteArray();
    return take(false, messages);
}

MessageFramer::Result MessageFramer::flush() {
    if (refused_) return {{}, true, false};
    QStringList messages;
    const Status status = take(true, messages);
    return {std::move(messages), status.refused, status.holding};
}

MessageFramer::Status MessageFramer::take(bool flushing, QStringList& messages) {
    Status result;
    qsizetype taken = 0;
    while (taken < text_.size()) {
        const QStringView rest = QStringView(text_).mid(taken);
        const Found found = nextMessage(rest);
        if (found.state == Found::Incomplete || (found.state == Found::Likely && !flushing)) {
            result.holding = found.state == Found::Likely;
            scanned_ = found.searchedUpTo >= 0 ? found.searchedUpTo : rest.size();
            break;
        }
        if (found.length * 2 > kMaxMessageBytes) {
            refused_ = true;
            break;
        }
        if (taken == 0 && found.length == text_.size()) {
            // The text held is exactly one message, as it mostly is: it goes
            // out as it is rather than as a copy.
            messages.append(std::exchange(text_, QString()));
            scanned_ = 0;
            break;
        }
        messages.append(rest.first(found.length).toString());
        taken += found.length;
        scanned_ = 0;
    }
    text_.remove(0, taken);

    if (refused_ || pendingBytes() > kMaxMessageBytes) {
        refused_ = true;
        result.refused = true;
        result.holding = false;
        text_.clear();
        oddByte_.clear();
    }
    return result;
}

MessageFramer::Found MessageFramer::nextMessage(QStringView rest) const {
    qsizetype keywordLength = 0;
    const MessageKind* kind = kindAt(rest, 0, &keywordLength);
    if (kind && kind->end == MessageEnd::FixedText) return {Found::Complete, keywordLength};
    // What may still become a keyword (the first part of one) waits for the rest
    // rather than going out as unknown text.
    if (mightBecomeKeyword(rest)) return {};
    if (!kind) return openMessage(rest, 1, false, 0);

    switch (kind->end) {
        case MessageEnd::Marker:
            if (kind->mayStandAlone) return bareMessage(rest, *kind, keywordLength);
            if (kind->fieldsAtLeast >= 0) return countedMessage(rest, *kind, keywordLength);
            return markerMessage(rest, *kind, std::max<qsizetype>(keywordLength - 1, 0),
                                 keywordLength);
        case MessageEnd::Move:
            return moveMessage(rest, *kind, keywordLength);
        case MessageEnd::Open:
            return openMessage(rest, keywordLength, true, keywordLength);
        case MessageEnd::FixedText:
            break;
    }
    return {Found::Complete, keywordLength};
}

// Ends at the next keyword. Without one it is likely to end with the data
// read so far, unless that data ends with half a character, or the message so
// far is nothing but its keyword.
MessageFramer::Found MessageFramer::openMessage(QStringView rest, qsizetype from,
                                                bool openEndersOnly,
                                                qsizetype keywordLength) const {
    const qsizetype next = nextKeyword(rest, resumeFrom(from), openEndersOnly);
    if (next >= 0) return {Found::Complete, next};
    if (!oddByte_.isEmpty() || rest.size() <= keywordLength) return {};
    return {Found::Likely, rest.size()};
}

MessageFramer::Found MessageFramer::markerMessage(QStringView rest, const MessageKind& kind,
                                                  qsizetype searchFrom, qsizetype bodyFrom) const {
    const qsizetype marker = findText(rest, kind.endText, resumeFrom(searchFrom));
    if (!kind.mayEnclose) {
        // Only a keyword that starts before the marker counts; one may run
        // past the marker's start, none past its end and the longest keyword.
        const QStringView searched =
            marker < 0 ? rest : rest.first(std::min(rest.size(), marker + overlap_));
        const qsizetype next = nextKeyword(searched, resumeFrom(bodyFrom), false);
        if (next >= 0 && (marker < 0 || next < marker)) return {Found::Complete, next};
    }
    if (marker >= 0) return {Found::Complete, marker + kind.endText.size()};
    return {};
}

// A lobby message whose fields are counted: its end is the first marker that
// comes after enough fields and is followed by the start of a known message,
// or by nothing (see MessageKind::fieldsAtLeast).
MessageFramer::Found MessageFramer::countedMessage(QStringView rest, const MessageKind& kind,
                                                   qsizetype keywordLength) const {
    // The fields start right after the keyword's own "|", or after the "|"
    // that follows a bare keyword.
    const bool keywordHasBar = kind.keyword.endsWith(u'|');
    const qsizetype body = keywordHasBar ? keywordLength : keywordLength + 1;
    const qsizetype markerSize = kind.endText.size();
    qsizetype counted = body;  // bars before `counted` are in `bars`
    qsizetype bars = 0;
    qsizetype at =
        rest.indexOf(kind.endText, resumeFrom(keywordHasBar ? keywordLength - 1 : keywordLength));
    for (; at >= 0; at = rest.indexOf(kind.endText, at + 1)) {
        if (at > counted) {
            bars += rest.sliced(counted, at - counted).count(u'|');
            counted = at;
        }
        const qsizetype fields = at < body ? 0 : bars + 1;
        const bool full =
            fields >= kind.fieldsAtLeast && kind.fieldsAtMost >= 0 && fields >= kind.fieldsAtMost;
        const qsizetype after = at + markerSize;
        if (after == rest.size()) {
            // With all its fields the message is complete, even with half a
            // character of the next one after it. With fewer, its rest is
            // likely on its way (surely, after half a character), and it is
            // taken as it stands if none comes.
            if (full) return {Found::Complete, after};
            if (!oddByte_.isEmpty()) return {};
            return {Found::Likely, after};
        }
        // A message with all the fields it may have ends here whatever
        // follows, as it does where the data ends: one more field is never
        // its own, so TCP's cuts cannot decide what the message holds.
        if (full) return {Found::Complete, after};
        if (fields < kind.fieldsAtLeast) {
            // Too few fields: the marker is part of a field (an ID such as
            // "ENDDead" or "ENDHisNone") when a later marker may still give
            // the message its fields, even where a keyword follows. Only a
            // message that never gets them ends at this marker.
            if (rest.indexOf(kind.endText, after) >= 0) continue;
            if (keywordAt(rest, after)) return {Found::Likely, after, at};
            continue;
        }
        if (keywordAt(rest, after)) return {Found::Complete, after};
        if (mightBecomeKeyword(rest.sliced(after))) return {};
        // Text that is no message of its own follows: it is part of a field
        // when another marker comes before the next message; else it is
        // unknown text after a whole message.
        const qsizetype nextMarker = rest.indexOf(kind.endText, after);
        // A keyword that starts before the next marker may end beyond its
        // start ("NoLogin|" before "END"); it counts all the same.
        const QStringView searched =
            nextMarker < 0 ? rest : rest.first(std::min(rest.size(), nextMarker + overlap_));
        const qsizetype next = nextKeyword(searched, after, false);
        if (next >= 0 && (nextMarker < 0 || next < nextMarker)) return {Found::Complete, after};
        // Nothing decides yet: a later marker may still come, so a later
        // search must look at this marker again.
        if (nextMarker < 0) return {Found::Likely, after, at};
    }
    return {};
}

// "LOGOUT", "Dead": the keyword alone, or with fields up to "|END".
MessageFramer::Found MessageFramer::bareMessage(QStringView rest, const MessageKind& kind,
                                                qsizetype keywordLength) const {
    if (rest.size() == keywordLength)
        return oddByte_.isEmpty() ? Found{Found::Likely, keywordLength} : Found{};
    if (rest[keywordLength] == u'|') return countedMessage(rest, kind, keywordLength);
    if (keywordAt(rest, keywordLength)) return {Found::Complete, keywordLength};
    if (mightBecomeKeyword(rest.sliced(keywordLength))) return {};
    // "Deadline": not this keyword at all, but unknown text.
    return openMessage(rest, 1, false, 0);
}

MessageFramer::Found MessageFramer::moveMessage(QStringView rest, const MessageKind& kind,
                                                qsizetype keywordLength) const {
    const qsizetype size = rest.size();
    qsizetype board = keywordLength;
    if (board < size && rest[board] == u':') ++board;

    qsizetype digits = 0;
    while (digits < kind.boardDigits && board + digits < size && isDigit(rest[board + digits]))
        ++digits;
    if (board + digits == size && digits < kind.boardDigits) return {};  // may be either
    if (kind.boardDigits <= 0 || digits < kind.boardDigits)
        return markerMessage(rest, kind, board, board);

    // A go move: the board, then the move number and the capture count.
    const qsizetype afterBoard = board + digits;
    if (afterBoard == size) return {};
    if (rest[afterBoard] != u':') return openMessage(rest, afterBoard, false, 0);
    const qsizetype numberEnd = rest.indexOf(u':', afterBoard + 1);
    const qsizetype next = nextKeyword(rest, resumeFrom(afterBoard + 1), false);
    if (numberEnd < 0 || (next >= 0 && next < numberEnd)) {
        if (next >= 0) return {Found::Complete, next};  // broken: it ends where the next starts
        return {};
    }
    qsizetype end = numberEnd + 1;
    while (end < size && isDigit(rest[end]))
        ++end;
    if (end == size && (end == numberEnd + 1 || !oddByte_.isEmpty())) return {};
    return {Found::Complete, end};
}

const MessageKind* MessageFramer::kindAt(QStringView rest, qsizetype pos,
                                         qsizetype* keywordLength) const {
    const QStringView from = rest.mid(pos);
    for (const MessageKind& kind : rules_.kinds) {
        // The first character rules out most kinds without a call.
        if (!kind.keyword.isEmpty() && (from.isEmpty() || from.front() != kind.keyword.front()))
            continue;
        if (!from.startsWith(kind.keyword)) continue;
        qsizetype length = kind.keyword.size();
        if (kind.digitFollows) {
            if (length >= from.size() || !isDigit(from[length])) continue;
            ++length;
        }
        if (keywordLength) *keywordLength = length;
        return &kind;
    }
    return nullptr;
}

bool MessageFramer::keywordAt(QStringView rest, qsizetype pos) const {
    qsizetype length = 0;
    const MessageKind* kind = kindAt(rest, pos, &length);
    return kind && (!kind->mayStandAlone || standsAlone(rest.sliced(pos), length));
}

bool MessageFramer::standsAlone(QStringView here, qsizetype keywordLength) const {
    if (keywordLength >= here.size()) return false;
    return here[keywordLength] == u'|' || kindAt(here, keywordLength, nullptr) != nullptr;
}

bool MessageFramer::mightBecomeKeyword(QStringView rest) const {
    for (const MessageKind& kind : rules_.kinds) {
        const qsizetype full = kind.keyword.size() + (kind.digitFollows ? 1 : 0);
        if (rest.size() >= full) continue;
        const QStringView start = rest.first(std::min(rest.size(), kind.keyword.size()));
        if (QStringView(kind.keyword).startsWith(start)) return true;
    }
    return false;
}

// The first place from `from` on where a keyword's first character stands,
// or -1. A move is searched for keywords up to its end, and the server does
// that for every move it relays: eight characters are compared with all the
// first characters at once where the processor allows it.
qsizetype MessageFramer::nextKeywordStart(QStringView rest, qsizetype from) const {
    const char16_t* const text = rest.utf16();
    const qsizetype size = rest.size();
    const qsizetype starts = keywordStarts_.size();
    const char16_t* const start = QStringView(keywordStarts_).utf16();
    qsizetype at = std::max<qsizetype>(from, 0);
#ifdef __SSE2__
    if (starts <= kVectorStarts) {
        __m128i wanted[kVectorStarts];
        for (qsizetype i = 0; i < starts; ++i)
            wanted[i] = _mm_set1_epi16(static_cast<short>(start[i]));
        for (; at + 8 <= size; at += 8) {
            const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
            __m128i hits = _mm_setzero_si128();
            for (qsizetype i = 0; i < starts; ++i)
                hits = _mm_or_si128(hits, _mm_cmpeq_epi16(chars, wanted[i]));
            if (const int mask = _mm_movemask_epi8(hits))
                return at + std::countr_zero(static_cast<unsigned>(mask)) / 2;
        }
    }
#endif
    for (; at < size; ++at) {
        if (std::find(start, start + starts, text[at]) != start + starts) return at;
    }
    return -1;
}

qsizetype MessageFramer::nextKeyword(QStringView rest, qsizetype from, bool openEndersOnly) const {
    for (qsizetype at = nextKeywordStart(rest, from); at >= 0;
         at = nextKeywordStart(rest, at + 1)) {
        const QStringView here = rest.sliced(at);
        const QChar c = here.front();
        for (const MessageKind& kind : rules_.kinds) {
            if (openEndersOnly && !kind.endsOpenMessage) continue;
            // The second character rules out most kinds of the same first
            // one (a piece code in a move) without a call.
            if (kind.keyword.isEmpty() || kind.keyword.front() != c ||
                (kind.keyword.size() > 1 && here.size() > 1 && here[1] != kind.keyword[1]) ||
                !here.startsWith(kind.keyword))
                continue;
            const qsizetype after = kind.keyword.size();
            if (kind.mayStandAlone && !standsAlone(here, after)) continue;
            if (!kind.digitFollows || (after < here.size() && isDigit(here[after]))) return at;
        }
    }
    return -1;
}

// Where a search of the pending message may start: what an earlier search
// already covered is skipped, less a margin for a keyword or marker that the
// earlier data ended in the middle of.
qsizetype MessageFramer::resumeFrom(qsizetype natural) const {
    return std::max(natural, scanned_ - overlap_);
}

}  // namespace net
