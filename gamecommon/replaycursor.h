#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>
#include <optional>

#include "recordproblem.h"

class QIODevice;

namespace gamecommon {

// The positions of a record as the replay steps through them. A running
// record is never switched off while the program runs, so it can grow to any
// size: the record is read through once, keeping only where each position
// line starts, and the position shown is read from the file when the cursor
// comes to it. Memory grows by a few bytes a line, never by the record's
// text. A line that is not a position (damaged, edited by hand) is left out
// and its number kept, so the board never shows half a position and the
// player can be told which lines were skipped.
class ReplayCursor {
public:
    // Whether a line is a whole position of the game.
    using PositionCheck = std::function<bool(QStringView line)>;

    ReplayCursor();
    // Reads `record` (open for reading, at its start) through once; the
    // cursor keeps it and reads the positions from it as they are shown.
    ReplayCursor(std::unique_ptr<QIODevice> record, PositionCheck isPosition);
    ReplayCursor(ReplayCursor&&) noexcept;
    ReplayCursor& operator=(ReplayCursor&&) noexcept;
    ~ReplayCursor();

    bool isEmpty() const { return positions_.isEmpty(); }
    qsizetype count() const { return positions_.size(); }
    // How many lines the record has, positions or not.
    int lineCount() const { return lineCount_; }
    // The numbers (from 1) of the lines that are no position.
    const QList<int>& skippedLines() const { return skipped_; }
    // Whether reading the record through failed before its end.
    bool readFailed() const { return readFailed_; }

    // The current position, read from the record; nothing while there is
    // none, or when its line cannot be read back as a position (the file
    // was changed under the replay).
    std::optional<QString> position() const;
    // The current position's line number in the record (from 1); 0 while
    // there is none.
    int lineNumber() const;

    // "<<": the first position. "<": one back, staying on the first.
    // ">": one on, staying on the last.
    void first() { current_ = 0; }
    void back();
    void forward();

private:
    struct Line {
        int number = 0;
        qint64 offset = 0;  // where the line starts in the record
    };
    std::unique_ptr<QIODevice> record_;
    PositionCheck isPosition_;
    QList<Line> positions_;
    QList<int> skipped_;
    int lineCount_ = 0;
    bool readFailed_ = false;
    qsizetype current_ = 0;
};

// A record opened for the replay, or why it cannot be replayed (a missing,
// unreadable or empty file, or one without a single position).
struct ReplayLoad {
    ReplayCursor cursor;
    RecordProblem problem = RecordProblem::None;
};

ReplayLoad loadReplay(const QString& path, const ReplayCursor::PositionCheck& isPosition);

}  // namespace gamecommon
