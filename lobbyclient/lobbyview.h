#pragma once

#include <QString>
#include <QStringList>

namespace lobbyclient {

// What the lobby client shows, implemented by the lobby window (and its login
// dialog). The client says what to show; the window knows its controls.
class LobbyView {
public:
    virtual ~LobbyView() = default;

    // A line on top of the message log (Msg): the newest line is the first.
    virtual void addLogLine(const QString& line) = 0;
    // The chat input line (Status), which also shows the server and faults.
    virtual void setStatusText(const QString& text) = 0;
    virtual void setUserLines(const QStringList& lines) = 0;  // List1
    virtual void setListEnabled(bool enabled) = 0;
    virtual void setGameLabel(const QString& name) = 0;  // Label1
    virtual void setStartEnabled(bool enabled) = 0;      // "起　動"
    virtual void setSendEnabled(bool enabled) = 0;       // "送　信"
    virtual void setLoggedInCaption(bool loggedIn) = 0;  // "ログアウト" / "ログイン"
    // A message box with an OK button; returns when it is closed.
    virtual void showMessageBox(const QString& text) = 0;
    // The login was accepted: the login dialog closes.
    virtual void closeLoginDialog() = 0;
    // The program ends.
    virtual void endProgram() = 0;
};

}  // namespace lobbyclient
