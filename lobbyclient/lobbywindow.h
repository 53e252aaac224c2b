#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "lobbyclient.h"
#include "lobbyview.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace lobbyclient {

class ClientLoginDialog;

struct LobbyWindowOptions {
    // Where "LOGIN.TXT", "GameFile.txt" and the setup tool are; unless a test
    // says otherwise, the program's own folder (for an installed copy, the
    // files are in its per-user data folder: platform::programFolders).
    QString folder;
    // The message boxes; the real ones unless a test answers them.
    platform::Dialogs* dialogs = nullptr;
    // How programs are started; detached processes unless a test says otherwise.
    ProgramStarter starter;
    // The client's sockets and timers; the real ones unless a test scripts
    // them. A test's outlive the window.
    ClientTransport* transport = nullptr;
    ClientClock* clock = nullptr;
};

// The lobby window (caption "Client"): the chat line with its send button, the
// message log, the list of users on line, the game logged in for, and the
// buttons to start the game program, to log in or out and to end.
class LobbyWindow : public QMainWindow, private LobbyView {
    Q_OBJECT

public:
    explicit LobbyWindow(const LobbyWindowOptions& options, QWidget* parent = nullptr);
    ~LobbyWindow() override;

    LobbyClient& client() { return *client_; }

    // Opens the login dialog over the window (as at program start).
    void showLoginDialog();
    ClientLoginDialog* loginDialog() const { return dialog_; }

    // MeEnd and "END": the last word to the server, then the window closes.
    void MeEnd();
    bool hasEnded() const { return ended_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // LobbyView
    void addLogLine(const QString& line) override;
    void setStatusText(const QString& text) override;
    void setUserLines(const QStringList& lines) override;
    void setListEnabled(bool enabled) override;
    void setGameLabel(const QString& name) override;
    void setStartEnabled(bool enabled) override;
    void setSendEnabled(bool enabled) override;
    void setLoggedInCaption(bool loggedIn) override;
    void showMessageBox(const QString& text) override;
    void closeLoginDialog() override;
    void endProgram() override;

    void buildControls();
    QString selectedLine() const;
    void startSetupTool();

    QString folder_;          // "LOGIN.TXT" and "GameFile.txt"
    QString programsFolder_;  // the setup tool
    std::unique_ptr<platform::Dialogs> ownDialogs_;
    platform::Dialogs* dialogs_;
    ProgramStarter starter_;
    // Before the client is built, and after it has gone.
    std::unique_ptr<ClientTransport> ownTransport_;
    std::unique_ptr<ClientClock> ownClock_;
    std::unique_ptr<LobbyClient> client_;
    QPointer<ClientLoginDialog> dialog_;
    bool ended_ = false;

    // Controls, named as the client has always named them; each one has its
    // member name as object name.
    QLineEdit* Status;
    QPushButton* SendBTN;
    QPlainTextEdit* Msg;
    QListWidget* List1;
    QLabel* Label1;
    QPushButton* Start;
    QPushButton* LOGINbtn;
    QPushButton* EndBTN;
    QMenu* mnu_Menu;
    QAction* mnu_Watch;
};

}  // namespace lobbyclient
