#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "clientlogindialog.h"
#include "installedgamefile.h"
#include "lobbywindow.h"
#include "programfolder.h"
#include "programtexts.h"

// Client [--login]
//   --login  presses "送　信" at once with the login saved in "LOGIN.TXT"
//            (for a lobby that should come up without a hand on the mouse).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const platform::ProgramFolders folders = platform::programFolders(platform::programFolder());
    platform::installProgramTexts(app, folders.assets);
    const bool autoLogin = app.arguments().contains(QStringLiteral("--login"));
    // An installed client starts its first game without set-up.
    if (folders.installed)
        gamefile::provideInstalledGameFile(folders.data, platform::programFolder());
    lobbyclient::LobbyWindow window(lobbyclient::LobbyWindowOptions{});
    window.show();
    window.showLoginDialog();
    if (autoLogin) {
        QTimer::singleShot(0, &window, [&window] {
            if (auto* dialog = window.loginDialog()) dialog->send();
        });
    }
    return app.exec();
}
