#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

#include "recordproblem.h"

namespace gamecommon {

// The positions of a record as the replay steps through them. Every line of
// the file that is a position of the game can be shown, however long the
// record; a line that is not one (damaged, edited by hand) is left out and
// its number kept, so the board never shows half a position and the player
// can be told which lines were skipped.
class ReplayCursor {
public:
    // Whether a line is a whole position of the game.
    using PositionCheck = std::function<bool(QStringView line)>;

    ReplayCursor() = default;
    ReplayCursor(const QStringList& lines, const PositionCheck& isPosition);

    bool isEmpty() const { return positions_.isEmpty(); }
    qsizetype count() const { return positions_.size(); }
    // The numbers (from 1) of the lines that are no position.
    const QList<int>& skippedLines() const { return skipped_; }

    // The current position and its line number in the file (from 1); an
    // empty text and 0 while there is none.
    QString position() const;
    int lineNumber() const;

    // "<<": the first position. "<": one back, staying on the first.
    // ">": one on, staying on the last.
    void first() { current_ = 0; }
    void back();
    void forward();

private:
    struct Line {
        int number = 0;
        QString position;
    };
    QList<Line> positions_;
    QList<int> skipped_;
    qsizetype current_ = 0;
};

// A record read for the replay, or why it cannot be replayed (a missing,
// unreadable or empty file, or one without a single position).
struct ReplayLoad {
    ReplayCursor cursor;
    RecordProblem problem = RecordProblem::None;
};

ReplayLoad loadReplay(const QString& path, const ReplayCursor::PositionCheck& isPosition);

}  // namespace gamecommon
