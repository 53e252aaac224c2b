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
    BotProcess(quint16 port, const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUOR_PORT"), QString::number(port));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(QStringLiteral(QUORBOT_PATH), arguments);
        started_ = process_.waitForStarted(5000);
    }
    ~BotProcess() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();
        process_.waitForFinished(5000);
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
