#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace platform {

// Every message box and input box of the programs goes through this, so tests
// can read what would have been shown and give the answers. The programs use
// WidgetDialogs; a box opened there runs its own event loop, so socket events
// and timers go on being handled while it is open.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A text with an OK button.
    virtual void message(QWidget* parent, const QString& title, const QString& text) = 0;

    // A question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(QWidget* parent, const QString& title, const QString& text) = 0;

    // A prompt with a text box; nothing when cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& title,
                                           const QString& prompt, const QString& initial) = 0;
};

// The real boxes, on screen.
class WidgetDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& title, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& initial) override;
};

}  // namespace platform
