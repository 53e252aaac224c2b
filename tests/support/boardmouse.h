#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testsupport {

// A mouse event on a board, with the left button held from press to release.
inline void sendMouse(QWidget* board, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, board->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(board, &e);
}

// Presses on `from`, moves through the board to `to` and lets go there.
inline void dragOnBoard(QWidget* board, QPoint from, QPoint to) {
    sendMouse(board, QEvent::MouseButtonPress, from);
    sendMouse(board, QEvent::MouseMove, (from + to) / 2);
    sendMouse(board, QEvent::MouseMove, to);
    sendMouse(board, QEvent::MouseButtonRelease, to);
}

}  // namespace testsupport
