#include "messageframer.h"

#include <algorithm>
#include <utility>

#include "wirecodec.h"

namespace net {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

MessageFramer::MessageFramer(FramingRules rules) : rules_(std::move(rules)) {
    for (const MessageKind& kind : rules_.kinds)
        overlap_ = std::max({overlap_, kind.keyword.size() + 2, kind.endText.size() + 1});
}

qsizetype MessageFramer::pendingBytes() const {
    return text_.size() * 2 + oddByte_.size();
}

MessageFramer::Result MessageFramer::feed(QByteArrayView bytes) {
    Result result;
    if (refused_) {
        result.refused = true;
        return result;
    }

    QByteArray data = oddByte_;
    data.append(bytes);
    const qsizetype even = data.size() & ~qsizetype(1);
    text_ += decodeMessage(QByteArrayView(data).first(even));
    oddByte_ = data.mid(even);

    qsizetype taken = 0;
    while (taken < text_.size()) {
        const QStringView rest = QStringView(text_).mid(taken);
        const Found found = nextMessage(rest);
        if (!found.complete) {
            scanned_ = rest.size();
            break;
        }
        if (found.length * 2 > kMaxMessageBytes) {
            refused_ = true;
            break;
        }
        result.messages.append(rest.first(found.length).toString());
        taken += found.length;
        scanned_ = 0;
    }
    text_.remove(0, taken);

    if (refused_ || pendingBytes() > kMaxMessageBytes) {
        refused_ = true;
        result.refused = true;
        text_.clear();
        oddByte_.clear();
    }
    return result;
}

MessageFramer::Found MessageFramer::nextMessage(QStringView rest) const {
    qsizetype keywordLength = 0;
    const MessageKind* kind = kindAt(rest, 0, &keywordLength);
    if (kind && kind->end == MessageEnd::FixedText) return {true, keywordLength};
    // What may still become a keyword ("SYOUGI_MSG3:SEN") waits for the rest
    // rather than going out as unknown text.
    if (mightBecomeKeyword(rest)) return {};
    if (!kind) return openMessage(rest, 1, false, 0);

    switch (kind->end) {
        case MessageEnd::Marker:
            return markerMessage(rest, *kind, std::max<qsizetype>(keywordLength - 1, 0),
                                 keywordLength);
        case MessageEnd::Move:
            return moveMessage(rest, *kind, keywordLength);
        case MessageEnd::Open:
            return openMessage(rest, keywordLength, true, keywordLength);
        case MessageEnd::FixedText:
            break;
    }
    return {true, keywordLength};
}

// Ends at the next keyword, or with the data read so far, unless that data
// ends with half a character, or the message so far is nothing but its
// keyword.
MessageFramer::Found MessageFramer::openMessage(QStringView rest, qsizetype from,
                                                bool openEndersOnly,
                                                qsizetype keywordLength) const {
    const qsizetype next = nextKeyword(rest, resumeFrom(from), openEndersOnly);
    if (next >= 0) return {true, next};
    if (!oddByte_.isEmpty() || rest.size() <= keywordLength) return {};
    return {true, rest.size()};
}

MessageFramer::Found MessageFramer::markerMessage(QStringView rest, const MessageKind& kind,
                                                  qsizetype searchFrom, qsizetype bodyFrom) const {
    const qsizetype marker = rest.indexOf(kind.endText, resumeFrom(searchFrom));
    if (!kind.mayEnclose) {
        const qsizetype next = nextKeyword(rest, resumeFrom(bodyFrom), false);
        if (next >= 0 && (marker < 0 || next < marker)) return {true, next};
    }
    if (marker >= 0) return {true, marker + kind.endText.size()};
    return {};
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
        if (next >= 0) return {true, next};  // broken: it ends where the next message starts
        return {};
    }
    qsizetype end = numberEnd + 1;
    while (end < size && isDigit(rest[end]))
        ++end;
    if (end == size && (end == numberEnd + 1 || !oddByte_.isEmpty())) return {};
    return {true, end};
}

const MessageKind* MessageFramer::kindAt(QStringView rest, qsizetype pos,
                                         qsizetype* keywordLength) const {
    const QStringView from = rest.mid(pos);
    for (const MessageKind& kind : rules_.kinds) {
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

bool MessageFramer::mightBecomeKeyword(QStringView rest) const {
    for (const MessageKind& kind : rules_.kinds) {
        const qsizetype full = kind.keyword.size() + (kind.digitFollows ? 1 : 0);
        if (rest.size() >= full) continue;
        const QStringView start = rest.first(std::min(rest.size(), kind.keyword.size()));
        if (QStringView(kind.keyword).startsWith(start)) return true;
    }
    return false;
}

qsizetype MessageFramer::nextKeyword(QStringView rest, qsizetype from, bool openEndersOnly) const {
    qsizetype best = -1;
    for (const MessageKind& kind : rules_.kinds) {
        if (openEndersOnly && !kind.endsOpenMessage) continue;
        qsizetype at = rest.indexOf(kind.keyword, from);
        while (at >= 0 && (best < 0 || at < best)) {
            const qsizetype after = at + kind.keyword.size();
            if (!kind.digitFollows || (after < rest.size() && isDigit(rest[after]))) {
                best = at;
                break;
            }
            at = rest.indexOf(kind.keyword, at + 1);
        }
    }
    return best;
}

// Where a search of the pending message may start: what an earlier search
// already covered is skipped, less a margin for a keyword or marker that the
// earlier data ended in the middle of.
qsizetype MessageFramer::resumeFrom(qsizetype natural) const {
    return std::max(natural, scanned_ - overlap_);
}

}  // namespace net
