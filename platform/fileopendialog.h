#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "dialogs.h"
#include "folderbrowser.h"

class QHBoxLayout;
class QVBoxLayout;

namespace platform {

// The window in which a user picks a file: the mounted file systems
// (`Drive1`), the folders (`Dir1`, activate a line to go there), the files of
// the current folder that the lister finds (`File1`), and the name box
// (`Text1`), which the user cannot type into, so that only a file that was
// listed can be chosen. A dialog built on it adds its rows below the file
// list and its buttons at the bottom; its texts, what the name box shows and
// what is done with the chosen file are its own.
class FileOpenDialog : public QDialog {
    Q_OBJECT

public:
    struct Texts {
        QString caption;        // the window's title
        QString nameLabel;      // the label of the name box
        QString nameTip;        // the name box's tip
        QString messageTitle;   // the title of the message boxes
        QString driveUnusable;  // a drive was chosen that cannot be shown
    };

    // What the name box shows of the file clicked.
    enum class NameShown { FileName, FullPath };

    // The folder whose files `File1` lists.
    QString folder() const { return browser_->folder(); }
    // Shows `path` in the folder list and its files in the file list, and
    // selects its file system in the drive list.
    void setFolder(const QString& path) { browser_->setFolder(path); }

protected:
    // Opens on `startFolder`, or the current folder where that is none.
    FileOpenDialog(const QString& objectName, const Texts& texts, FolderBrowser::FileLister lister,
                   NameShown shown, const QString& startFolder, Dialogs& dialogs, QWidget* parent);

    // The column of the file list, for rows below it.
    QVBoxLayout* fileColumn() const { return fileColumn_; }
    // A button at the bottom, right of those added before.
    QPushButton* addButton(const QString& objectName, const QString& text);
    // Lists the current folder's files again, with `lister` from now on.
    void setFileLister(FolderBrowser::FileLister lister);
    // A message box with the dialog's title.
    void tell(const QString& text);

    // The file last clicked, with its folder: the folder list may have moved
    // on since, and the file handed back must be the one clicked. Empty until
    // a file is clicked.
    const QString& chosenPath() const { return chosenPath_; }
    // What the name box shows: empty until a file is clicked.
    QString nameBoxText() const { return Text1->text(); }

private:
    void fileChosen(QListWidgetItem* item);

    const QString messageTitle_;
    const NameShown shown_;
    Dialogs& dialogs_;
    FolderBrowser* browser_ = nullptr;
    QVBoxLayout* fileColumn_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QString chosenPath_;
    QString shownName_;  // what the name box shows of it

    // Controls, each with its member name as object name.
    QComboBox* Drive1 = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* nameLabel = nullptr;
    QLineEdit* Text1 = nullptr;
};

}  // namespace platform
