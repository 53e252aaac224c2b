#pragma once

#include <QString>
#include <QStringView>

namespace gamecommon {

// What the record windows need from the game: a record line is a position
// string of the game, which only the game can check and draw.
class RecordBoard {
public:
    virtual ~RecordBoard() = default;

    // Whether `line` is a whole position string the board can show.
    virtual bool isPosition(QStringView line) const = 0;

    // Makes `line` (one that isPosition accepted) the main board's position
    // and redraws the board from it through BanStart.
    virtual void showRecordedPosition(const QString& line) = 0;
};

}  // namespace gamecommon
