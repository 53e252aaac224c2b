#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;
class QListWidget;

namespace platform {

// The drive, folder and file lists of a file dialog, kept in step with each
// other: the drive list holds the mounted file systems, the folder list the
// way down from the root to the current folder and then its subfolders
// (activating a line goes there), and the file list what the dialog's lister
// finds in the current folder. Choosing a drive that cannot be shown puts the
// drive list back and changes nothing; the dialog is told so that it can say
// why in its own words. The lists are the dialog's widgets; this only fills
// them.
class FolderBrowser : public QObject {
    Q_OBJECT

public:
    using FileLister = std::function<QStringList(const QString& folder)>;

    FolderBrowser(QComboBox* drives, QListWidget* folders, QListWidget* files, FileLister lister,
                  QObject* parent);

    // The folder whose files the file list shows (absolute, cleaned).
    QString folder() const { return folder_; }

    // Shows `path` in the folder list and its files in the file list, and
    // selects its file system in the drive list.
    void setFolder(const QString& path);

    // Lists the current folder's files again, with `lister` from now on.
    void setFileLister(FileLister lister);

signals:
    // A drive was chosen that cannot be shown now (no medium, unmounted);
    // the lists are as they were.
    void driveUnusable(const QString& root);

private:
    void driveChosen(int index);
    void selectDriveOf(const QString& path);
    void listFiles();

    QComboBox* drives_;
    QListWidget* folders_;
    QListWidget* files_;
    FileLister lister_;
    QString folder_;
};

}  // namespace platform
