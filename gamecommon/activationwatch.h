#pragma once

#include <QObject>

class QEvent;
class QWidget;
class QWindow;

namespace gamecommon {

// Tells which activations of a game program's main window are the ones that
// start a connection to the server: the first one (the first display), and
// one where the focus comes back from another window of this program, such as
// the login settings dialog. Coming back from another application is not one:
// a player who switches between applications must not be connected, nor be
// told "File Error" each time. What lies in between counts: a player who
// switches away from the dialog and back to it, then closes it, comes back
// from our own window.
class ActivationWatch : public QObject {
    Q_OBJECT

public:
    explicit ActivationWatch(QWidget* window);

    // Every event of the main window passes through here once the window has
    // handled it; true for the activation that is to connect.
    bool startsConnection(const QEvent& event);

private:
    void focusWindowChanged(QWindow* focusWindow);

    QWidget* window_;
    // Whether the window that had the focus before the main window gets it
    // back was one of ours. True until the first activation, which counts.
    bool fromOwnWindow_ = true;
};

}  // namespace gamecommon
