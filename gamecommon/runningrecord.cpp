#include "runningrecord.h"

#include <QFileInfo>

#include "recordfile.h"
#include "recordnamerules.h"

namespace gamecommon {

RunningRecord::RunningRecord(QString folder, RecordNames names)
    : folder_(std::move(folder)), names_(std::move(names)) {}

QString RunningRecord::path() const {
    return recordFileIn(folder_, names_.runningFile);
}

RecordProblem RunningRecord::switchOn() {
    if (!FileClear(path())) return RecordProblem::NotWritten;
    on_ = true;
    failing_ = false;
    return RecordProblem::None;
}

RecordProblem RunningRecord::append(const QString& line) {
    if (!on_) return RecordProblem::None;
    if (AppendRecord(path(), line)) {
        failing_ = false;
        return RecordProblem::None;
    }
    const bool first = !failing_;
    failing_ = true;
    return first ? RecordProblem::NotWritten : RecordProblem::None;
}

RunningRecord::SaveAs RunningRecord::saveAs(const QString& answer) const {
    if (answer.isEmpty()) return {};
    const QString name = savedRecordName(answer, names_);
    const QString from = path();
    if (!QFileInfo::exists(from)) return {RecordProblem::NoRunningRecord, names_.runningFile};
    const RecordProblem problem = copyRecord(from, recordFileIn(folder_, name));
    // A running record that cannot be read is named as the file at fault.
    if (problem == RecordProblem::Unreadable || problem == RecordProblem::Missing)
        return {problem, names_.runningFile};
    return {problem, name};
}

}  // namespace gamecommon
