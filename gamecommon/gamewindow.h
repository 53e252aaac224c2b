#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <array>
#include <memory>

#include "activationwatch.h"
#include "boardcanvas.h"
#include "matchflow.h"
#include "matchview.h"
#include "recordboard.h"
#include "recordnames.h"

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace platform {
class Dialogs;
class QtClock;
struct ProgramFolders;
}  // namespace platform

namespace gamecommon {

class RecordMenus;

// What a game program's main window is started with.
struct GameWindowOptions {
    // Where the images, the sound and "LOGIN.TXT" are; unless a test says
    // otherwise, the program's own folder, or for an installed copy its
    // per-user data folder and its installed images (platform::programFolders).
    QString folder;
    // The message boxes; the real ones unless a test answers them.
    platform::Dialogs* dialogs = nullptr;
    // The match flow's sockets and timers; the real ones unless a test
    // scripts them. A test's outlive the window.
    MatchTransport* transport = nullptr;
    FlowClock* clock = nullptr;
};

// What tells the two game programs' windows apart, besides their boards.
struct GameWindowTraits {
    QString title;        // the caption before a game, and of every message box
    QString versionText;  // "バ－ジョン情報"
    bool hasLoginDialog;  // "ログイン(&R)" opens the login settings
    bool canListen;       // "サーバー（後手&S）" waits for another program
};

// The main window both game programs share: the board, the player boxes, the
// message box with its send button, the status line and the menus, with what
// the match flow shows. The game and the connection live in the game's match
// flow, so two windows can play each other in one process. A game's window
// builds its match flow and board, then calls setUp().
class GameWindow : public QMainWindow, protected MatchView {
    Q_OBJECT

public:
    GameWindow(const GameWindowOptions& options, GameWindowTraits traits,
               QWidget* parent = nullptr);
    ~GameWindow() override;

    // Where "LOGIN.TXT" and the records are.
    const QString& folder() const { return folder_; }
    // Where the images and the sound are.
    const QString& assetFolder() const { return assetFolder_; }
    platform::Dialogs& dialogs() { return *dialogs_; }

    // The window became the active one, at its first display or with the
    // focus back from another window of ours: connect to the server of
    // "LOGIN.TXT" (unless this activation only follows a message box of our
    // own).
    void activated();

    // The record items and the running record, once the game has set them up.
    RecordMenus* records() const { return records_; }

protected:
    // What the game's match flow is built with.
    MatchTransport& transport() { return *transport_; }
    FlowClock& clock() { return *clock_; }

    // Builds the controls around `board` and the menus, wires them to
    // `match`, and starts the match flow. Called once by the game's window.
    void setUp(MatchFlow& match, BoardCanvas* board);
    // Makes the record items work: records are the game's position strings,
    // checked and shown by `board`, in files named by `names`. Called once
    // by the game's window, after setUp().
    void setUpRecords(RecordBoard& board, RecordNames names);

    // "初期化": the game's new position, shown.
    virtual void resetGame() = 0;
    // "ログイン(&R)", for a program that has the login settings dialog.
    virtual void openLoginDialog() {}

    // A message box with the program's title; the activation it causes when
    // it closes does not connect.
    void box(const QString& text);
    // A question box of the game's own closed.
    void boxClosedNow() { boxClosed_.start(); }
    // The caption of every message box.
    const QString& windowTitleForBoxes() const { return traits_.title; }

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // MatchView, but for the clocks, which each game draws on its board.
    void setStatusText(const QString& text) override;
    void setMessageText(const QString& text) override;
    QString messageText() const override;
    void setPlayerBox(std::size_t box, const QString& text) override;
    void setTitle(const QString& title) override;
    void showMessageBox(const QString& text) override;
    void setSendEnabled(bool enabled) override;
    void setServerMenuEnabled(bool enabled) override;
    void setCloseMenuEnabled(bool enabled) override;
    void setGameMenusEnabled(bool enabled) override;
    void setStrengthMenuEnabled(bool enabled) override;
    void showStrengthItems(const std::array<bool, 6>& checked,
                           const std::array<bool, 6>& enabled) override;
    void repaintBoard() override;
    void alert() override;

private:
    GameWindow(const GameWindowOptions& options, const platform::ProgramFolders& folders,
               GameWindowTraits traits, QWidget* parent);

    void buildControls(BoardCanvas* board);
    void buildMenus();
    void nameMenus();
    void connectMenus();

    // First, since it looks at every event of the window.
    ActivationWatch activation_;
    // Before the game's match flow is built, and after it has gone.
    std::unique_ptr<platform::QtClock> ownClock_;
    FlowClock* clock_;
    MatchTransport* transport_;  // the real one is a child of the window
    GameWindowTraits traits_;
    QString folder_;
    QString assetFolder_;
    std::unique_ptr<platform::Dialogs> ownDialogs_;
    platform::Dialogs* dialogs_;
    // The boxes of the record windows: closing one is no activation either.
    std::unique_ptr<platform::Dialogs> recordDialogs_;
    RecordMenus* records_ = nullptr;
    MatchFlow* match_ = nullptr;
    BoardCanvas* board_ = nullptr;
    // When the last message box of ours closed: the activation that follows
    // it is the window getting its focus back, not a new activation.
    QElapsedTimer boxClosed_;

    // Controls, named as the programs have always named them; each one has
    // its member name as object name (an array's, "mnuSrtrong_3").
    QLineEdit* Text1 = nullptr;         // status line
    QPlainTextEdit* Text2 = nullptr;    // message box: chat typing and received texts
    std::array<QLineEdit*, 2> Text3{};  // player names
    QPushButton* Command5 = nullptr;    // "送　信"

    QMenu* mnuFile = nullptr;
    QAction* nmuFileOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuVSave = nullptr;
    QMenu* mnuStrong = nullptr;
    std::array<QAction*, 6> mnuSrtrong{};
    QAction* mnuInit = nullptr;
    QAction* mnuEnd = nullptr;
    QMenu* mnuConnect = nullptr;
    QAction* LogIn = nullptr;      // only where the program has its login dialog
    QAction* mnuServer = nullptr;  // only where the program can listen
    QAction* mnuClose = nullptr;
    QMenu* mnuTEnd = nullptr;
    QAction* mnuToryou = nullptr;
    QMenu* mnuM = nullptr;
    QMenu* mnuAisatsu = nullptr;
    QMenu* mnuComment = nullptr;
    QMenu* mnuKao = nullptr;
    std::array<QAction*, 3> mnuAis{};
    std::array<QAction*, 5> mnuCom{};
    std::array<QAction*, 7> mnuKaomoji{};
    QMenu* mnuKifu = nullptr;
    QAction* mnuPlay = nullptr;
    QAction* mnuV = nullptr;
};

}  // namespace gamecommon
