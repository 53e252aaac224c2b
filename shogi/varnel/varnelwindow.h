#pragma once

#include <memory>

#include "gamewindow.h"
#include "shogiboardview.h"
#include "shogimatch.h"

namespace shogi {

using VarnelOptions = gamecommon::GameWindowOptions;

// The shogi program's main window: the shared game window with the shogi
// board, both hands and the clocks, its login settings dialog, the item
// that listens for another program, and the shogi names of the records.
class VarnelWindow : public gamecommon::GameWindow,
                     private ShogiBoardHost,
                     private gamecommon::RecordBoard {
    Q_OBJECT

public:
    explicit VarnelWindow(const VarnelOptions& options, QWidget* parent = nullptr);
    ~VarnelWindow() override;

    ShogiBoardView* board() const { return board_; }
    ShogiMatch& match() { return *match_; }
    ShogiPosition& position() { return match_->position(); }
    gamecommon::MatchState& state() { return match_->state(); }

    // Shows a whole new position: the position string is replaced and the
    // board redrawn from it. A malformed string is refused and changes nothing.
    bool showPosition(const QString& positionString);

protected:
    void resetGame() override;
    void openLoginDialog() override;
    void drawClocks(const QString& oppClock, const QString& ownClock) override;

private:
    // ShogiBoardHost
    QString positionString() const override { return match_->PositionString(); }
    void lockChat() override;
    void sendMove() override;
    void kingCaptured(const MoveOutcome& outcome) override;
    void showRuleMessage(const QString& text) override;
    bool askPromotion() override;

    // RecordBoard: a record line is a position string.
    bool isPosition(QStringView line) const override;
    void showRecordedPosition(const QString& line) override;

    std::unique_ptr<ShogiMatch> match_;
    ShogiBoardView* board_;
};

}  // namespace shogi
