#pragma once

#include <QString>
#include <utility>

#include "botplayer.h"
#include "bottexts.h"

namespace bot {

// What both bots do around their engine, whatever game it plays: a fresh
// engine for every game, and another one whenever what the engine knows is no
// longer the game. An engine that ends or stays silent is started again once
// per game and given the open question again; the next time the bot resigns
// with a chat line that says why. `Engine` is a QObject with a signal
// `failed(EngineTrouble, QString)` and a `shutDown()` after which nothing
// comes from it.
template <class Engine>
class EnginePlayer : public BotPlayer {
public:
    void stopGame() override {
        active_ = false;
        thinking_ = false;
        dropEngine();
    }

protected:
    EnginePlayer(QString program, int seconds, QObject* parent)
        : BotPlayer(parent), program_(std::move(program)), seconds_(seconds) {}

    // A new engine for this game, a child of this player, not started yet.
    virtual Engine* makeEngine() = 0;
    // Starts the engine just made; its failures reach onEngineFailed by then.
    virtual void startEngine() = 0;
    // Puts the question that was open when the engine failed to the new one.
    virtual void askAgain() = 0;

    // The state of a new game, with a new engine; the game's own state is
    // reset before, as the engine may fail at once.
    void beginGame(bool botFirst) {
        botFirst_ = botFirst;
        moveNo_ = 0;
        active_ = true;
        thinking_ = false;
        engineRestarted_ = false;
        newEngine();
        engineInStep_ = true;
    }

    // Whether the bot is to think about the first move of the game now; it
    // then does.
    bool takeFirstMove() {
        if (!active_ || !botFirst_ || moveNo_ != 0 || thinking_) return false;
        thinking_ = true;
        return true;
    }

    // Before the opponent's move numbered `moveNo` is taken. His move 1 starts
    // a game in which he is first, also one he began anew on his side; a
    // second move while the engine thinks about the first leaves the engine
    // behind the game.
    void beforeOpponentMove(qint32 moveNo) {
        if (moveNo == 1 && (moveNo_ != 0 || botFirst_ || thinking_)) {
            startGame(false);
        } else if (thinking_) {
            newEngine();
            engineInStep_ = false;
            thinking_ = false;
        }
    }

    void onEngineFailed(EngineTrouble trouble, const QString& why) {
        if (!active_) return;
        if (engineRestarted_) {
            return resign(troubleLine(trouble), QStringLiteral("the engine failed again: ") + why);
        }
        engineRestarted_ = true;
        newEngine();
        engineInStep_ = false;
        finish({{}, false, QStringLiteral("the engine is started again after: ") + why});
        if (thinking_) askAgain();
    }

    const QString program_;
    const int seconds_;
    Engine* engine_ = nullptr;
    qint32 moveNo_ = 0;
    bool botFirst_ = false;
    bool active_ = false;
    bool thinking_ = false;
    // The engine has played every move up to the position before the
    // opponent's last one, so his move alone brings it up to date.
    bool engineInStep_ = false;
    bool engineRestarted_ = false;

private:
    void newEngine() {
        dropEngine();
        engine_ = makeEngine();
        QObject::connect(
            engine_, &Engine::failed, this,
            [this](EngineTrouble trouble, const QString& why) { onEngineFailed(trouble, why); });
        startEngine();
    }

    void dropEngine() {
        if (!engine_) return;
        engine_->shutDown();
        engine_->deleteLater();
        engine_ = nullptr;
    }
};

}  // namespace bot
