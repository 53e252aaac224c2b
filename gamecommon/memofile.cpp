#include "memofile.h"

#include <QFileInfo>
#include <QStringList>

#include "shiftjis.h"
#include "textfile.h"

namespace gamecommon {

MemoRead readMemo(const QString& path) {
    MemoRead read;
    if (!QFileInfo::exists(path)) {
        read.problem = RecordProblem::Missing;
        return read;
    }
    if (QFileInfo(path).size() > kMaxMemoBytes) {
        read.problem = RecordProblem::TooLarge;
        return read;
    }
    auto text = platform::readText(path, kMaxMemoBytes);
    if (!text) {
        read.problem = RecordProblem::Unreadable;
        return read;
    }
    // Read as the settings files are: one empty line at the end is no line.
    const bool empty = text->isEmpty();
    if (text->endsWith(u'\n')) text->chop(1);
    read.lines = empty ? 0 : static_cast<int>(text->count(u'\n')) + 1;
    read.text = std::move(*text);
    if (empty) read.problem = RecordProblem::Empty;
    return read;
}

RecordProblem writeMemo(const QString& path, const QString& text) {
    // The encoder writes "?" for what it cannot hold; no Shift-JIS character
    // has "?" as a byte of its own, so more of them than were typed means
    // characters would be lost.
    if (platform::toShiftJis(text).count('?') != text.count(u'?')) return RecordProblem::Unstorable;
    return platform::writeTextLines(path, text.split(u'\n')) ? RecordProblem::None
                                                             : RecordProblem::NotWritten;
}

}  // namespace gamecommon
