#include "replaycursor.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include "shiftjis.h"

namespace gamecommon {

namespace {

// A position line of either game is about a kilobyte. A line far longer is
// no position, and is read past in pieces of this size rather than held.
constexpr qint64 kMaxLineBytes = 64 * 1024;

// One line of a record read from the device's current place, without its
// line end (LF, or CR LF); `whole` is false for a line longer than
// kMaxLineBytes, of which only the start is kept.
struct RecordLine {
    QByteArray bytes;
    bool whole = true;
};

std::optional<RecordLine> nextLine(QIODevice& device) {
    RecordLine line;
    line.bytes = device.readLine(kMaxLineBytes);
    if (line.bytes.isEmpty()) return std::nullopt;  // the end, or a read error
    while (!line.bytes.endsWith('\n')) {
        const QByteArray more = device.readLine(kMaxLineBytes);
        if (more.isEmpty()) break;  // the last line has no line end
        line.whole = false;
        if (more.endsWith('\n')) break;
    }
    if (line.bytes.endsWith("\r\n")) {
        line.bytes.chop(2);
    } else if (line.bytes.endsWith('\n')) {
        line.bytes.chop(1);
    }
    return line;
}

}  // namespace

ReplayCursor::ReplayCursor() = default;
ReplayCursor::ReplayCursor(ReplayCursor&&) noexcept = default;
ReplayCursor& ReplayCursor::operator=(ReplayCursor&&) noexcept = default;
ReplayCursor::~ReplayCursor() = default;

ReplayCursor::ReplayCursor(std::unique_ptr<QIODevice> record, PositionCheck isPosition)
    : record_(std::move(record)), isPosition_(std::move(isPosition)) {
    for (;;) {
        const qint64 offset = record_->pos();
        const auto line = nextLine(*record_);
        if (!line) break;
        const int number = ++lineCount_;
        if (line->whole && isPosition_(platform::fromShiftJis(line->bytes))) {
            positions_.append({number, offset});
        } else {
            skipped_.append(number);
        }
    }
    if (const auto* file = qobject_cast<const QFileDevice*>(record_.get()))
        readFailed_ = file->error() != QFileDevice::NoError;
}

std::optional<QString> ReplayCursor::position() const {
    if (isEmpty() || !record_->seek(positions_[current_].offset)) return std::nullopt;
    const auto line = nextLine(*record_);
    if (!line || !line->whole) return std::nullopt;
    QString text = platform::fromShiftJis(line->bytes);
    if (!isPosition_(text)) return std::nullopt;
    return text;
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
    const QFileInfo info(path);
    if (!info.exists()) return {{}, RecordProblem::Missing};
    auto file = std::make_unique<QFile>(path);
    if (!info.isFile() || !file->open(QIODevice::ReadOnly)) return {{}, RecordProblem::Unreadable};
    ReplayCursor cursor(std::move(file), isPosition);
    if (cursor.readFailed()) return {{}, RecordProblem::Unreadable};
    if (cursor.lineCount() == 0) return {{}, RecordProblem::Empty};
    if (cursor.isEmpty()) return {std::move(cursor), RecordProblem::NoPosition};
    return {std::move(cursor), RecordProblem::None};
}

}  // namespace gamecommon
