#include "relayprocess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>
#include <chrono>

#include "textfile.h"

namespace bench {

namespace {

constexpr int kStartMs = 15000;

QString logPath(const QTemporaryDir& folder) {
    return QDir(folder.path()).filePath(QStringLiteral("output.log"));
}

}  // namespace

quint16 freeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    quint16 port = 0;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

RelayProcess::~RelayProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
}

QString RelayProcess::start(const QString& program, const QStringList& arguments,
                            const QString& readyText,
                            const QList<std::pair<QString, QStringList>>& files) {
    if (!folder_.isValid()) return QStringLiteral("no temporary folder");
    for (const auto& [name, lines] : files) {
        if (!platform::writeTextLines(QDir(folder_.path()).filePath(name), lines))
            return QStringLiteral("cannot write ") + name;
    }
    port_ = freeLoopbackPort();
    if (port_ == 0) return QStringLiteral("no free port");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUOR_PORT"), QString::number(port_));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(folder_.path());
    process_.setStandardOutputFile(logPath(folder_));
    process_.setStandardErrorFile(logPath(folder_), QIODevice::Append);
    process_.start(program, arguments);
    if (!process_.waitForStarted(kStartMs)) return program + QStringLiteral(" did not start");

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    while (!output().contains(readyText)) {
        if (process_.state() != QProcess::Running || std::chrono::steady_clock::now() > deadline)
            return program + QStringLiteral(" is not ready: ") + output().trimmed();
        QThread::msleep(10);
    }
    return {};
}

double RelayProcess::cpuSeconds() const {
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

qint64 RelayProcess::residentKib() const {
    return statusKib("VmRSS:");
}

qint64 RelayProcess::peakResidentKib() const {
    return statusKib("VmHWM:");
}

qint64 RelayProcess::statusKib(const char* field) const {
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

QString RelayProcess::output() const {
    QFile log(logPath(folder_));
    if (!log.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(log.readAll());
}

}  // namespace bench
