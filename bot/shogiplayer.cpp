#include "shogiplayer.h"

#include "bottexts.h"
#include "enginestrength.h"
#include "shogirules/movemessage.h"

namespace bot {

ShogiPlayer::ShogiPlayer(QString program, int seconds, QObject* parent)
    : EnginePlayer(std::move(program), seconds, parent) {}

ShogiEngine* ShogiPlayer::makeEngine() {
    return new ShogiEngine(program_, gnushogiSettings(seconds_), engineDeadline(seconds_), this);
}

void ShogiPlayer::startEngine() {
    engine_->start(botFirst_);
}

void ShogiPlayer::startGame(bool botFirst) {
    position_ = shogi::ShogiPosition{};
    beginGame(botFirst);
}

void ShogiPlayer::playFirstMove() {
    if (!takeFirstMove()) return;
    if (engineInStep_) {
        engine_->askFirstMove([this](const ShogiEngineReply& r) { onReply(r, false); });
    } else {
        askFromPosition();
    }
}

void ShogiPlayer::moveReceived(const QString& moveText) {
    if (!active_) return;
    const auto received = shogi::parseMoveMsg(moveText);
    if (!received) return finish({{}, false, QStringLiteral("a malformed move was ignored")});
    shogi::Board board;
    board.load(received->positionString);
    const shogi::ShogiPosition after{board, received->myHand, received->oppHand};

    beforeOpponentMove(received->moveNo);
    const bool inSequence = received->moveNo == moveNo_ + 1;
    const shogi::ShogiPosition before = position_;
    position_ = after;
    moveNo_ = received->moveNo;

    if (!shogi::ownKingSquare(position_.Ban)) {
        return finish({{}, true, QStringLiteral("move %1: the bot's king was taken").arg(moveNo_)});
    }
    if (const auto take = kingCapture(position_)) {
        return playOwnMove(*take, QStringLiteral("the opponent's king left open is taken"));
    }
    thinking_ = true;
    const auto move =
        inSequence && engineInStep_ ? deriveOpponentMove(before, after) : std::nullopt;
    if (!move) return askFromPosition();
    engine_->askAfter(engineMoveText(*move, botFirst_),
                      [this](const ShogiEngineReply& r) { onReply(r, false); });
}

void ShogiPlayer::askFromPosition() {
    engine_->askFromPosition(editCommands(position_, botFirst_),
                             [this](const ShogiEngineReply& r) { onReply(r, true); });
}

void ShogiPlayer::onReply(const ShogiEngineReply& reply, bool fromPosition) {
    if (!active_) return;
    using Kind = ShogiEngineReply::Kind;
    switch (reply.kind) {
        case Kind::Move: {
            const auto move = parseEngineMove(reply.move, botFirst_);
            if (!move) {
                return onEngineFailed(EngineTrouble::Nonsense,
                                      QStringLiteral("an unreadable move: ") + reply.line);
            }
            engineInStep_ = true;
            return playOwnMove(*move, QStringLiteral("the engine plays ") + reply.move);
        }
        case Kind::Refused:
            if (fromPosition) {
                return onEngineFailed(EngineTrouble::Position,
                                      QStringLiteral("the position is refused: ") + reply.line);
            }
            // A move the game programs allow and the engine does not.
            engineInStep_ = false;
            finish({{},
                    false,
                    QStringLiteral("the engine refuses the move (%1); it is set up from "
                                   "the whole position")
                        .arg(reply.line)});
            return askFromPosition();
        case Kind::Mated:
            return resign({}, QStringLiteral("the engine is mated: ") + reply.line);
        case Kind::Resigned:
            return resign({}, QStringLiteral("the engine resigns: ") + reply.line);
        case Kind::NoMove:
            // The engine's own rules ended the game (a repetition, say); the
            // game programs have no such end. Without its history it plays on.
            if (!fromPosition) return askFromPosition();
            return resign(troubleLine(EngineTrouble::Position),
                          QStringLiteral("the engine has no move: ") + reply.line);
    }
}

void ShogiPlayer::playOwnMove(const ShogiMove& move, const QString& log) {
    const auto outcome = applyOwnMove(position_, move);
    if (!outcome) {
        return onEngineFailed(EngineTrouble::Nonsense, QStringLiteral("a move the rules refuse: ") +
                                                           engineMoveText(move, botFirst_));
    }
    thinking_ = false;
    ++moveNo_;
    BotAnswer answer;
    answer.messages << shogi::BuildMoveMsg(position_, moveNo_);
    if (outcome->kingCaptured) {
        answer.messages << outcome->endOfGameMessage;
        answer.gameOver = true;
    }
    answer.logLine = QStringLiteral("move %1: %2").arg(moveNo_).arg(log);
    finish(answer);
}

void ShogiPlayer::askAgain() {
    if (moveNo_ == 0) {
        engineInStep_ = true;
        engine_->askFirstMove([this](const ShogiEngineReply& r) { onReply(r, false); });
    } else {
        askFromPosition();
    }
}

QString ShogiPlayer::resignation() const {
    return shogiResignation();
}

}  // namespace bot
