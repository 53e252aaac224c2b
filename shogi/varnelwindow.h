#pragma once

#include <QMainWindow>
#include <array>

#include "matchstate.h"
#include "position.h"
#include "shogiboardview.h"

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace platform {
class Dialogs;
}

namespace shogi {

struct VarnelOptions {
    // Where the piece images, the sound and "LOGIN.TXT" are; the program's
    // own folder unless a test says otherwise.
    QString folder;
    // The message boxes; the real ones unless a test answers them.
    platform::Dialogs* dialogs = nullptr;
};

// The shogi program's main window: the board with both hands and the clocks,
// the player boxes, the message box with its send button, the status line
// and the menus. Its state (position, match) lives here, so two windows can
// play each other in one process.
class VarnelWindow : public QMainWindow, private ShogiBoardHost {
    Q_OBJECT

public:
    explicit VarnelWindow(const VarnelOptions& options, QWidget* parent = nullptr);
    ~VarnelWindow() override;

    ShogiBoardView* board() const { return board_; }
    ShogiPosition& position() { return position_; }
    gamecommon::MatchState& match() { return match_; }
    const QString& PositionString() const { return positionString_; }

    // Shows a whole new position (a received move or a position to look at):
    // the position string is replaced and the board redrawn from it. A
    // malformed string is refused and changes nothing.
    bool showPosition(const QString& positionString);

    // Controls, named as the program has always named them.
    QLineEdit* Text1;                 // status line
    QPlainTextEdit* Text2;            // message box: chat typing and received texts
    std::array<QLineEdit*, 2> Text3;  // player names
    QPushButton* Command5;            // "送　信"
    QTimer* Timer1;                   // game clock
    QTimer* Timer2;                   // login watchdog

    QMenu* mnuFile;
    QAction* nmuFileOpen;
    QAction* mnuSave;
    QAction* mnuVSave;
    QMenu* mnuStrong;
    std::array<QAction*, 6> mnuSrtrong;
    QAction* mnuInit;
    QAction* mnuEnd;
    QMenu* mnuConnect;
    QAction* LogIn;
    QAction* mnuServer;
    QAction* mnuClose;
    QMenu* mnuTEnd;
    QAction* mnuToryou;
    QMenu* mnuM;
    QMenu* mnuAisatsu;
    QMenu* mnuComment;
    QMenu* mnuKao;
    std::array<QAction*, 3> mnuAis;
    std::array<QAction*, 5> mnuCom;
    std::array<QAction*, 7> mnuKaomoji;
    QMenu* mnuKifu;
    QAction* mnuPlay;
    QAction* mnuV;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ShogiBoardHost
    QString positionString() const override { return positionString_; }
    void lockChat() override;
    void sendMove() override;
    void kingCaptured(const MoveOutcome& outcome) override;
    void showRuleMessage(const QString& text) override;
    bool askPromotion() override;

    void buildMenus();
    void buildControls();
    void resetGame();
    void openLoginDialog();
    void fileExit();
    void setGameTitle();

    QString folder_;
    std::unique_ptr<platform::Dialogs> ownDialogs_;
    platform::Dialogs* dialogs_;
    ShogiPosition position_;
    gamecommon::MatchState match_;
    QString positionString_;
    ShogiBoardView* board_;
};

}  // namespace shogi
