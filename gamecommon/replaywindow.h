#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "dialogs.h"
#include "recordboard.h"
#include "recordnames.h"
#include "replaycursor.h"

namespace gamecommon {

// The replay window "PLAY" (`Form2`): steps the main board through a record,
// "<<" (`Command1`) to the first position, "<" (`Command2`) one back, ">"
// (`Command3`) one on; `Label1` shows the line of the record on the board.
// It works on the main window's board, so the position shown last stays
// there when the window closes. It opens modal and lets the main window be
// used again from its first step on.
class ReplayWindow : public QDialog {
    Q_OBJECT

public:
    // `ExFile` is the record to replay; a bare name lies in `folder`.
    ReplayWindow(QString exFile, QString folder, RecordBoard& board, const RecordNames& names,
                 platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // The record replayed.
    const QString& exFile() const { return ExFile; }

    // Reads the record and shows its first position. A record that cannot be
    // replayed is told and leaves the board as it was (false); lines that are
    // no position are told and skipped.
    bool LoadFile();
    // Shows the current position on the main board and its line number.
    void DispLay();

    const ReplayCursor& cursor() const { return cursor_; }

private:
    void box(const QString& text);

    const QString ExFile;
    const QString folder_;
    RecordBoard& board_;
    const RecordNames names_;
    platform::Dialogs& dialogs_;
    ReplayCursor cursor_;

    // Controls, each with its member name as object name.
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Label1 = nullptr;
};

}  // namespace gamecommon
