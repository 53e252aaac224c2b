#pragma once

#include <QString>
#include <chrono>

#include "botplayer.h"
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
// its own way, it is set up from the whole position. An engine that ends or
// stays silent is started again once per game; the next time the bot resigns
// with a chat line that says why.
class ShogiPlayer : public BotPlayer {
    Q_OBJECT

public:
    ShogiPlayer(QString program, int seconds, QObject* parent = nullptr);

    void startGame(bool botFirst) override;
    void playFirstMove() override;
    void moveReceived(const QString& moveText) override;
    void stopGame() override;

    const shogi::ShogiPosition& position() const { return position_; }

private:
    QString resignation() const override;
    void newEngine();
    void askEngine(std::optional<ShogiMove> opponentMove);
    void askFromPosition();
    void onReply(const ShogiEngineReply& reply, bool fromPosition);
    void playOwnMove(const ShogiMove& move, const QString& log);
    void onEngineFailed(EngineTrouble trouble, const QString& why);

    QString program_;
    int seconds_;
    ShogiEngine* engine_ = nullptr;
    shogi::ShogiPosition position_;
    qint32 moveNo_ = 0;
    bool botFirst_ = false;
    bool active_ = false;
    bool thinking_ = false;
    // The engine has played every move up to the position before the
    // opponent's last one, so his move alone brings it up to date.
    bool engineInStep_ = false;
    bool engineRestarted_ = false;
};

}  // namespace bot
