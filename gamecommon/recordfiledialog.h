#pragma once

#include <QPushButton>
#include <QRadioButton>

#include "fileopendialog.h"
#include "recordnames.h"

namespace gamecommon {

// What the file dialog is opened for (`MnuFlag`).
inline constexpr int kMnuFlagMemo = 0;    // a text file for the memo editor: "開　く"
inline constexpr int kMnuFlagReplay = 1;  // a record to replay: "実　行"

// The file dialog "開く" (`Form3`) of the game programs: `File1` lists the
// files of the current folder that match the chosen filter, ".TXT"
// (`Option1`) or the record filter (`Option2`), and `Text1` shows the name of
// the file clicked. The button of the mode: "開　く" (`Command1`) hands back
// the file for the memo editor, "実　行" (`Command2`) the record to replay.
class RecordFileDialog : public platform::FileOpenDialog {
    Q_OBJECT

public:
    RecordFileDialog(int mnuFlag, const QString& startFolder, const RecordNames& names,
                     platform::Dialogs& dialogs, QWidget* parent = nullptr);

    const int MnuFlag;

    // After "開　く": the path of the file to edit (`FileOpen`'s path).
    const QString& openPath() const { return openPath_; }
    // After "実　行": the record to replay, empty when no file was clicked.
    const QString& exFile() const { return ExFile; }

private:
    void usePattern(const QString& pattern);
    void open();
    void run();

    const RecordNames names_;
    QString openPath_;
    QString ExFile;

    // Controls, each with its member name as object name.
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
};

}  // namespace gamecommon
