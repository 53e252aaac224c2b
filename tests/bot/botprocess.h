#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

namespace bot::test {

// One QuorBot as a process of its own on the test's lobby port, its log kept.
class BotProcess {
public:
    BotProcess(quint16 port, const QStringList& arguments,
               const QProcessEnvironment& extra = QProcessEnvironment()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUOR_PORT"), QString::number(port));
        env.insert(extra);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QStringLiteral(QUORBOT_PATH), arguments);
        started_ = process_.waitForStarted(5000);
    }
    ~BotProcess() { stop(); }

    // Asks it to end (SIGTERM), as the lobby's start script does, and waits;
    // its exit status, or -1 when it crashed or had to be killed.
    int stop() {
        if (process_.state() == QProcess::NotRunning) return exitStatus();
        process_.terminate();
        if (process_.waitForFinished(5000)) return exitStatus();
        process_.kill();
        process_.waitForFinished(5000);
        return -1;
    }

    bool started() const { return started_; }
    bool running() const { return process_.state() == QProcess::Running; }

    // Everything the bot wrote so far.
    QString log() {
        log_ += QString::fromUtf8(process_.readAll());
        return log_;
    }

    // Runs the event loop until the log holds `part`.
    bool waitForLog(const QString& part, int ms) {
        return QTest::qWaitFor([&] { return log().contains(part); }, ms);
    }

private:
    int exitStatus() const {
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    QProcess process_;
    QString log_;
    bool started_ = false;
};

// An engine on the PATH or where Debian puts games.
inline QString installedEngine(const QString& name) {
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/games")});
    return found;
}

}  // namespace bot::test
