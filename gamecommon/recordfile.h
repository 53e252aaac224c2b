#pragma once

#include <QString>

#include "recordproblem.h"

namespace gamecommon {

// The record files on disk: Shift-JIS text, one position per line, each line
// ended by CR LF, no header.

// Where the record file `name` is: a bare name (or any relative path) lies in
// the program's folder `folder`, found there whatever the case of its letters,
// as all the program's files are; a path from the root is taken as it is.
// The programs run in their own folder, so this is also where a bare name
// always pointed.
QString recordFileIn(const QString& folder, const QString& name);

// Makes `path` an empty file, creating it when it is not there.
bool FileClear(const QString& path);

// Adds `line` and CR LF at the end of the record `path`.
bool AppendRecord(const QString& path, const QString& line);

// Copies the record `from` to `to`, replacing what is there. A copy that
// fails leaves `to` as it was.
RecordProblem copyRecord(const QString& from, const QString& to);

}  // namespace gamecommon
