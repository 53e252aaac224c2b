#pragma once

#include <QString>
#include <chrono>

#include "engineplayer.h"
#include "shogiengine.h"
#include "shogimoves.h"
#include "shogirules/position.h"

namespace bot {

// The bot at shogi, with GNU Shogi as its brain. The position is kept from the
// bot's side, as a game program keeps it, and every move (the opponent's as
// derived from his message, the engine's as it names it) is tried through the
// rules library before anything goes out.
//
// The engine is given the opponent's move when exactly one move of the rules
// leads from the last position to the new one; otherwise, and wherever the
// engine refuses a move the game programs allow (a pawn drop that mates, a
// piece left where it can never move again), or has declared the game over in
// its own way, it is set up from the whole position.
class ShogiPlayer : public EnginePlayer<ShogiEngine> {
    Q_OBJECT

public:
    ShogiPlayer(QString program, int seconds, QObject* parent = nullptr);

    void startGame(bool botFirst) override;
    void playFirstMove() override;
    void moveReceived(const QString& moveText) override;

    const shogi::ShogiPosition& position() const { return position_; }

private:
    QString resignation() const override;
    ShogiEngine* makeEngine() override;
    void startEngine() override;
    void askAgain() override;
    void askEngine(std::optional<ShogiMove> opponentMove);
    void askFromPosition();
    void onReply(const ShogiEngineReply& reply, bool fromPosition);
    void playOwnMove(const ShogiMove& move, const QString& log);

    shogi::ShogiPosition position_;
};

}  // namespace bot
