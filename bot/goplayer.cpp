#include "goplayer.h"

#include <QFile>

#include "bottexts.h"
#include "enginestrength.h"
#include "gorules/capture.h"
#include "gorules/movemessage.h"

namespace bot {

using go::Point;
using go::Stone;

namespace {

// A point that is no point of the board: a pass marks no stone.
constexpr Point kNoPoint{-1, -1};

}  // namespace

GoPlayer::GoPlayer(QString program, int seconds, QObject* parent)
    : EnginePlayer(std::move(program), seconds, parent) {}

QString GoPlayer::colourName(Stone s) const {
    return s == Stone::Black ? QStringLiteral("black") : QStringLiteral("white");
}

GtpEngine* GoPlayer::makeEngine() {
    return new GtpEngine(program_,
                         {QStringLiteral("--mode"), QStringLiteral("gtp"),
                          QStringLiteral("--level"), QString::number(gnugoLevel(seconds_))},
                         engineDeadline(seconds_), this);
}

void GoPlayer::startEngine() {
    engine_->start();
    for (const QString& command :
         {QStringLiteral("boardsize %1").arg(go::kBoardSize), QStringLiteral("clear_board"),
          QStringLiteral("komi %1").arg(kKomi)}) {
        engine_->ask(command, [this, command](bool ok, const QString& text) {
            if (!ok) onEngineFailed(EngineTrouble::Nonsense, command + QStringLiteral(": ") + text);
        });
    }
}

void GoPlayer::startGame(bool botFirst) {
    colour_ = botFirst ? Stone::Black : Stone::White;
    ban_ = go::Ban();
    myCaptured_ = 0;
    beginGame(botFirst);
}

void GoPlayer::playFirstMove() {
    if (!takeFirstMove()) return;
    generateMove();
}

void GoPlayer::moveReceived(const QString& moveText) {
    if (!active_) return;
    const auto received = go::parseMoveMsg(moveText);
    if (!received) return finish({{}, false, QStringLiteral("a malformed move was ignored")});
    const auto after = go::readPosition(received->positionString);
    if (!after) return finish({{}, false, QStringLiteral("a malformed board was ignored")});

    beforeOpponentMove(received->moveNo);
    const bool inSequence = received->moveNo == moveNo_ + 1;
    const go::Ban before = ban_;
    ban_ = after->ban;
    moveNo_ = received->moveNo;
    thinking_ = true;

    const auto move = inSequence && engineInStep_
                          ? deriveOpponentMove(before, *after, go::opponentOf(colour_))
                          : std::nullopt;
    if (!move) return loadPosition();
    if (move->pass) {
        engine_->ask(QStringLiteral("play %1 pass").arg(colourName(go::opponentOf(colour_))),
                     [this](bool ok, const QString&) { ok ? generateMove() : loadPosition(); });
        return;
    }
    giveStone(move->point);
}

void GoPlayer::giveStone(Point p) {
    const QString vertex = gtpVertex(p);
    engine_->ask(QStringLiteral("play %1 %2").arg(colourName(go::opponentOf(colour_)), vertex),
                 [this, vertex](bool ok, const QString& text) {
                     if (ok) return checkEngineBoard();
                     // A stone the game programs allow and the engine does not
                     // (a suicide, an immediate ko recapture).
                     finish({{},
                             false,
                             QStringLiteral("the engine refuses %1 (%2); it loads the whole "
                                            "position")
                                 .arg(vertex, text)});
                     loadPosition();
                 });
}

void GoPlayer::checkEngineBoard() {
    auto black = std::make_shared<std::optional<std::vector<Point>>>();
    engine_->ask(QStringLiteral("list_stones black"), [black](bool ok, const QString& text) {
        if (ok) *black = pointsFromList(text);
    });
    engine_->ask(QStringLiteral("list_stones white"), [this, black](bool ok, const QString& text) {
        const auto white = ok ? pointsFromList(text) : std::nullopt;
        if (!*black || !white) {
            return onEngineFailed(EngineTrouble::Nonsense, QStringLiteral("an unreadable board"));
        }
        go::Ban theirs;
        for (const Point p : **black)
            theirs.set(p, Stone::Black);
        for (const Point p : *white)
            theirs.set(p, Stone::White);
        if (theirs != engineView(ban_)) return loadPosition();
        generateMove();
    });
}

void GoPlayer::loadPosition() {
    engineInStep_ = false;
    const QString path = folder_.filePath(QStringLiteral("position.sgf"));
    QFile file(path);
    const QByteArray record = setupRecord(ban_, colour_, kKomi).toLatin1();
    if (!folder_.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(record) != record.size()) {
        return onEngineFailed(EngineTrouble::Position, QStringLiteral("cannot write ") + path);
    }
    file.close();
    engine_->ask(QStringLiteral("loadsgf ") + path, [this](bool ok, const QString& text) {
        if (!ok) {
            return onEngineFailed(EngineTrouble::Position,
                                  QStringLiteral("the position is refused: ") + text);
        }
        generateMove();
    });
}

void GoPlayer::generateMove() {
    engine_->ask(
        QStringLiteral("genmove ") + colourName(colour_), [this](bool ok, const QString& text) {
            if (!ok) {
                return onEngineFailed(EngineTrouble::Nonsense, QStringLiteral("genmove: ") + text);
            }
            if (text.compare(u"resign", Qt::CaseInsensitive) == 0) {
                return resign({}, QStringLiteral("the engine resigns"));
            }
            if (text.compare(u"pass", Qt::CaseInsensitive) == 0) return onEnginePass();
            const auto p = pointFromVertex(text);
            if (!p || ban_.at(*p) != Stone::Empty) {
                return onEngineFailed(EngineTrouble::Nonsense,
                                      QStringLiteral("a stone the rules refuse: ") + text);
            }
            engineInStep_ = true;
            playOwnStone(*p, text);
        });
}

void GoPlayer::playOwnStone(Point p, const QString& vertex) {
    ban_.set(p, colour_);
    go::CaptureSearch(ban_).CheckCapture(p, colour_, myCaptured_);
    ++moveNo_;
    thinking_ = false;
    finish({{go::BuildMoveMsg(ban_, p, moveNo_, myCaptured_)},
            false,
            QStringLiteral("move %1: the engine plays %2").arg(moveNo_).arg(vertex)});
}

void GoPlayer::onEnginePass() {
    engine_->ask(QStringLiteral("estimate_score"), [this](bool ok, const QString& text) {
        const auto winner = ok ? estimatedWinner(text) : std::nullopt;
        const QString score = text.section(u' ', 0, 0);
        if (winner && *winner != colour_) {
            return resign({}, QStringLiteral("the engine passes behind: ") + score);
        }
        ++moveNo_;
        thinking_ = false;
        finish({{passLine(score), go::BuildMoveMsg(ban_, kNoPoint, moveNo_, myCaptured_)},
                false,
                QStringLiteral("move %1: the engine passes (%2)").arg(moveNo_).arg(score)});
    });
}

void GoPlayer::askAgain() {
    loadPosition();
}

QString GoPlayer::resignation() const {
    return goResignation();
}

}  // namespace bot
