#pragma once

#include "boardmouse.h"
#include "gamefolder.h"
#include "scripteddialogs.h"
#include "varnelwindow.h"

namespace shogi::test {

using ProgramFolder = testsupport::ProgramFolder;

// The centre of a cell on a board, in the board's own pixels.
inline QPoint cellCentre(ShogiBoardView* board, Square s) {
    const BoardGeometry& g = board->geometry();
    return g.pieceOrigin(s.cellNumber()) + QPoint(g.bmW() / 2, g.bmH() / 2);
}

using testsupport::dragOnBoard;
using testsupport::sendMouse;

// One Varnel window in its own folder, with its message boxes answered by the
// test, and a mouse to play on its board.
class VarnelDriver {
public:
    // On real sockets and Qt's timers, unless the test gives its own.
    explicit VarnelDriver(gamecommon::MatchTransport* transport = nullptr,
                          gamecommon::FlowClock* clock = nullptr)
        : window(VarnelOptions{folder.path(), &dialogs, transport, clock}) {
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
