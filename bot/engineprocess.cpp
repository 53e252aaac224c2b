#include "engineprocess.h"

namespace bot {

EngineProcess::EngineProcess(QObject* parent) : QObject(parent), process_(new QProcess(this)) {
    // The engines' remarks on standard error are of no use, and a pipe nobody
    // reads would stop an engine that talks much there.
    process_->setStandardErrorFile(QProcess::nullDevice());
    connect(process_, &QProcess::started, this, &EngineProcess::onStarted);
    connect(process_, &QProcess::readyReadStandardOutput, this, &EngineProcess::onReadyRead);
    connect(process_, &QProcess::finished, this, &EngineProcess::onFinished);
    connect(process_, &QProcess::errorOccurred, this, &EngineProcess::onError);
}

EngineProcess::~EngineProcess() {
    over_ = true;
    process_->disconnect(this);
    if (process_->state() == QProcess::NotRunning) return;
    // Killed, the process is gone at once; waiting for that takes a moment.
    process_->kill();
    process_->waitForFinished(1000);
}

void EngineProcess::start(const QString& program, const QStringList& arguments) {
    program_ = program;
    process_->start(program, arguments);
}

void EngineProcess::sendLine(const QString& line) {
    if (over_) return;
    const QByteArray bytes = line.toLatin1() + '\n';
    if (started_) {
        process_->write(bytes);
    } else {
        waiting_ += bytes;
    }
}

void EngineProcess::stop() {
    over_ = true;
    process_->kill();
}

bool EngineProcess::isRunning() const {
    return !over_ && process_->state() != QProcess::NotRunning;
}

qint64 EngineProcess::processId() const {
    return process_->processId();
}

void EngineProcess::onStarted() {
    started_ = true;
    process_->write(waiting_);
    waiting_.clear();
}

void EngineProcess::onReadyRead() {
    received_ += process_->readAllStandardOutput();
    qsizetype end;
    while (!over_ && (end = received_.indexOf('\n')) >= 0) {
        QByteArray line = received_.left(end);
        received_.remove(0, end + 1);
        if (line.endsWith('\r')) line.chop(1);
        if (line.size() > kMaxLineLength)
            return fail(EngineTrouble::Nonsense, QStringLiteral("an overlong line"));
        emit lineReceived(QString::fromLatin1(line));
    }
    if (!over_ && received_.size() > kMaxPendingBytes)
        fail(EngineTrouble::Nonsense, QStringLiteral("an overlong line"));
}

void EngineProcess::onFinished(int exitCode, QProcess::ExitStatus status) {
    fail(EngineTrouble::Stopped, status == QProcess::CrashExit
                                     ? QStringLiteral("it crashed")
                                     : QStringLiteral("it ended (status %1)").arg(exitCode));
}

void EngineProcess::onError(QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
        fail(EngineTrouble::Stopped,
             QStringLiteral("%1 cannot be started: %2").arg(program_, process_->errorString()));
    }
}

void EngineProcess::fail(EngineTrouble trouble, const QString& why) {
    if (over_) return;
    over_ = true;
    process_->kill();
    emit ended(trouble, why);
}

}  // namespace bot
