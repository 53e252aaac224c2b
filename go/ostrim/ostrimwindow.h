#pragma once

#include <memory>

#include "gamewindow.h"
#include "goboardview.h"
#include "gomatch.h"

namespace go {

using OstrimOptions = gamecommon::GameWindowOptions;

// The go program's main window: the shared game window with the go board,
// the capture counters and the clocks. It plays through the lobby only: no
// login settings dialog and no item to listen for another program; its login
// is the lobby client's "LOGIN.TXT" in the same folder.
class OstrimWindow : public gamecommon::GameWindow,
                     private GoBoardHost,
                     private gamecommon::RecordBoard {
    Q_OBJECT

public:
    explicit OstrimWindow(const OstrimOptions& options, QWidget* parent = nullptr);
    ~OstrimWindow() override;

    GoBoardView* board() const { return board_; }
    GoMatch& match() { return *match_; }
    GoPosition& position() { return match_->position(); }
    gamecommon::MatchState& state() { return match_->state(); }

    // Shows a whole new position: the position string is replaced and the
    // board redrawn from it. A malformed string is refused and changes nothing.
    bool showPosition(const QString& positionString);

protected:
    void resetGame() override;
    void drawClocks(const QString& oppClock, const QString& ownClock) override;

private:
    // GoBoardHost
    void sendMove() override;

    // RecordBoard: a record line is a position string.
    bool isPosition(QStringView line) const override;
    void showRecordedPosition(const QString& line) override;

    std::unique_ptr<GoMatch> match_;
    GoBoardView* board_;
};

}  // namespace go
