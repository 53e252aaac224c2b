#include "serverprocess.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>
#include <chrono>

#include "serverport.h"
#include "textfile.h"

namespace bench {

namespace {

constexpr int kStartMs = 15000;
constexpr int kStopMs = 10000;
// What is read of the output for its last lines.
constexpr qint64 kTailBytes = 256 * 1024;

QString logPath(const QTemporaryDir& folder) {
    return QDir(folder.path()).filePath(QStringLiteral("output.log"));
}

}  // namespace

ServerProcess::~ServerProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
}

QString ServerProcess::start(const QString& program, const QStringList& arguments,
                             const QList<std::pair<QString, QStringList>>& files) {
    if (!folder_.isValid()) return QStringLiteral("no temporary folder");
    for (const auto& [name, lines] : files) {
        if (!platform::writeTextLines(QDir(folder_.path()).filePath(name), lines))
            return QStringLiteral("cannot write ") + name;
    }
    port_ = 0;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUOR_PORT"), QStringLiteral("0"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(folder_.path());
    process_.setStandardOutputFile(logPath(folder_));
    process_.setStandardErrorFile(logPath(folder_), QIODevice::Append);
    // The server runs in its own folder, so a path relative to where the
    // caller was started is made absolute first.
    const QString path = program.contains(u'/') ? QFileInfo(program).absoluteFilePath() : program;
    process_.start(path, arguments);
    if (!process_.waitForStarted(kStartMs)) return program + QStringLiteral(" did not start");

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    while ((port_ = net::announcedPort(output())) == 0) {
        if (process_.state() != QProcess::Running || std::chrono::steady_clock::now() > deadline)
            return program + QStringLiteral(" is not ready: ") + output().trimmed();
        QThread::msleep(10);
    }
    return {};
}

quint16 ServerProcess::announcedPort(const char* place) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    quint16 port = 0;
    while ((port = net::announcedPort(output(), place)) == 0) {
        if (process_.state() != QProcess::Running || std::chrono::steady_clock::now() > deadline)
            return 0;
        QThread::msleep(10);
    }
    return port;
}

double ServerProcess::cpuSeconds() const {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid()));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = stat.readAll();
    // The name in parentheses may hold blanks; the fields after it are fixed:
    // utime and stime are the 12th and 13th after the closing parenthesis.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return 0;
    const double ticks = static_cast<double>(fields[11].toLongLong() + fields[12].toLongLong());
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

qint64 ServerProcess::residentKib() const {
    return statusKib("VmRSS:");
}

qint64 ServerProcess::peakResidentKib() const {
    return statusKib("VmHWM:");
}

int ServerProcess::openFiles() const {
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid()));
    if (!fds.exists()) return -1;
    return static_cast<int>(
        fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

bool ServerProcess::stop() {
    process_.terminate();
    if (!process_.waitForFinished(kStopMs)) return false;
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

qint64 ServerProcess::statusKib(const char* field) const {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid()));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(qstrlen(field)))
                .trimmed()
                .split(' ')[0]
                .toLongLong();
    return -1;
}

QString ServerProcess::output() const {
    QFile log(logPath(folder_));
    if (!log.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(log.readAll());
}

QString ServerProcess::outputTail(int lines) const {
    QFile log(logPath(folder_));
    if (!log.open(QIODevice::ReadOnly)) return {};
    if (log.size() > kTailBytes) log.seek(log.size() - kTailBytes);
    const QStringList all = QString::fromUtf8(log.readAll()).split(u'\n');
    return all.mid(std::max<qsizetype>(0, all.size() - lines)).join(u'\n');
}

}  // namespace bench
