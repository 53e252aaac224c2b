#pragma once

#include <QPushButton>

#include "fileopendialog.h"
#include "quenlistexts.h"

namespace quenlis {

// The dialog "開く" in which the user picks a program file: `File1` lists the
// files of the current folder the user may run, and `Text1` shows the chosen
// file's whole path. "設　定" hands the path back through `ThisPath`,
// "キャンセル" (or closing the dialog) hands back an empty text.
class frOpen : public platform::FileOpenDialog {
    Q_OBJECT
public:
    static QString caption() { return quenlisText(QT_TRANSLATE_NOOP("Quenlis", "開く")); }

    frOpen(const QString& startFolder, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    // The chosen path, empty unless "設　定" was pressed after a file was
    // clicked.
    const QString& thisPath() const { return ThisPath; }

private:
    QString ThisPath;

    // Controls, each with its member name as object name.
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
};

}  // namespace quenlis
