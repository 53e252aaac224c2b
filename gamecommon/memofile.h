#pragma once

#include <QString>

#include "recordproblem.h"

namespace gamecommon {

// The text files of the memo editor: Shift-JIS with CR LF line ends, shown
// and edited with plain line feeds.

struct MemoRead {
    QString text;   // the lines joined by line feeds, without one at the end
    int lines = 0;  // how many lines were read
    // Missing, Unreadable or TooLarge: no text. Empty: a file without a
    // line, which can still be written into.
    RecordProblem problem = RecordProblem::None;
};

// The memo editor holds its file as one text. Running records grow by about
// 230 KB a go game and are never cut while the program runs, so records of
// many megabytes open too; only a file of more than kMaxMemoBytes, which no
// record reaches and an editor box cannot sensibly hold, is refused.
inline constexpr qint64 kMaxMemoBytes = 256 * 1024 * 1024;

MemoRead readMemo(const QString& path);

// Writes `text` with CR LF line ends and one CR LF at the end, replacing the
// file. Text with characters Shift-JIS cannot hold is not written
// (Unstorable), since they would be lost; a failed write leaves the old file
// as it was.
RecordProblem writeMemo(const QString& path, const QString& text);

}  // namespace gamecommon
