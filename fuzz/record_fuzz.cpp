// The game-record reader of the replay window, for a shogi record and for a
// go record. The input is the file's bytes.
//
// What must hold: every line is either a position or told as skipped, in
// order; stepping through never leaves the record; every position shown
// reads as a board of its game.

#include <QDir>
#include <QFile>

#include "fuzzsupport.h"
#include "gorules/positionstring.h"
#include "replaycursor.h"
#include "shogirules/position.h"

namespace {

void replay(const QString& path, const gamecommon::ReplayCursor::PositionCheck& isPosition,
            const quorfuzz::Script& steps) {
    gamecommon::ReplayLoad load = gamecommon::loadReplay(path, isPosition);
    gamecommon::ReplayCursor& cursor = load.cursor;
    if (load.problem != gamecommon::RecordProblem::None) {
        QUORFUZZ_CHECK(cursor.isEmpty(), "a record refused with positions to show");
        return;
    }
    QUORFUZZ_CHECK(!cursor.isEmpty(), "a record accepted without a position");
    int last = 0;
    for (const int skipped : cursor.skippedLines()) {
        QUORFUZZ_CHECK(skipped > last, "skipped lines out of order");
        last = skipped;
    }
    quorfuzz::Script script = steps;
    for (int i = 0; i < 64 && !script.atEnd(); ++i) {
        const int before = cursor.lineNumber();
        switch (script.choice(3)) {
            case 0:
                cursor.first();
                break;
            case 1:
                cursor.back();
                QUORFUZZ_CHECK(cursor.lineNumber() <= before, "back went on");
                break;
            default:
                cursor.forward();
                QUORFUZZ_CHECK(cursor.lineNumber() >= before, "on went back");
                break;
        }
        QUORFUZZ_CHECK(cursor.lineNumber() >= 1, "a line before the first");
        QUORFUZZ_CHECK(!cursor.skippedLines().contains(cursor.lineNumber()),
                       "a skipped line shown");
        const auto shown = cursor.position();
        QUORFUZZ_CHECK(shown && isPosition(*shown), "a line shown that is no position");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = QDir(quorfuzz::scratchFolder()).filePath(QStringLiteral("ShougiAll.sho"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    // The steps through the record come from the input's first bytes.
    const quorfuzz::Script steps(data, std::min<std::size_t>(size, 64));
    replay(
        path,
        [](QStringView line) {
            shogi::Board board;
            return !board.load(line);
        },
        steps);
    replay(
        path, [](QStringView line) { return go::readPosition(line).has_value(); }, steps);
    return 0;
}
