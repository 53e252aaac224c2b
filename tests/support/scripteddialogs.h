#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "dialogs.h"

namespace testsupport {

// Dialogs for tests: records every box that would have been shown ("title|text"
// in `shown`, the text alone in `texts`) and answers questions from a queue
// (No, and Cancel, when it is empty). `onShow` runs while the box would be
// open, as a real box lets events run then.
class ScriptedDialogs : public platform::Dialogs {
public:
    QStringList shown;
    QStringList texts;
    std::deque<bool> yesNoAnswers;
    QStringList textAnswers;  // a null QString() answers Cancel
    std::function<void(const QString& text)> onShow;

    void message(QWidget*, const QString& title, const QString& text) override {
        record(title, text);
    }
    bool askYesNo(QWidget*, const QString& title, const QString& text) override {
        record(title, text);
        if (yesNoAnswers.empty()) return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    std::optional<QString> askText(QWidget*, const QString& title, const QString& prompt,
                                   const QString&) override {
        record(title, prompt);
        if (textAnswers.isEmpty()) return std::nullopt;
        const QString answer = textAnswers.takeFirst();
        if (answer.isNull()) return std::nullopt;
        return answer;
    }

private:
    void record(const QString& title, const QString& text) {
        shown << title + QLatin1Char('|') + text;
        texts << text;
        if (onShow) onShow(text);
    }
};

}  // namespace testsupport
