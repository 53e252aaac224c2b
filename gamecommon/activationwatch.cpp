#include "activationwatch.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace gamecommon {

ActivationWatch::ActivationWatch(QWidget* window) : window_(window) {
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &ActivationWatch::focusWindowChanged);
}

bool ActivationWatch::startsConnection(const QEvent& event) {
    if (event.type() == QEvent::WindowDeactivate) {
        // The program keeps an active window only when one of its own took
        // over; with none, the focus went to another application.
        fromOwnWindow_ = QApplication::activeWindow() != nullptr;
        return false;
    }
    return event.type() == QEvent::WindowActivate && fromOwnWindow_;
}

void ActivationWatch::focusWindowChanged(QWindow* focusWindow) {
    // Another window of ours got the focus while the main window had none (the
    // player came back from another application into a dialog). Menus and
    // tool tips take the focus without taking the activation: they say nothing.
    if (!focusWindow || focusWindow == window_->windowHandle()) return;
    if (focusWindow->type() == Qt::Popup || focusWindow->type() == Qt::ToolTip) return;
    fromOwnWindow_ = true;
}

}  // namespace gamecommon
