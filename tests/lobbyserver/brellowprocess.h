#pragma once

#include <signal.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "rawclient.h"
#include "textfile.h"

namespace lobbytest {

// The real `Brellow --headless`, started in a folder of its own holding the
// given "BrellowLogIn.txt", on a free port passed in QUOR_PORT.
class BrellowProcess {
public:
    explicit BrellowProcess(const QStringList& users) {
        platform::writeTextLines(QDir(folder_.path()).filePath("BrellowLogIn.txt"), users);
    }
    ~BrellowProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    QString folder() const { return folder_.path(); }

    // Starts the server and waits until it says it listens.
    bool start() {
        port = freePort();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUOR_PORT", QString::number(port));
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(folder_.path());
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(QStringLiteral(BRELLOW_PATH), {"--headless"});
        if (!process_.waitForStarted(5000)) return false;
        return waitForLine(QStringLiteral(" Msg クライアント待受"), 10000);
    }

    // All standard output so far.
    QString output() {
        out_ += QString::fromUtf8(process_.readAllStandardOutput());
        return out_;
    }

    bool waitForLine(const QString& part, int ms = 5000) {
        return waitUntil([&] { return output().contains(part); }, ms);
    }

    // Sends `signal` and waits for the end; the exit code, or -1 when the
    // server did not end normally in time.
    int stop(int signal) {
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        if (!waitUntil([this] { return process_.state() == QProcess::NotRunning; }, 10000))
            return -1;
        if (process_.exitStatus() != QProcess::NormalExit) return -1;
        return process_.exitCode();
    }

    QString errors() { return QString::fromUtf8(process_.readAllStandardError()); }

    quint16 port = 0;

private:
    QTemporaryDir folder_;
    QProcess process_;
    QString out_;
};

}  // namespace lobbytest
