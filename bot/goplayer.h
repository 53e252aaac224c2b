#pragma once

#include <QString>
#include <QTemporaryDir>
#include <optional>

#include "botplayer.h"
#include "gomoves.h"
#include "gorules/board.h"
#include "gtpengine.h"

namespace bot {

// The bot at go, with GNU Go (over GTP) as its brain. The board is kept from
// the bot's side as the go program keeps it; the opponent's stone is derived
// from his message and placed with the capture rules of the game programs, and
// the engine's stone is placed the same way before the move goes out.
//
// The engine is given the opponent's stone when it alone leads from the last
// board to the new one, and its board is compared with the bot's after every
// stone; where it refuses a stone the game programs allow (a suicide, an
// immediate ko recapture) or its board differs, it loads the whole position as
// a game record. It passes when the engine passes and the bot is not behind,
// and resigns when it is. An engine that ends or stays silent is started
// again once per game; the next time the bot resigns with a chat line.
class GoPlayer : public BotPlayer {
    Q_OBJECT

public:
    static constexpr double kKomi = 6.5;

    GoPlayer(QString program, int seconds, QObject* parent = nullptr);

    void startGame(bool botFirst) override;
    void playFirstMove() override;
    void moveReceived(const QString& moveText) override;
    void stopGame() override;

    const go::Ban& board() const { return ban_; }

private:
    QString resignation() const override;
    void newEngine();
    void giveStone(go::Point p);
    void checkEngineBoard();
    void loadPosition();
    void generateMove();
    void playOwnStone(go::Point p, const QString& vertex);
    void onEnginePass();
    void onEngineFailed(EngineTrouble trouble, const QString& why);
    QString colourName(go::Stone s) const;

    QString program_;
    int seconds_;
    QTemporaryDir folder_;  // the position records given to the engine
    GtpEngine* engine_ = nullptr;
    go::Ban ban_;
    go::Stone colour_ = go::Stone::White;
    qint32 moveNo_ = 0;
    qint32 myCaptured_ = 0;
    bool botFirst_ = false;
    bool active_ = false;
    bool thinking_ = false;
    bool engineInStep_ = false;
    bool engineRestarted_ = false;
};

}  // namespace bot
