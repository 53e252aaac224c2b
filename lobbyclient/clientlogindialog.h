#pragma once

#include <QDialog>

#include "clientsettings.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lobbyclient {

// The login dialog ("LOGIN") of the lobby client: the login values, the game
// to play, "保　存" (write "LOGIN.TXT"), "送　信" (connect and log in), "END"
// (end the program) and "ファイル設定" (start the setup tool).
class ClientLoginDialog : public QDialog {
    Q_OBJECT

public:
    ClientLoginDialog(const QString& loginFilePath, QWidget* parent);

    // The dialog's values, the game as its list position (-1 for none).
    LoginRecord record() const;

    // Reads "LOGIN.TXT" into the boxes.
    void load();

    // "送　信" pressed: the program's --login does so at start.
    void send();

signals:
    void sendRequested(const LoginRecord& record);
    void saveFailed();
    void endRequested();
    void setupToolRequested();

private:
    QString path_;

    // Controls, named as the client has always named them; each one has its
    // member name as object name.
    QLineEdit* TxtID;
    QLineEdit* TxtPASS;
    QLineEdit* TxtMAIL;
    QLineEdit* TxtSV;
    QComboBox* GM;
    QPushButton* BtnSave;
    QPushButton* BtnSend;
    QPushButton* BtnClose;
    QPushButton* OPTbtn;
};

}  // namespace lobbyclient
