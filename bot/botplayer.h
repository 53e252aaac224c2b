#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace bot {

// What the bot says on its game connection after thinking: game messages in
// the order they go out, whether the game is over with them, and a line for
// the bot's log.
struct BotAnswer {
    QStringList messages;
    bool gameOver = false;
    QString logLine;
};

// The bot's side of one game kind: it keeps the position, takes the
// opponent's moves, asks its engine and answers with the messages a game
// program would send. Answers come later, through `answered`, never from
// inside a call.
class BotPlayer : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // A new game; the engine starts. The first move is the bot's only when
    // `botFirst`, and only once playFirstMove() is called.
    virtual void startGame(bool botFirst) = 0;
    virtual void playFirstMove() = 0;
    // A move message of the opponent, as received (checked here). Move 1
    // starts a new game with the opponent first.
    virtual void moveReceived(const QString& moveText) = 0;
    // The game is over: the engine goes, and late answers are dropped.
    virtual void stopGame() = 0;

signals:
    void answered(const bot::BotAnswer& answer);

protected:
    // The message that resigns the game, as the game program sends it.
    virtual QString resignation() const = 0;
    // Resigns, after `chatLine` when there is one; `log` says why.
    void resign(const QString& chatLine, const QString& log);
    // Hands the answer out from the event loop; a game it ends is stopped at once.
    void finish(const BotAnswer& answer);
};

}  // namespace bot
