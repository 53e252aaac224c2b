#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace bench {

// A server the benchmarks and the soak talk to, as a process of its own: the
// real `Brellow --headless`, or the bare relay. It runs in a folder of its own
// with QUOR_PORT=0, its output (both channels) goes to a file there, and it is
// ready once that output tells the port the system gave it ("Port <N>"), so
// servers started side by side never race for a port. The process is ended
// when this object goes.
class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess();

    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Writes `files` (name, Shift-JIS lines) into the folder, starts `program`
    // with `arguments` and waits until its output tells its port. The reason
    // it failed, or empty.
    QString start(const QString& program, const QStringList& arguments,
                  const QList<std::pair<QString, QStringList>>& files = {});

    quint16 port() const { return port_; }  // where it listens, once started
    qint64 pid() const { return process_.processId(); }
    bool running() const { return process_.state() == QProcess::Running; }

    // CPU time the process has used so far (user and system), in seconds.
    double cpuSeconds() const;
    // Resident memory now, and the most it has had, in KiB; -1 when unknown.
    qint64 residentKib() const;
    qint64 peakResidentKib() const;
    // Its open file descriptors; -1 when unknown.
    int openFiles() const;

    // Asks it to end (SIGTERM) and waits; whether it ended with status 0.
    bool stop();

    // The port it tells at `place` ("Web <N>": the web front's, told after
    // the server's own), waited for as long as it takes to start; 0 when it
    // never comes.
    quint16 announcedPort(const char* place) const;
    // Everything it wrote to its output so far.
    QString output() const;
    // The last `lines` lines of its output, for a report of what went wrong.
    QString outputTail(int lines) const;

private:
    qint64 statusKib(const char* field) const;

    QTemporaryDir folder_;
    QProcess process_;
    quint16 port_ = 0;
};

}  // namespace bench
