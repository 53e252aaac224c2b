#include "fropen.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "folderlisting.h"
#include "quenlistexts.h"

namespace quenlis {

frOpen::frOpen(const QString& startFolder, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frOpen"));
    setWindowTitle(kCaption);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    browser_ = new platform::FolderBrowser(Drive1, Dir1, File1, platform::executableFiles, this);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral("ファイル名の手動変更はできません。"));
    nameLabel = new QLabel(QStringLiteral("ファイル名(&N):"), this);
    nameLabel->setBuddy(Text1);

    Command2 = new QPushButton(QStringLiteral("設　定"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(QStringLiteral("キャンセル"), this);
    Command3->setObjectName(QStringLiteral("Command3"));

    auto* layout = new QGridLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(Drive1);
    left->addWidget(Dir1);
    layout->addLayout(left, 0, 0);
    layout->addWidget(File1, 0, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(Text1, 1);
    layout->addLayout(nameRow, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    layout->addLayout(buttons, 2, 0, 1, 2);
    resize(520, 360);

    connect(browser_, &platform::FolderBrowser::driveUnusable, this,
            [this] { dialogs_.message(this, kProgramName, kDriveFailedText); });
    connect(File1, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { fileChosen(current); });
    // Typing is undone at once: the box only ever shows a listed file.
    connect(Text1, &QLineEdit::textEdited, this, [this] { Text1->setText(chosenPath_); });
    connect(Command2, &QPushButton::clicked, this, [this] {
        ThisPath = Text1->text();
        accept();
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        ThisPath.clear();
        reject();
    });

    const QString start = startFolder.isEmpty() ? QDir::currentPath() : startFolder;
    setFolder(QFileInfo(start).isDir() ? start : QDir::currentPath());
}

void frOpen::fileChosen(QListWidgetItem* item) {
    if (!item) return;
    chosenPath_ = platform::pathInFolder(folder(), item->text());
    Text1->setText(chosenPath_);
}

}  // namespace quenlis
