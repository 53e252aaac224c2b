#pragma once

#include <QDialog>

#include "loginsettings.h"

class QLineEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace gamecommon {

// The login settings dialog ("Login") of the game programs: four boxes filled
// from "LOGIN.TXT" when it opens, "保　存" writes them back and keeps the
// dialog open, "END" closes it without saving.
class LoginDialog : public QDialog {
    Q_OBJECT

public:
    LoginDialog(const QString& loginFilePath, platform::Dialogs& dialogs, QWidget* parent);

    // What the four boxes hold.
    LoginSettings values() const;

private:
    void save();

    QString path_;
    platform::Dialogs& dialogs_;

    // Controls, each with its member name as object name.
    QLineEdit* TxtID = nullptr;
    QLineEdit* TxtPASS = nullptr;
    QLineEdit* TxtMAIL = nullptr;
    QLineEdit* TxtSV = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnClose = nullptr;
};

}  // namespace gamecommon
