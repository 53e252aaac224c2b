#pragma once

#include <QString>
#include <array>

namespace gamecommon {

// What the match flow shows, implemented by a game program's main window.
// The names of the controls are the window's; the flow only says what to show.
class MatchView {
public:
    virtual ~MatchView() = default;

    virtual void setStatusText(const QString& text) = 0;   // status line (Text1)
    virtual void setMessageText(const QString& text) = 0;  // message box (Text2)
    virtual QString messageText() const = 0;
    virtual void setPlayerBox(std::size_t box, const QString& text) = 0;  // Text3(box), 0 or 1
    virtual void setTitle(const QString& title) = 0;
    // A message box with an OK button; returns when it is closed.
    virtual void showMessageBox(const QString& text) = 0;

    virtual void setSendEnabled(bool enabled) = 0;          // the send button (Command5)
    virtual void setServerMenuEnabled(bool enabled) = 0;    // "サーバー（後手&S）"
    virtual void setCloseMenuEnabled(bool enabled) = 0;     // "切断(&A)"
    virtual void setGameMenusEnabled(bool enabled) = 0;     // "メッセージ", "投了"
    virtual void setStrengthMenuEnabled(bool enabled) = 0;  // "強さ"
    virtual void showStrengthItems(const std::array<bool, 6>& checked,
                                   const std::array<bool, 6>& enabled) = 0;

    virtual void drawClocks(const QString& oppClock, const QString& ownClock) = 0;
    // Puts the back buffer on the screen again.
    virtual void repaintBoard() = 0;
    // Draws attention to the window (a move arrived).
    virtual void alert() = 0;
};

}  // namespace gamecommon
