#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace gamecommon {

// Holds a main window at the size it has when the lock is made: the board is
// drawn for that size, so neither resizing nor maximising may change it.
class WindowSizeLock : public QObject {
    Q_OBJECT

public:
    // Locks `window` at its present size; the lock lives as its child.
    static void lock(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowSizeLock(QWidget* window);

    QWidget* window_;
    QSize size_;
};

}  // namespace gamecommon
