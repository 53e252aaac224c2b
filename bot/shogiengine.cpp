#include "shogiengine.h"

#include <QRegularExpression>
#include <QTimer>

namespace bot {

namespace {

// The engine's own move: "12. ... 2b8h+ 299950". A prompt it printed without
// a line end ("depth = ") may stand in front of it.
const QRegularExpression& engineMoveLine() {
    static const QRegularExpression re(QStringLiteral("(^|\\s)\\d+\\. \\.\\.\\. (\\S+)"));
    return re;
}

}  // namespace

ShogiEngine::ShogiEngine(QString program, QStringList settings, std::chrono::milliseconds deadline,
                         QObject* parent)
    : QObject(parent),
      program_(std::move(program)),
      settings_(std::move(settings)),
      process_(new EngineProcess(this)),
      deadline_(new QTimer(this)) {
    deadline_->setSingleShot(true);
    deadline_->setInterval(deadline);
    connect(deadline_, &QTimer::timeout, this, &ShogiEngine::onDeadline);
    connect(process_, &EngineProcess::lineReceived, this, &ShogiEngine::onLine);
    connect(process_, &EngineProcess::ended, this, &ShogiEngine::onEnded);
}

void ShogiEngine::start(bool engineFirst) {
    engineFirst_ = engineFirst;
    process_->start(program_, {});
    for (const QString& line : settings_)
        process_->sendLine(line);
}

void ShogiEngine::askFirstMove(Answer answer) {
    ask({QStringLiteral("go")}, std::move(answer));
}

void ShogiEngine::askAfter(const QString& opponentMove, Answer answer) {
    ask({opponentMove}, std::move(answer));
}

void ShogiEngine::askFromPosition(const QStringList& edit, Answer answer) {
    // After "edit" the first player is to move; naming the engine's side and
    // "go" make it move for that side.
    ask(edit + QStringList{engineFirst_ ? QStringLiteral("black") : QStringLiteral("white"),
                           QStringLiteral("go")},
        std::move(answer));
}

void ShogiEngine::ask(const QStringList& lines, Answer answer) {
    pending_ = std::move(answer);
    deadline_->start();
    for (const QString& line : lines)
        process_->sendLine(line);
}

void ShogiEngine::onLine(const QString& line) {
    if (!pending_) return;
    using Kind = ShogiEngineReply::Kind;
    if (line.contains(u"Resign")) return answer({Kind::Resigned, {}, line});
    if (const auto match = engineMoveLine().match(line); match.hasMatch())
        return answer({Kind::Move, match.captured(2), line});
    if (line.contains(u"Illegal move")) return answer({Kind::Refused, {}, line});
    if (line.endsWith(u"mates!")) {
        // "Black mates!" names the winner. The engine's own mating move came
        // before it and was answered already.
        const QStringView winner = engineFirst_ ? u"Black" : u"White";
        if (!line.trimmed().startsWith(winner)) return answer({Kind::Mated, {}, line});
        return;
    }
    for (const QStringView over : {u"Drawn game", u"Draw", u"Repetition", u"Sennichite", u"Jishogi",
                                   u"Max Moves", u"Illegal position"}) {
        if (line.contains(over)) return answer({Kind::NoMove, {}, line});
    }
}

void ShogiEngine::answer(const ShogiEngineReply& reply) {
    deadline_->stop();
    Answer done = std::move(pending_);
    pending_ = nullptr;
    done(reply);
}

void ShogiEngine::onEnded(EngineTrouble trouble, const QString& why) {
    deadline_->stop();
    pending_ = nullptr;
    emit failed(trouble, why);
}

void ShogiEngine::shutDown() {
    pending_ = nullptr;
    deadline_->stop();
    process_->disconnect(this);
    process_->stop();
}

void ShogiEngine::onDeadline() {
    process_->stop();
    pending_ = nullptr;
    emit failed(EngineTrouble::Silent,
                QStringLiteral("no answer within %1 s").arg(deadline_->interval() / 1000));
}

}  // namespace bot
