#include "soakserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTcpServer>

#include "textfile.h"

namespace soak {

namespace {

// A port the system just gave out and took back.
quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    return probe.serverPort();
}

constexpr qsizetype kLogKept = 256 * 1024;

}  // namespace

// The server runs in a folder of its own, so a path given relative to where
// the soak was started is made absolute first.
SoakServer::SoakServer(QString program) : program_(QFileInfo(program).absoluteFilePath()) {
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
        log_ += process_.readAllStandardOutput();
        if (log_.size() > kLogKept) log_.remove(0, log_.size() - kLogKept);
    });
}

SoakServer::~SoakServer() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool SoakServer::start(const QStringList& userLines) {
    if (!folder_.isValid()) return false;
    if (!platform::writeTextLines(QDir(folder_.path()).filePath("BrellowLogIn.txt"), userLines))
        return false;
    port_ = freePort();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUOR_PORT"), QString::number(port_));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(folder_.path());
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program_, {QStringLiteral("--headless")});
    if (!process_.waitForStarted(5000)) return false;
    const QDeadlineTimer deadline(10000);
    while (!log_.contains(QStringLiteral(" Msg クライアント待受").toUtf8())) {
        if (deadline.hasExpired() || !process_.waitForReadyRead(200)) {
            if (deadline.hasExpired() || process_.state() != QProcess::Running) return false;
        }
    }
    return true;
}

qint64 SoakServer::residentKib() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(process_.processId()));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ')[0].toLongLong();
    return -1;
}

int SoakServer::openFiles() const {
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(process_.processId()));
    if (!fds.exists()) return -1;
    return static_cast<int>(
        fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

bool SoakServer::stop() {
    process_.terminate();
    if (!process_.waitForFinished(10000)) return false;
    log_ += process_.readAllStandardOutput();
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

QString SoakServer::logTail(int lines) {
    log_ += process_.readAllStandardOutput();
    QStringList all = QString::fromUtf8(log_).split(u'\n');
    return all.mid(std::max<qsizetype>(0, all.size() - lines)).join(u'\n');
}

}  // namespace soak
