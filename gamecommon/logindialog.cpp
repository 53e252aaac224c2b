#include "logindialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "controlname.h"
#include "dialogs.h"

namespace gamecommon {

LoginDialog::LoginDialog(const QString& loginFilePath, platform::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), path_(loginFilePath), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Login"));
    TxtID = platform::named(new QLineEdit(this), QStringLiteral("TxtID"));
    TxtPASS = platform::named(new QLineEdit(this), QStringLiteral("TxtPASS"));
    TxtPASS->setEchoMode(QLineEdit::Password);
    TxtMAIL = platform::named(new QLineEdit(this), QStringLiteral("TxtMAIL"));
    TxtSV = platform::named(new QLineEdit(this), QStringLiteral("TxtSV"));
    BtnSave = platform::named(new QPushButton(tr("保　存"), this), QStringLiteral("BtnSave"));
    BtnClose =
        platform::named(new QPushButton(QStringLiteral("END"), this), QStringLiteral("BtnClose"));
    BtnSave->setAutoDefault(false);
    BtnClose->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(tr("ユ－ザ－ID"), TxtID);
    form->addRow(QStringLiteral("PASS"), TxtPASS);
    form->addRow(QStringLiteral("MAIL"), TxtMAIL);
    form->addRow(QStringLiteral("SerVer"), TxtSV);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // A missing or unreadable file leaves the boxes empty, without a word.
    if (const auto s = readLoginSettings(path_)) {
        TxtID->setText(s->id);
        TxtPASS->setText(s->password);
        TxtMAIL->setText(s->mail);
        TxtSV->setText(s->server);
    }
    connect(BtnSave, &QPushButton::clicked, this, &LoginDialog::save);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

LoginSettings LoginDialog::values() const {
    return {TxtID->text(), TxtPASS->text(), TxtMAIL->text(), TxtSV->text()};
}

void LoginDialog::save() {
    // A write that fails must not pass for a saved login.
    if (!writeLoginSettings(path_, values())) {
        dialogs_.message(this, windowTitle(), QStringLiteral("File Error"));
    }
}

}  // namespace gamecommon
