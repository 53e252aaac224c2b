#pragma once

#include <QString>

namespace gamecommon {

// What can go wrong with a record or memo file. Each is told to the player in
// a message box naming the file; the program goes on and nothing it shows
// changes.
enum class RecordProblem {
    None,
    Missing,          // no such file
    Unreadable,       // there, but it cannot be read (a folder, no permission)
    TooLarge,         // larger than the memo editor can hold as text
    Empty,            // holds no line at all
    NoPosition,       // a record none of whose lines is a position
    NotWritten,       // the file cannot be created or written
    NoRunningRecord,  // save-as before any running record was made here
    Unstorable,       // text with characters a Shift-JIS file cannot hold
};

// The message box text for `problem` with the file `name` as the player knows it.
QString problemText(RecordProblem problem, const QString& name);

}  // namespace gamecommon
