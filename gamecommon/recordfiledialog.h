#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs.h"
#include "folderbrowser.h"
#include "recordnames.h"

namespace gamecommon {

// What the file dialog is opened for (`MnuFlag`).
inline constexpr int kMnuFlagMemo = 0;    // a text file for the memo editor: "開　く"
inline constexpr int kMnuFlagReplay = 1;  // a record to replay: "実　行"

// The file dialog "開く" (`Form3`) of the game programs: the mounted file
// systems (`Drive1`), the folders (`Dir1`, activate a line to go there), the
// files of the current folder that match the chosen filter (`File1`), the
// name box (`Text1`), which only a click on a file can change, the filters
// ".TXT" (`Option1`) and the record filter (`Option2`), and the button of the
// mode: "開　く" (`Command1`) hands back the file for the memo editor,
// "実　行" (`Command2`) the record to replay.
class RecordFileDialog : public QDialog {
    Q_OBJECT

public:
    RecordFileDialog(int mnuFlag, const QString& startFolder, const RecordNames& names,
                     platform::Dialogs& dialogs, QWidget* parent = nullptr);

    const int MnuFlag;

    // After "開　く": the path of the file to edit (`FileOpen`'s path).
    QString openPath;
    // After "実　行": the record to replay, empty when no file was clicked.
    QString ExFile;

    QString folder() const { return browser_->folder(); }
    void setFolder(const QString& path) { browser_->setFolder(path); }

    QComboBox* Drive1 = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* nameLabel = nullptr;
    QLineEdit* Text1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    void fileChosen(QListWidgetItem* item);
    void usePattern(const QString& pattern);
    void open();
    void run();

    const RecordNames names_;
    platform::Dialogs& dialogs_;
    platform::FolderBrowser* browser_ = nullptr;
    // The file last clicked, with its folder: the folder list may have moved
    // on since, and the file handed back must be the one clicked.
    QString chosenName_;
    QString chosenPath_;
};

}  // namespace gamecommon
