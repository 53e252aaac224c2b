#pragma once

#include <signal.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include "serverport.h"
#include "textfile.h"

namespace testsupport {

// The real `Brellow --headless` (BRELLOW_PATH), started in a folder of its own
// holding the given "BrellowLogIn.txt". It listens on a port the system picks
// (QUOR_PORT=0) and is started once it has told that port in its "Port" line,
// so servers of tests running side by side never race for a port.
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
    BrellowProcess(const BrellowProcess&) = delete;
    BrellowProcess& operator=(const BrellowProcess&) = delete;

    QString folder() const { return folder_.path(); }

    // Starts the server (with `options` after "--headless") and waits until
    // it tells the port it listens on, which `port` then holds.
    bool start(const QStringList& options = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUOR_PORT", "0");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        // The sanitizer keeps freed memory aside to catch late uses, 256 MB
        // by default; a small quarantine keeps the server's own memory what
        // its resident size shows. (Without the sanitizer it is not read.)
        const QString asan = env.value("ASAN_OPTIONS");
        env.insert("ASAN_OPTIONS", asan + (asan.isEmpty() ? "" : ":") + "quarantine_size_mb=16");
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(folder_.path());
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start(QStringLiteral(BRELLOW_PATH), QStringList{"--headless"} + options);
        if (!process_.waitForStarted(5000)) return false;
        const bool ended = QTest::qWaitFor(
            [this] {
                port = net::announcedPort(output());
                return port != 0 || process_.state() == QProcess::NotRunning;
            },
            10000);
        return ended && port != 0;
    }

    // The server's resident memory now, and the most it has had, in KiB (from
    // /proc); -1 when unknown.
    qint64 residentKib() { return statusKib("VmRSS:"); }
    qint64 peakResidentKib() { return statusKib("VmHWM:"); }

    // All standard output so far.
    QString output() {
        out_ += QString::fromUtf8(process_.readAllStandardOutput());
        return out_;
    }

    bool waitForLine(const QString& part, int ms = 5000) {
        return QTest::qWaitFor([&] { return output().contains(part); }, ms);
    }

    // Sends `signal` and waits for the end; the exit code, or -1 when the
    // server did not end normally in time.
    int stop(int signal) {
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        if (!QTest::qWaitFor([this] { return process_.state() == QProcess::NotRunning; }, 10000))
            return -1;
        if (process_.exitStatus() != QProcess::NormalExit) return -1;
        return process_.exitCode();
    }

    QString errors() { return QString::fromUtf8(process_.readAllStandardError()); }

    quint16 port = 0;  // the port it listens on, once started

private:
    qint64 statusKib(const QByteArray& field) {
        QFile status(QStringLiteral("/proc/%1/status").arg(process_.processId()));
        if (!status.open(QIODevice::ReadOnly)) return -1;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(field))
                return line.mid(field.size()).trimmed().split(' ')[0].toLongLong();
        return -1;
    }

    QTemporaryDir folder_;
    QProcess process_;
    QString out_;
};

}  // namespace testsupport
