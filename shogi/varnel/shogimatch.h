#pragma once

#include "matchflow.h"
#include "shogirules/moveattempt.h"
#include "shogirules/position.h"

namespace shogi {

class ShogiBoardView;

// The match flow of the shogi program: its moves travel as whole positions,
// a watcher sees every game from the second player's side, and taking the
// king ends the game.
class ShogiMatch : public gamecommon::MatchFlow {
    Q_OBJECT

public:
    ShogiMatch(gamecommon::MatchView& view, QString loginFilePath,
               gamecommon::MatchTransport& transport, gamecommon::FlowClock& clock,
               QObject* parent = nullptr);

    void setBoard(ShogiBoardView* board) { board_ = board; }

    ShogiPosition& position() { return position_; }
    const QString& PositionString() const { return positionString_; }

    // Takes a whole position string to show; a malformed one changes nothing.
    bool setPositionString(const QString& positionString);

    // The local player took the opponent's king with the move just sent.
    void kingCaptured(const MoveOutcome& outcome);

    // "初期化": the initial position, empty hands, and a new game.
    void reset();

protected:
    QString BuildMoveMsg() override;
    bool takeMove(QStringView moveText) override;
    bool takeOwnMove(QStringView moveText) override;
    void showReceivedMove() override;
    // "王手！" when the own king stands in check.
    QString receivedMoveWarning() const override;
    QString gameTitle() const override;
    // One player box for each player.
    void showPlayers(const QString& first, const QString& second) override;
    // Own moves are recorded from the board, received ones as they came.
    QString ownMoveRecordLine() const override { return position_.Ban.positionString(); }
    QString receivedRecordLine() const override { return positionString_; }

private:
    ShogiPosition position_;
    QString positionString_;
    ShogiBoardView* board_ = nullptr;
};

}  // namespace shogi
