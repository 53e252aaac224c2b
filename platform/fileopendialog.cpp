#include "fileopendialog.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "folderlisting.h"

namespace platform {

FileOpenDialog::FileOpenDialog(const QString& objectName, const Texts& texts,
                               FolderBrowser::FileLister lister, NameShown shown,
                               const QString& startFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), messageTitle_(texts.messageTitle), shown_(shown), dialogs_(dialogs) {
    setObjectName(objectName);
    setWindowTitle(texts.caption);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    browser_ = new FolderBrowser(Drive1, Dir1, File1, std::move(lister), this);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(texts.nameTip);
    nameLabel = new QLabel(texts.nameLabel, this);
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    nameLabel->setBuddy(Text1);

    auto* layout = new QGridLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(Drive1);
    left->addWidget(Dir1);
    layout->addLayout(left, 0, 0);
    fileColumn_ = new QVBoxLayout;
    fileColumn_->addWidget(File1, 1);
    layout->addLayout(fileColumn_, 0, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(Text1, 1);
    layout->addLayout(nameRow, 1, 0, 1, 2);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    layout->addLayout(buttons_, 2, 0, 1, 2);
    resize(520, 360);

    connect(browser_, &FolderBrowser::driveUnusable, this,
            [this, texts] { tell(texts.driveUnusable); });
    connect(File1, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { fileChosen(current); });
    // Typing is undone at once: the box only ever shows a listed file.
    connect(Text1, &QLineEdit::textEdited, this, [this] { Text1->setText(shownName_); });

    const QString start = startFolder.isEmpty() ? QDir::currentPath() : startFolder;
    setFolder(QFileInfo(start).isDir() ? start : QDir::currentPath());
}

QPushButton* FileOpenDialog::addButton(const QString& objectName, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(objectName);
    buttons_->addWidget(button);
    return button;
}

void FileOpenDialog::setFileLister(FolderBrowser::FileLister lister) {
    browser_->setFileLister(std::move(lister));
}

void FileOpenDialog::tell(const QString& text) {
    dialogs_.message(this, messageTitle_, text);
}

void FileOpenDialog::fileChosen(QListWidgetItem* item) {
    if (!item) return;
    chosenPath_ = pathInFolder(folder(), item->text());
    shownName_ = shown_ == NameShown::FullPath ? chosenPath_ : item->text();
    Text1->setText(shownName_);
}

}  // namespace platform
