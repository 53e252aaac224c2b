#pragma once

#include "boardmouse.h"
#include "gamefolder.h"
#include "ostrimwindow.h"
#include "scripteddialogs.h"

namespace go::test {

// Where a stone for the intersection (x, y) is let go: on the crossing, where
// a player aims.
inline QPoint pointCentre(const GoBoardView* board, Point p) {
    return board->geometry().intersection(p);
}

// The centre of the own stone icon, where a drag starts.
inline QPoint iconCentre(const GoBoardView* board) {
    return board->geometry().iconRect().center();
}

// Drags the own stone from the icon to (x, y).
inline void placeStone(GoBoardView* board, Point p) {
    testsupport::dragOnBoard(board, iconCentre(board), pointCentre(board, p));
}

// One Ostrim window in its own folder, with its message boxes answered by the
// test, and a mouse to play on its board.
class OstrimDriver {
public:
    // On real sockets and Qt's timers, unless the test gives its own.
    explicit OstrimDriver(gamecommon::MatchTransport* transport = nullptr,
                          gamecommon::FlowClock* clock = nullptr)
        : window(OstrimOptions{folder.path(), &dialogs, transport, clock}) {
        window.show();
        board()->grab();  // the first paint draws the board
    }

    GoBoardView* board() { return window.board(); }
    void place(Point p) { placeStone(board(), p); }

    testsupport::ProgramFolder folder;
    testsupport::ScriptedDialogs dialogs;
    OstrimWindow window;
};

}  // namespace go::test
