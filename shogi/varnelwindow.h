#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <memory>

#include "activationwatch.h"
#include "matchview.h"
#include "shogiboardview.h"
#include "shogimatch.h"

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
// and the menus. The game and the connection live in its ShogiMatch, so two
// windows can play each other in one process.
class VarnelWindow : public QMainWindow, private ShogiBoardHost, private gamecommon::MatchView {
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

    // The window became the active one, at its first display or with the
    // focus back from another window of ours: connect to the server of
    // "LOGIN.TXT" (unless this activation only follows a message box of our
    // own).
    void activated();

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
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ShogiBoardHost
    QString positionString() const override { return match_->PositionString(); }
    void lockChat() override;
    void sendMove() override;
    void kingCaptured(const MoveOutcome& outcome) override;
    void showRuleMessage(const QString& text) override;
    bool askPromotion() override;

    // MatchView
    void setStatusText(const QString& text) override;
    void setMessageText(const QString& text) override;
    QString messageText() const override;
    void setPlayerNames(const QString& first, const QString& second) override;
    void setTitle(const QString& title) override;
    void showMessageBox(const QString& text) override;
    void setSendEnabled(bool enabled) override;
    void setServerMenuEnabled(bool enabled) override;
    void setCloseMenuEnabled(bool enabled) override;
    void setGameMenusEnabled(bool enabled) override;
    void setStrengthMenuEnabled(bool enabled) override;
    void showStrengthItems(const std::array<bool, 6>& checked,
                           const std::array<bool, 6>& enabled) override;
    void drawClocks(const QString& oppClock, const QString& ownClock) override;
    void repaintBoard() override;
    void alert() override;

    void buildMenus();
    void buildControls();
    void connectMenus();
    void resetGame();
    void openLoginDialog();
    void box(const QString& text);

    // First, since it looks at every event of the window.
    gamecommon::ActivationWatch activation_;
    QString folder_;
    std::unique_ptr<platform::Dialogs> ownDialogs_;
    platform::Dialogs* dialogs_;
    std::unique_ptr<ShogiMatch> match_;
    ShogiBoardView* board_;
    // When the last message box of ours closed: the activation that follows
    // it is the window getting its focus back, not a new activation.
    QElapsedTimer boxClosed_;
};

}  // namespace shogi
