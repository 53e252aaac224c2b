#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QWidget>

#include "dialogs.h"
#include "serverhost.h"

namespace brellow {

// The server's window, caption "Brellow Ver1.00": the last received message
// (`Status`), the listener state and notices (`Msg`), the own address
// (`GetTXT`), the minutes since start (`LFtime`) and the buttons "SerVer",
// "トレイに格納" and "END". It owns the running server and only shows what
// the server reports, in the user's language (received messages as they
// came); the server listens from the first time the window is shown or
// activated, and "SerVer" starts it again after a failure.
class Quor : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Brellow Ver1.00";

    Quor(QString loginFolder, platform::Dialogs& dialogs, QWidget* parent = nullptr);
    ~Quor() override;

    lobby::ServerHost& host() { return host_; }

    // The tray icon's tip: "Brellow1.00-" + the minute count.
    QString trayTip() const;
    bool trayShown() const { return TrayShown; }

    // "トレイに格納": hide behind the notification-area icon (or, where no
    // notification area exists, minimise).
    void toTray();
    // "表　示" of the tray menu.
    void fromTray();
    // "END", and "終了" of the tray menu: the program ends.
    void endProgram();

signals:
    // The window has closed: the program should end.
    void finished();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // StartListening at activation and on "SerVer" (which alone says so
    // when a listener runs already).
    void startListening(bool byButton);
    void showInvalidData(const QString& text);
    void showErrorBox(const QString& text);
    void ThisExit();

    platform::Dialogs& dialogs_;
    lobby::ServerHost host_;
    bool TrayShown = false;
    bool exited_ = false;
    bool starting_ = false;     // a start is under way (its error box may be open)
    bool startFailed_ = false;  // the last start failed
    // The invalid-data box is shown one at a time: reports that come while it
    // is open are counted and told in one more box when it closes, so a peer
    // sending garbage cannot pile boxes up on the screen.
    bool invalidBoxOpen_ = false;
    int invalidRepeats_ = 0;

    // Controls, each with its member name as object name.
    QLineEdit* Status = nullptr;
    QLineEdit* Msg = nullptr;
    QLineEdit* GetTXT = nullptr;
    QLabel* LFtime = nullptr;
    QPushButton* SerVerBTN = nullptr;
    QPushButton* TRYbtn = nullptr;
    QPushButton* EndBTN = nullptr;
    QMenu* mun_MENU = nullptr;
    QAction* mnu_DISP = nullptr;
    QAction* mnu_END = nullptr;
    QSystemTrayIcon* tray = nullptr;
};

}  // namespace brellow
