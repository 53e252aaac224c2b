#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "clientlogindialog.h"
#include "lobbywindow.h"
#include "qttexts.h"

// Client [--login]
//   --login  presses "送　信" at once with the login saved in "LOGIN.TXT"
//            (for a lobby that should come up without a hand on the mouse).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installQtTexts(app);
    const bool autoLogin = app.arguments().contains(QStringLiteral("--login"));
    lobbyclient::LobbyWindow window(lobbyclient::LobbyWindowOptions{});
    window.show();
    window.showLoginDialog();
    if (autoLogin) {
        QTimer::singleShot(0, &window, [&window] {
            if (auto* dialog = window.loginDialog()) dialog->BtnSend->click();
        });
    }
    return app.exec();
}
