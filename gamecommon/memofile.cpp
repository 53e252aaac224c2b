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
    const auto lines = platform::readTextLines(path);
    if (!lines) {
        read.problem = RecordProblem::Unreadable;
        return read;
    }
    read.text = lines->join(u'\n');
    read.lines = static_cast<int>(lines->size());
    if (lines->isEmpty()) read.problem = RecordProblem::Empty;
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
