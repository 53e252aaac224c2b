#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "scripteddialogs.h"
#include "varnelwindow.h"

namespace shogi::test {

// A program folder for a test: the built piece images and sound, as the
// program has them beside it, and room for "LOGIN.TXT".
class ProgramFolder {
public:
    ProgramFolder() {
        const QDir bin(QStringLiteral(QUOR_BIN_DIR));
        for (const QString& name :
             bin.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.wav")})) {
            QFile::copy(bin.filePath(name), dir_.filePath(name));
        }
    }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The centre of a cell on a board, in the board's own pixels.
inline QPoint cellCentre(ShogiBoardView* board, Square s) {
    const BoardGeometry& g = board->geometry();
    return g.pieceOrigin(s.cellNumber()) + QPoint(g.bmW() / 2, g.bmH() / 2);
}

// A mouse event on the board, with the left button held from press to release.
inline void sendMouse(ShogiBoardView* board, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, board->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(board, &e);
}

// Presses on `from`, moves through the board to `to` and lets go there.
inline void dragOnBoard(ShogiBoardView* board, QPoint from, QPoint to) {
    sendMouse(board, QEvent::MouseButtonPress, from);
    sendMouse(board, QEvent::MouseMove, (from + to) / 2);
    sendMouse(board, QEvent::MouseMove, to);
    sendMouse(board, QEvent::MouseButtonRelease, to);
}

// One Varnel window in its own folder, with its message boxes answered by the
// test, and a mouse to play on its board.
class VarnelDriver {
public:
    VarnelDriver() : window(VarnelOptions{folder.path(), &dialogs}) {
        window.show();
        board()->grab();  // the first paint draws the board
    }

    ShogiBoardView* board() { return window.board(); }

    QPoint centreOf(Square s) { return cellCentre(board(), s); }
    QPoint handRow(int n) {
        const BoardGeometry& g = board()->geometry();
        return g.ownHandImage(n) + QPoint(g.bmW() / 2, g.bmH() / 2);
    }
    void mouse(QEvent::Type type, QPoint at) { sendMouse(board(), type, at); }
    void drag(QPoint from, QPoint to) { dragOnBoard(board(), from, to); }
    void move(Square from, Square to) { drag(centreOf(from), centreOf(to)); }

    ProgramFolder folder;
    testsupport::ScriptedDialogs dialogs;
    VarnelWindow window;
};

}  // namespace shogi::test
