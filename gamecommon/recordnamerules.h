#pragma once

#include <QString>

#include "recordnames.h"

namespace gamecommon {

// The names typed into the save-as boxes are completed with the record
// extension, so that a saved record shows up under the record filter of the
// file dialog. Only the last part of a path is looked at: a dot in a folder
// name is no extension.

// Saving the running record: a name without a dot gets the extension
// ("game1" -> "game1.sho"); a name with one is used as typed ("game1.kif").
QString savedRecordName(const QString& answer, const RecordNames& names);

// Saving a memo under another name: the extension is added unless the name
// already holds it ("memo" -> "memo.sho", "memo.txt" -> "memo.txt.sho",
// "memo.sho" unchanged).
QString memoSaveName(const QString& answer, const RecordNames& names);

}  // namespace gamecommon
