#include "gtpengine.h"

#include <QTimer>

namespace bot {

GtpEngine::GtpEngine(QString program, QStringList arguments, std::chrono::milliseconds deadline,
                     QObject* parent)
    : QObject(parent),
      program_(std::move(program)),
      arguments_(std::move(arguments)),
      process_(new EngineProcess(this)),
      deadline_(new QTimer(this)) {
    deadline_->setSingleShot(true);
    deadline_->setInterval(deadline);
    connect(deadline_, &QTimer::timeout, this, &GtpEngine::onDeadline);
    connect(process_, &EngineProcess::lineReceived, this, &GtpEngine::onLine);
    connect(process_, &EngineProcess::ended, this, &GtpEngine::fail);
}

void GtpEngine::start() {
    process_->start(program_, arguments_);
}

void GtpEngine::ask(const QString& command, Answer answer) {
    if (over_) return;
    queue_.push_back({command, std::move(answer)});
    if (!waiting_) sendNext();
}

void GtpEngine::sendNext() {
    if (queue_.empty() || over_) return;
    waiting_ = true;
    answer_.clear();
    deadline_->start();
    process_->sendLine(queue_.front().text);
}

void GtpEngine::onLine(const QString& line) {
    if (!waiting_) return;  // nothing was asked: not an answer of ours
    if (answer_.isEmpty()) {
        if (line.trimmed().isEmpty()) return;  // blank lines before an answer
        if (!line.startsWith(u'=') && !line.startsWith(u'?')) {
            return fail(EngineTrouble::Nonsense,
                        QStringLiteral("an answer without = or ?: ") + line.left(80));
        }
    }
    if (!line.trimmed().isEmpty()) {
        answer_ << line;
        if (answer_.size() > kMaxAnswerLines)
            fail(EngineTrouble::Nonsense, QStringLiteral("an overlong answer"));
        return;
    }
    // The empty line ends the answer.
    deadline_->stop();
    waiting_ = false;
    const bool ok = answer_.front().startsWith(u'=');
    QString text = answer_.join(u'\n').mid(1).trimmed();
    Command done = std::move(queue_.front());
    queue_.pop_front();
    done.answer(ok, text);
    if (!over_ && !waiting_) sendNext();
}

void GtpEngine::shutDown() {
    over_ = true;
    waiting_ = false;
    queue_.clear();
    deadline_->stop();
    process_->disconnect(this);
    process_->stop();
}

void GtpEngine::onDeadline() {
    fail(EngineTrouble::Silent,
         QStringLiteral("no answer within %1 s").arg(deadline_->interval() / 1000));
}

void GtpEngine::fail(EngineTrouble trouble, const QString& why) {
    if (over_) return;
    over_ = true;
    waiting_ = false;
    deadline_->stop();
    process_->stop();
    queue_.clear();
    emit failed(trouble, why);
}

}  // namespace bot
