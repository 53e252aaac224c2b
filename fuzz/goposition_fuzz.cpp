// The go position readers: a position string (a record line, either form)
// and the go move message. The input is the text, UTF-8.
//
// What must hold: a position read is written back to the same board and
// last stone; turning a position twice gives the very text back; a move read
// carries a readable position and numbers in range, and the sender's own
// builder writes the same board as the same move; a stone placed on a read
// board captures only the opponent's stones, never more than stood there.

#include "fuzzsupport.h"
#include "gorules/capture.h"
#include "gorules/movemessage.h"
#include "gorules/positionstring.h"

namespace {

int stonesOf(const go::Ban& ban, go::Stone colour) {
    int n = 0;
    for (int k = 0; k < go::kPointCount; ++k)
        n += ban.at(go::Point::fromNumber(k)) == colour;
    return n;
}

void checkPosition(QStringView text) {
    const auto read = go::readPosition(text);
    const auto turned = go::turnPosition(text);
    QUORFUZZ_CHECK(read.has_value() == turned.has_value(),
                   "turned, yet not read, or the other way");
    if (!read) return;
    const QString written = read->lastMove ? go::positionString(read->ban, *read->lastMove)
                                           : go::positionString(read->ban);
    const auto again = go::readPosition(written);
    QUORFUZZ_CHECK(again && again->ban == read->ban && again->lastMove == read->lastMove,
                   "the written position reads otherwise");
    const auto record = go::readPosition(go::recordLine(read->ban));
    QUORFUZZ_CHECK(record && record->ban == read->ban, "the record line reads otherwise");
    QUORFUZZ_CHECK(go::turnPosition(*turned) == text.toString(), "turned twice is another text");
}

// Places a stone of the side to move on the first free point of the board
// the text names, as the program does with a dragged stone.
void checkCapture(go::Ban ban, int pick) {
    for (int i = 0; i < go::kPointCount; ++i) {
        const go::Point p = go::Point::fromNumber((pick + i) % go::kPointCount);
        if (ban.at(p) != go::Stone::Empty) continue;
        const go::Stone own = pick % 2 ? go::Stone::Black : go::Stone::White;
        const go::Stone opp = own == go::Stone::Black ? go::Stone::White : go::Stone::Black;
        const int opponents = stonesOf(ban, opp);
        const int owns = stonesOf(ban, own);
        ban.set(p, own);
        qint32 captured = 0;
        go::CaptureSearch search(ban);
        search.CheckCapture(p, own, captured);
        QUORFUZZ_CHECK(stonesOf(ban, own) == owns + 1, "the own stones changed by a capture");
        QUORFUZZ_CHECK(stonesOf(ban, opp) == opponents - captured,
                       QStringLiteral("%1 captured, %2 taken off")
                           .arg(captured)
                           .arg(opponents - stonesOf(ban, opp)));
        return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkPosition(text);

    const auto move = go::parseMoveMsg(text);
    if (!move) return 0;
    QUORFUZZ_CHECK(move->moveNo >= 1 && move->moveNo <= go::kMaxMoveNo,
                   "a move number out of range");
    QUORFUZZ_CHECK(move->captured >= 0 && move->captured <= go::kMaxCaptured,
                   "a count out of range");
    const auto position = go::readPosition(move->positionString);
    QUORFUZZ_CHECK(position.has_value(), "a move with an unreadable position");
    checkPosition(move->positionString);

    // The sender's view is the received one turned; the sender writes it
    // again with the same last stone.
    const auto turned = go::readPosition(*go::turnPosition(move->positionString));
    const go::Point last = turned->lastMove ? *turned->lastMove : go::Point{-1, -1};
    const auto rebuilt =
        go::parseMoveMsg(go::BuildMoveMsg(turned->ban, last, move->moveNo, move->captured));
    QUORFUZZ_CHECK(rebuilt, "the rebuilt move does not read");
    const auto rebuiltPosition = go::readPosition(rebuilt->positionString);
    QUORFUZZ_CHECK(rebuiltPosition->ban == position->ban && rebuilt->moveNo == move->moveNo &&
                       rebuilt->captured == move->captured,
                   "the rebuilt move is another move");
    checkCapture(position->ban, static_cast<int>(size));
    return 0;
}
