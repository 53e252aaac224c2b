#include "recordfiledialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "folderlisting.h"
#include "recordtexts.h"

namespace gamecommon {

namespace {

// The files a filter pattern lets through.
platform::FolderBrowser::FileLister matching(const QString& pattern) {
    return [pattern](const QString& folder) { return platform::matchingFiles(folder, pattern); };
}

// A replay takes records only; the memo editor starts with text files.
QString startPattern(int mnuFlag, const RecordNames& names) {
    return mnuFlag == kMnuFlagReplay ? names.filterPattern : kTextPattern;
}

}  // namespace

RecordFileDialog::RecordFileDialog(int mnuFlag, const QString& startFolder,
                                   const RecordNames& names, platform::Dialogs& dialogs,
                                   QWidget* parent)
    : FileOpenDialog(QStringLiteral("Form3"),
                     {fileDialogCaption(), nameLabelText(), nameTipText(), names.programTitle,
                      driveUnusableText()},
                     matching(startPattern(mnuFlag, names)), NameShown::FileName, startFolder,
                     dialogs, parent),
      MnuFlag(mnuFlag),
      names_(names) {
    Option1 = new QRadioButton(kTextOption, this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(names_.filterCaption, this);
    Option2->setObjectName(QStringLiteral("Option2"));
    auto* options = new QHBoxLayout;
    options->addWidget(Option1);
    options->addWidget(Option2);
    options->addStretch();
    fileColumn()->addLayout(options);

    Command1 = addButton(QStringLiteral("Command1"), openButtonText());
    Command2 = addButton(QStringLiteral("Command2"), runButtonText());

    // The mode decides the button, and whether the filter may change: a
    // replay takes records only.
    const bool replay = MnuFlag == kMnuFlagReplay;
    Command1->setVisible(!replay);
    Command2->setVisible(replay);
    Option1->setEnabled(!replay);
    Option2->setEnabled(!replay);
    (replay ? Option2 : Option1)->setChecked(true);

    connect(Option1, &QRadioButton::clicked, this, [this] { usePattern(kTextPattern); });
    connect(Option2, &QRadioButton::clicked, this, [this] { usePattern(names_.filterPattern); });
    connect(Command1, &QPushButton::clicked, this, &RecordFileDialog::open);
    connect(Command2, &QPushButton::clicked, this, &RecordFileDialog::run);
}

void RecordFileDialog::usePattern(const QString& pattern) {
    setFileLister(matching(pattern));
}

void RecordFileDialog::open() {
    if (nameBoxText().isEmpty()) {
        tell(chooseFileText());
        return;
    }
    openPath_ = chosenPath();
    accept();
}

void RecordFileDialog::run() {
    ExFile = chosenPath();
    accept();
}

}  // namespace gamecommon
