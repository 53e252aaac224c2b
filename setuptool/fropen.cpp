#include "fropen.h"

#include "folderlisting.h"
#include "quenlistexts.h"

namespace quenlis {

frOpen::frOpen(const QString& startFolder, platform::Dialogs& dialogs, QWidget* parent)
    : FileOpenDialog(
          QStringLiteral("frOpen"),
          {kCaption, QStringLiteral("ファイル名(&N):"),
           QStringLiteral("ファイル名の手動変更はできません。"), kProgramName, kDriveFailedText},
          platform::executableFiles, NameShown::FullPath, startFolder, dialogs, parent) {
    Command2 = addButton(QStringLiteral("Command2"), QStringLiteral("設　定"));
    Command3 = addButton(QStringLiteral("Command3"), QStringLiteral("キャンセル"));
    connect(Command2, &QPushButton::clicked, this, [this] {
        ThisPath = nameBoxText();
        accept();
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        ThisPath.clear();
        reject();
    });
}

}  // namespace quenlis
