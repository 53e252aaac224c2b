#include "folderbrowser.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>

#include "folderlisting.h"

namespace platform {

namespace {

constexpr int kIndentPerLevel = 2;

}  // namespace

FolderBrowser::FolderBrowser(QComboBox* drives, QListWidget* folders, QListWidget* files,
                             FileLister lister, QObject* parent)
    : QObject(parent),
      drives_(drives),
      folders_(folders),
      files_(files),
      lister_(std::move(lister)) {
    for (const Drive& drive : mountedDrives())
        drives_->addItem(drive.text, drive.root);
    connect(drives_, &QComboBox::activated, this, &FolderBrowser::driveChosen);
    connect(folders_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setFolder(item->data(Qt::UserRole).toString()); });
}

void FolderBrowser::setFolder(const QString& path) {
    folder_ = QDir::cleanPath(QDir(path).absolutePath());

    folders_->clear();
    for (const FolderEntry& entry : folderTree(folder_)) {
        auto* item = new QListWidgetItem(QString(entry.depth * kIndentPerLevel, u' ') + entry.name,
                                         folders_);
        item->setData(Qt::UserRole, entry.path);
        if (entry.path == folder_) folders_->setCurrentItem(item);
    }
    listFiles();
    selectDriveOf(folder_);
}

void FolderBrowser::setFileLister(FileLister lister) {
    lister_ = std::move(lister);
    listFiles();
}

void FolderBrowser::listFiles() {
    files_->clear();
    if (!folder_.isEmpty()) files_->addItems(lister_(folder_));
}

void FolderBrowser::selectDriveOf(const QString& path) {
    const QString root = driveOf(path);
    int index = drives_->findData(root);
    if (index < 0) {
        // A file system left out of the list (not reported as ready) still
        // shows where the folder is.
        drives_->addItem(root, root);
        index = drives_->count() - 1;
    }
    drives_->setCurrentIndex(index);
}

void FolderBrowser::driveChosen(int index) {
    const QString root = drives_->itemData(index).toString();
    if (!driveUsable(root)) {
        // Put the list back first: the dialog may show a box, and the drive
        // list must not claim a drive the other lists do not show meanwhile.
        selectDriveOf(folder_);
        emit driveUnusable(root);
        return;
    }
    if (driveOf(folder_) != root) setFolder(root);
}

}  // namespace platform
