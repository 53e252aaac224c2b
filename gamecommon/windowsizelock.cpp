#include "windowsizelock.h"

#include <QEvent>
#include <QWidget>

namespace gamecommon {

WindowSizeLock::WindowSizeLock(QWidget* window)
    : QObject(window), window_(window), size_(window->size()) {
    window->setFixedSize(size_);
    window->installEventFilter(this);
}

void WindowSizeLock::lock(QWidget* window) {
    if (window->findChild<WindowSizeLock*>(QString(), Qt::FindDirectChildrenOnly)) return;
    new WindowSizeLock(window);
}

bool WindowSizeLock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::WindowStateChange &&
            (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            window_->setWindowState(window_->windowState() &
                                    ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        }
        if (event->type() == QEvent::Resize && window_->size() != size_) {
            window_->resize(size_);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace gamecommon
