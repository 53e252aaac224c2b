#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "bottexts.h"

class QTimer;

namespace bot {

// An engine as a child process that talks in lines: what the bot writes goes
// to its standard input, each line it prints comes back as a signal. Nothing
// here blocks: the process starts, speaks and ends while the event loop runs,
// and lines written before it has started wait for it.
//
// The engine is no part of this system and is not trusted: a line longer than
// kMaxLineLength, or more than kMaxPendingBytes without a line end, ends the
// process as a fault, so a runaway engine cannot fill the bot's memory.
class EngineProcess : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype kMaxLineLength = 4096;
    static constexpr qsizetype kMaxPendingBytes = 64 * 1024;

    explicit EngineProcess(QObject* parent = nullptr);
    ~EngineProcess() override;

    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts the program; the outcome comes later (nothing, or `ended`).
    void start(const QString& program, const QStringList& arguments);

    // One line to the engine, its end added.
    void sendLine(const QString& line);

    // Lets the engine go: its input is closed, which ends both engines, and a
    // process that lingers is killed a moment later. No signal follows.
    void stop();

    bool isRunning() const;
    qint64 processId() const;

signals:
    void lineReceived(const QString& line);
    // The process could not start, ended, or broke the limits above; `why`
    // says how, for the log. Sent once; nothing follows it.
    void ended(bot::EngineTrouble trouble, const QString& why);

private:
    void onStarted();
    void onReadyRead();
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void fail(EngineTrouble trouble, const QString& why);

    QProcess* process_;
    QString program_;
    QByteArray received_;  // output after the last full line
    QByteArray waiting_;   // lines written before the process started
    bool started_ = false;
    bool over_ = false;  // ended or stopped: no more signals
};

}  // namespace bot
