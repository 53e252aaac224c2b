#include "quenliswindow.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>

#include "fropen.h"
#include "programcheck.h"
#include "programfolder.h"
#include "quenlistexts.h"
#include "startprogram.h"

namespace quenlis {

namespace {

QString slotName(const char* stem, int slot) {
    return QString::fromLatin1(stem) + u'_' + QString::number(slot);
}

}  // namespace

QuenlisWindow::QuenlisWindow(QuenlisOptions options, QWidget* parent)
    : QWidget(parent),
      workingFolder_(std::move(options.workingFolder)),
      dialogs_(*options.dialogs) {
    setObjectName(QStringLiteral("Quenlis"));
    setWindowTitle(kProgramName);

    auto* layout = new QGridLayout(this);
    for (int slot = 0; slot < gamefile::kGameSlotCount; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        slotLabel[i] = new QLabel(quenlis::slotLabel(i), this);
        slotLabel[i]->setObjectName(slotName("slotLabel", slot));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(slotName("Text1", slot));
        Text1[i]->setMinimumWidth(360);
        Option1[i] = new QPushButton(quenlisText(QT_TRANSLATE_NOOP("Quenlis", "設定")), this);
        Option1[i]->setObjectName(slotName("Option1", slot));
        Option2[i] = new QPushButton(quenlisText(QT_TRANSLATE_NOOP("Quenlis", "起動")), this);
        Option2[i]->setObjectName(slotName("Option2", slot));
        layout->addWidget(slotLabel[i], slot, 0);
        layout->addWidget(Text1[i], slot, 1);
        layout->addWidget(Option1[i], slot, 2);
        layout->addWidget(Option2[i], slot, 3);
        connect(Option1[i], &QPushButton::clicked, this, [this, slot] { choose(slot); });
        connect(Option2[i], &QPushButton::clicked, this, [this, slot] { start(slot); });
    }

    nameLabel = new QLabel(quenlisText(QT_TRANSLATE_NOOP("Quenlis", "ファイル名")), this);
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    Text2 = new QLineEdit(QString::fromLatin1(gamefile::kGameFileName), this);
    Text2->setObjectName(QStringLiteral("Text2"));
    nameLabel->setBuddy(Text2);
    layout->addWidget(nameLabel, gamefile::kGameSlotCount, 0);
    layout->addWidget(Text2, gamefile::kGameSlotCount, 1);

    SaveBTN = new QPushButton(quenlisText(QT_TRANSLATE_NOOP("Quenlis", "保　存")), this);
    SaveBTN->setObjectName(QStringLiteral("SaveBTN"));
    SetBTN = new QPushButton(quenlisText(QT_TRANSLATE_NOOP("Quenlis", "終　了")), this);
    SetBTN->setObjectName(QStringLiteral("SetBTN"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SaveBTN);
    buttons->addWidget(SetBTN);
    layout->addLayout(buttons, gamefile::kGameSlotCount + 1, 0, 1, 4);

    connect(SaveBTN, &QPushButton::clicked, this, [this] { FileSave(); });
    connect(SetBTN, &QPushButton::clicked, this, &QWidget::close);

    FileLoad();
    SaveBTN->setEnabled(false);
}

QString QuenlisWindow::listFilePath() const {
    const QString name = Text2->text();
    // A bare name is found in the working folder whatever its case, as the
    // lobby client finds it in its own folder.
    if (!name.contains(u'/')) return platform::fileInFolder(workingFolder_, name);
    return QDir(workingFolder_).filePath(name);
}

void QuenlisWindow::FileLoad() {
    const gamefile::GameFileRead read = gamefile::readGameFile(listFilePath());
    if (read.status == gamefile::GameFileStatus::Missing) {
        message(missingFileText(Text2->text()));
        return;
    }
    // Only the lines the file held are taken; slots after a short file's end
    // stay empty with "起動" usable, and pressing it then says why nothing
    // can start.
    for (int slot = 0; slot < read.lines; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        Text1[i]->setText(read.list.paths[i]);
        if (read.list.paths[i].isEmpty()) Option2[i]->setEnabled(false);
    }
}

bool QuenlisWindow::FileSave() {
    gamefile::GameFileList list;
    for (int slot = 0; slot < gamefile::kGameSlotCount; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        const QString path = Text1[i]->text();
        if (!gamefile::canStorePath(path)) {
            message(path.contains(u',') ? commaSaveText(quenlis::slotLabel(i))
                                        : unstorableSaveText(quenlis::slotLabel(i)));
            return false;
        }
        list.paths[i] = path;
    }
    if (Text2->text().isEmpty()) {
        message(noListNameText());
        return false;
    }
    if (!gamefile::writeGameFile(listFilePath(), list)) {
        message(saveFailedText(Text2->text()));
        return false;
    }
    return true;
}

void QuenlisWindow::choose(int slot) {
    const auto i = static_cast<std::size_t>(slot);
    // The dialog opens where the slot's program is, when there is one.
    const QString current = Text1[i]->text();
    QString startFolder = workingFolder_;
    if (!current.isEmpty()) {
        const QString folder = platform::programFolderOf(current);
        if (!folder.isEmpty() && QFileInfo(QDir(workingFolder_).filePath(folder)).isDir())
            startFolder = QDir(workingFolder_).filePath(folder);
    }

    ThisPath.clear();
    frOpen dialog(startFolder, dialogs_, this);
    dialog.exec();
    ThisPath = dialog.thisPath();
    if (ThisPath.isEmpty()) return;
    Text1[i]->setText(ThisPath);
    SaveBTN->setEnabled(true);
}

void QuenlisWindow::start(int slot) {
    const QString path = Text1[static_cast<std::size_t>(slot)]->text();
    switch (gamefile::startProblem(path)) {
        case gamefile::StartProblem::Empty:
            message(noProgramText());
            return;
        case gamefile::StartProblem::NoFolder:
            message(noFolderText());
            return;
        case gamefile::StartProblem::Comma:
            message(commaStartText());
            return;
        case gamefile::StartProblem::None:
            break;
    }
    // Whether the program started is not reported: the tool hands it to the
    // system and is done with it.
    const QDir base(workingFolder_);
    platform::startProgram(base.absoluteFilePath(path),
                           base.absoluteFilePath(platform::programFolderOf(path)));
}

void QuenlisWindow::message(const QString& text) {
    dialogs_.message(this, kProgramName, text);
}

}  // namespace quenlis
