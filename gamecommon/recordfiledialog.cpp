#include "recordfiledialog.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "folderlisting.h"
#include "recordtexts.h"

namespace gamecommon {

RecordFileDialog::RecordFileDialog(int mnuFlag, const QString& startFolder,
                                   const RecordNames& names, platform::Dialogs& dialogs,
                                   QWidget* parent)
    : QDialog(parent), MnuFlag(mnuFlag), names_(names), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kFileDialogCaption);

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(kNameTip);
    nameLabel = new QLabel(kNameLabel, this);
    nameLabel->setBuddy(Text1);

    Option1 = new QRadioButton(kTextOption, this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(names_.filterCaption, this);
    Option2->setObjectName(QStringLiteral("Option2"));

    Command1 = new QPushButton(kOpenButton, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(kRunButton, this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* layout = new QGridLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(Drive1);
    left->addWidget(Dir1);
    layout->addLayout(left, 0, 0);
    auto* right = new QVBoxLayout;
    right->addWidget(File1, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(Option1);
    options->addWidget(Option2);
    options->addStretch();
    right->addLayout(options);
    layout->addLayout(right, 0, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(Text1, 1);
    layout->addLayout(nameRow, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addLayout(buttons, 2, 0, 1, 2);
    resize(520, 360);

    // The mode decides the button, and whether the filter may change: a
    // replay takes records only.
    const bool replay = MnuFlag == kMnuFlagReplay;
    Command1->setVisible(!replay);
    Command2->setVisible(replay);
    Option1->setEnabled(!replay);
    Option2->setEnabled(!replay);
    const QString pattern = replay ? names_.filterPattern : kTextPattern;
    (replay ? Option2 : Option1)->setChecked(true);

    browser_ = new platform::FolderBrowser(
        Drive1, Dir1, File1,
        [pattern](const QString& folder) { return platform::matchingFiles(folder, pattern); },
        this);
    connect(browser_, &platform::FolderBrowser::driveUnusable, this,
            [this] { dialogs_.message(this, names_.programTitle, kDriveUnusableText); });
    connect(Option1, &QRadioButton::clicked, this, [this] { usePattern(kTextPattern); });
    connect(Option2, &QRadioButton::clicked, this, [this] { usePattern(names_.filterPattern); });
    connect(File1, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* current) { fileChosen(current); });
    // Typing is undone at once: the box only ever shows a listed file.
    connect(Text1, &QLineEdit::textEdited, this, [this] { Text1->setText(chosenName_); });
    connect(Command1, &QPushButton::clicked, this, &RecordFileDialog::open);
    connect(Command2, &QPushButton::clicked, this, &RecordFileDialog::run);

    const QString start = startFolder.isEmpty() ? QDir::currentPath() : startFolder;
    setFolder(QFileInfo(start).isDir() ? start : QDir::currentPath());
}

void RecordFileDialog::usePattern(const QString& pattern) {
    browser_->setFileLister(
        [pattern](const QString& folder) { return platform::matchingFiles(folder, pattern); });
}

void RecordFileDialog::fileChosen(QListWidgetItem* item) {
    if (!item) return;
    chosenName_ = item->text();
    chosenPath_ = platform::pathInFolder(folder(), chosenName_);
    Text1->setText(chosenName_);
}

void RecordFileDialog::open() {
    if (Text1->text().isEmpty()) {
        dialogs_.message(this, names_.programTitle, kChooseFileText);
        return;
    }
    openPath = chosenPath_;
    accept();
}

void RecordFileDialog::run() {
    ExFile = chosenPath_;
    accept();
}

}  // namespace gamecommon
