#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <deque>
#include <functional>

#include "engineprocess.h"

class QTimer;

namespace bot {

// A go engine that speaks GTP (GNU Go with "--mode gtp"): each command is one
// line, each answer "= text" or "? text" ended by an empty line. Commands go
// out one at a time, in order, each with the function that takes its answer.
// An answer that does not come within the deadline, and an engine that ends,
// make `failed`; the commands still waiting are dropped.
class GtpEngine : public QObject {
    Q_OBJECT

public:
    // `ok` is false for a refusal ("?"); `text` is the answer without its sign.
    using Answer = std::function<void(bool ok, const QString& text)>;

    // Lines of one answer beyond which the engine is taken to talk nonsense.
    static constexpr int kMaxAnswerLines = 64;

    GtpEngine(QString program, QStringList arguments, std::chrono::milliseconds deadline,
              QObject* parent = nullptr);

    void start();
    void ask(const QString& command, Answer answer);

    // Ends the engine at once; no answer and no signal comes after this.
    void shutDown();

signals:
    void failed(bot::EngineTrouble trouble, const QString& why);

private:
    struct Command {
        QString text;
        Answer answer;
    };
    void sendNext();
    void onLine(const QString& line);
    void onDeadline();
    void fail(EngineTrouble trouble, const QString& why);

    QString program_;
    QStringList arguments_;
    EngineProcess* process_;
    QTimer* deadline_;
    std::deque<Command> queue_;  // the front one is out, when `waiting_`
    bool waiting_ = false;
    QStringList answer_;  // lines of the answer being read
    bool over_ = false;
};

}  // namespace bot
