#include "replaycursor.h"

#include <QFileInfo>

#include "textfile.h"

namespace gamecommon {

ReplayCursor::ReplayCursor(const QStringList& lines, const PositionCheck& isPosition) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        if (isPosition(lines[i])) {
            positions_.append({number, lines[i]});
        } else {
            skipped_.append(number);
        }
    }
}

QString ReplayCursor::position() const {
    return isEmpty() ? QString() : positions_[current_].position;
}

int ReplayCursor::lineNumber() const {
    return isEmpty() ? 0 : positions_[current_].number;
}

void ReplayCursor::back() {
    if (current_ > 0) --current_;
}

void ReplayCursor::forward() {
    if (current_ + 1 < positions_.size()) ++current_;
}

ReplayLoad loadReplay(const QString& path, const ReplayCursor::PositionCheck& isPosition) {
    if (!QFileInfo::exists(path)) return {{}, RecordProblem::Missing};
    const auto lines = platform::readTextLines(path);
    if (!lines) return {{}, RecordProblem::Unreadable};
    if (lines->isEmpty()) return {{}, RecordProblem::Empty};
    ReplayCursor cursor(*lines, isPosition);
    if (cursor.isEmpty()) return {std::move(cursor), RecordProblem::NoPosition};
    return {std::move(cursor), RecordProblem::None};
}

}  // namespace gamecommon
