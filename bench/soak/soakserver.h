#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace soak {

// The server under test: the real program, `Brellow --headless`, in a folder
// of its own holding its user file, on a free loopback port passed in
// QUOR_PORT; and what the system says of its resources.
class SoakServer {
public:
    explicit SoakServer(QString program);
    ~SoakServer();

    // Writes the user file, starts the server and waits until it listens.
    bool start(const QStringList& userLines);
    quint16 port() const { return port_; }

    // Its resident memory in KiB and its open file descriptors; -1 when the
    // system does not tell.
    qint64 residentKib() const;
    int openFiles() const;

    bool isRunning() const { return process_.state() == QProcess::Running; }
    // Asks it to end (SIGTERM) and waits; whether it ended with status 0.
    bool stop();

    // The last lines it wrote, for a report of what went wrong.
    QString logTail(int lines);

private:
    QString program_;
    QTemporaryDir folder_;
    QProcess process_;
    QByteArray log_;
    quint16 port_ = 0;
};

}  // namespace soak
