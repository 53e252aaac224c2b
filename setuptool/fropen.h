#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "dialogs.h"
#include "folderbrowser.h"

namespace quenlis {

// The dialog "開く" in which the user picks a program file: the mounted file
// systems (`Drive1`), the folders (`Dir1`, activate a line to go there), the
// programs of the current folder (`File1`, files the user may run), and the
// chosen path in `Text1`, which the user cannot type into, so that only a
// file that was listed can be chosen. "設　定" hands the path back through
// `ThisPath`, "キャンセル" (or closing the dialog) hands back an empty text.
class frOpen : public QDialog {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("開く");

    frOpen(const QString& startFolder, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // The chosen path, empty unless "設　定" was pressed after a file was
    // clicked.
    QString ThisPath;

    // The folder whose programs `File1` lists.
    QString folder() const { return browser_->folder(); }
    // Shows `path` in the folder list and its programs in the file list, and
    // selects its file system in the drive list.
    void setFolder(const QString& path) { browser_->setFolder(path); }

    QComboBox* Drive1 = nullptr;
    QListWidget* Dir1 = nullptr;
    QListWidget* File1 = nullptr;
    QLabel* nameLabel = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

private:
    void fileChosen(QListWidgetItem* item);

    platform::Dialogs& dialogs_;
    platform::FolderBrowser* browser_ = nullptr;
    QString chosenPath_;
};

}  // namespace quenlis
