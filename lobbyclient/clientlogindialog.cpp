#include "clientlogindialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "controlname.h"

namespace lobbyclient {

using platform::named;

ClientLoginDialog::ClientLoginDialog(const QString& loginFilePath, QWidget* parent)
    : QDialog(parent), path_(loginFilePath) {
    setWindowTitle(QStringLiteral("LOGIN"));
    TxtID = named(new QLineEdit(this), QStringLiteral("TxtID"));
    TxtPASS = named(new QLineEdit(this), QStringLiteral("TxtPASS"));
    TxtPASS->setEchoMode(QLineEdit::Password);
    // The password shows one "*" per character, whatever mask the style would use.
    TxtPASS->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    TxtMAIL = named(new QLineEdit(this), QStringLiteral("TxtMAIL"));
    TxtSV = named(new QLineEdit(this), QStringLiteral("TxtSV"));
    GM = named(new QComboBox(this), QStringLiteral("GM"));
    BtnSave = named(new QPushButton(tr("保　存"), this), QStringLiteral("BtnSave"));
    BtnSend = named(new QPushButton(tr("送　信"), this), QStringLiteral("BtnSend"));
    BtnClose = named(new QPushButton(QStringLiteral("END"), this), QStringLiteral("BtnClose"));
    OPTbtn = named(new QPushButton(tr("ファイル設定"), this), QStringLiteral("OPTbtn"));
    for (QPushButton* b : {BtnSave, BtnSend, BtnClose, OPTbtn})
        b->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(tr("ユ－ザ－ID"), TxtID);
    form->addRow(QStringLiteral("PASS"), TxtPASS);
    form->addRow(QStringLiteral("MAIL"), TxtMAIL);
    form->addRow(QStringLiteral("SerVer"), TxtSV);
    form->addRow(QStringLiteral("Game"), GM);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OPTbtn);
    buttons->addStretch();
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnSend);
    buttons->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(BtnSave, &QPushButton::clicked, this, [this] {
        if (!writeClientSettings(path_, record())) emit saveFailed();
    });
    connect(BtnSend, &QPushButton::clicked, this, [this] { emit sendRequested(record()); });
    connect(BtnClose, &QPushButton::clicked, this, [this] { emit endRequested(); });
    connect(OPTbtn, &QPushButton::clicked, this, [this] { emit setupToolRequested(); });
    load();
}

void ClientLoginDialog::load() {
    GM->clear();
    GM->addItems(GameName());
    GM->setCurrentIndex(-1);
    LoginRecord saved;
    switch (readClientSettings(path_, saved)) {
        case SettingsRead::Ok:
            TxtID->setText(saved.ID);
            TxtPASS->setText(saved.PASS);
            TxtMAIL->setText(saved.MAIL);
            TxtSV->setText(saved.Server);
            GM->setCurrentIndex(saved.Kind >= 0 && saved.Kind < GM->count() ? saved.Kind : -1);
            break;
        case SettingsRead::Missing:
            TxtID->setText(tr("LOGIN　デ－タがありません。"));
            break;
        case SettingsRead::Unreadable:
            break;
    }
}

void ClientLoginDialog::send() {
    BtnSend->click();
}

LoginRecord ClientLoginDialog::record() const {
    return {TxtID->text(), TxtPASS->text(), TxtMAIL->text(), TxtSV->text(), GM->currentIndex()};
}

}  // namespace lobbyclient
