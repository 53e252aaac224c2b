#pragma once

#include <QString>

#include "recordproblem.h"

namespace gamecommon {

// The text files of the memo editor: Shift-JIS with CR LF line ends, shown
// and edited with plain line feeds.

struct MemoRead {
    QString text;   // the lines joined by line feeds, without one at the end
    int lines = 0;  // how many lines were read
    // Missing or Unreadable: no text. Empty: a file without a line, which
    // can still be written into.
    RecordProblem problem = RecordProblem::None;
};

MemoRead readMemo(const QString& path);

// Writes `text` with CR LF line ends and one CR LF at the end, replacing the
// file. Text with characters Shift-JIS cannot hold is not written
// (Unstorable), since they would be lost; a failed write leaves the old file
// as it was.
RecordProblem writeMemo(const QString& path, const QString& text);

}  // namespace gamecommon
