#pragma once

#include "gorules/goposition.h"
#include "matchflow.h"

namespace go {

class GoBoardView;

// The match flow of the go program: its moves carry the whole board turned
// for the receiver and the mover's capture count, a watcher sees every game
// from the first player's side, and there is no end of the game but
// resignation. The go program has no login watchdog and takes the notice
// message that the shogi program ignores.
class GoMatch : public gamecommon::MatchFlow {
    Q_OBJECT

public:
    GoMatch(gamecommon::MatchView& view, QString loginFilePath,
            gamecommon::MatchTransport& transport, gamecommon::FlowClock& clock,
            QObject* parent = nullptr);

    void setBoard(GoBoardView* board) { board_ = board; }

    GoPosition& position() { return position_; }
    const GoPosition& position() const { return position_; }

    // Takes a whole position string to show; a malformed one changes nothing.
    bool setPositionString(const QString& positionString);

    // "初期化": the empty board and a new game; the turn, the own colour, the
    // side and the capture counters stay as they are.
    void reset();

    // The players of the watched game, as the lobby server named them.
    const QString& firstPlayer() const { return firstPlayer_; }
    const QString& secondPlayer() const { return secondPlayer_; }

protected:
    QString BuildMoveMsg() override;
    bool takeMove(QStringView moveText) override;
    bool takeOwnMove(QStringView moveText) override;
    void showReceivedMove() override;
    QString gameTitle() const override;
    QString resignMessage() const override;
    void noticeReceived(const QString& text) override;
    // Both names in the first player box; the second box is left as it is.
    void showPlayers(const QString& first, const QString& second) override;
    // Own moves are recorded from the board with two digits a point, received
    // ones as they came (the cross's 8 or 9 included).
    QString ownMoveRecordLine() const override;
    QString receivedRecordLine() const override { return position_.positionString; }

private:
    GoPosition position_;
    GoBoardView* board_ = nullptr;
    QString firstPlayer_;
    QString secondPlayer_;
    // The title after an own move keeps the shogi wording; after a received
    // move it names go.
    bool lastMoveOwn_ = false;
};

}  // namespace go
