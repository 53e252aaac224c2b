#include "fropen.h"

#include "folderlisting.h"
#include "quenlistexts.h"

namespace quenlis {

frOpen::frOpen(const QString& startFolder, platform::Dialogs& dialogs, QWidget* parent)
    : FileOpenDialog(
          QStringLiteral("frOpen"),
          {caption(), quenlisText(QT_TRANSLATE_NOOP("Quenlis", "ファイル名(&N):")),
           quenlisText(QT_TRANSLATE_NOOP("Quenlis", "ファイル名の手動変更はできません。")),
           kProgramName, driveFailedText()},
          platform::executableFiles, NameShown::FullPath, startFolder, dialogs, parent) {
    Command2 =
        addButton(QStringLiteral("Command2"), quenlisText(QT_TRANSLATE_NOOP("Quenlis", "設　定")));
    Command3 = addButton(QStringLiteral("Command3"),
                         quenlisText(QT_TRANSLATE_NOOP("Quenlis", "キャンセル")));
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
