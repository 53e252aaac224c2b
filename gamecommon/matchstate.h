#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace gamecommon {

// Where a game program stands in its match: connection, whose turn it is, the
// chat lock, the move count and the clocks. The board window reads it to
// decide whether the player may pick up a piece.
struct MatchState {
    bool IsConnected = false;
    bool MyTurn = true;      // either player may make the first move
    bool SendLock = false;   // a chat line waits for its acknowledgement
    bool WatchMode = false;  // only showing somebody else's game, for good
    bool LoginDone = false;
    qint32 MoveNo = 0;                   // the last move made by either player
    QString MySide;                      // "先手" or "後手", fixed by the first move
    std::array<qint32, 2> Clocks{0, 0};  // seconds used: [0] opponent, [1] own
    QString LoginLine;
    QString ServerName;
    qint32 WatchdogTicks = 0;
};

}  // namespace gamecommon
