#pragma once

#include <QString>
#include <QTemporaryDir>
#include <optional>

#include "engineplayer.h"
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
// and resigns when it is.
class GoPlayer : public EnginePlayer<GtpEngine> {
    Q_OBJECT

public:
    static constexpr double kKomi = 6.5;

    GoPlayer(QString program, int seconds, QObject* parent = nullptr);

    void startGame(bool botFirst) override;
    void playFirstMove() override;
    void moveReceived(const QString& moveText) override;

    const go::Ban& board() const { return ban_; }

private:
    QString resignation() const override;
    GtpEngine* makeEngine() override;
    void startEngine() override;
    void askAgain() override;
    void giveStone(go::Point p);
    void checkEngineBoard();
    void loadPosition();
    void generateMove();
    void playOwnStone(go::Point p, const QString& vertex);
    void onEnginePass();
    QString colourName(go::Stone s) const;

    QTemporaryDir folder_;  // the position records given to the engine
    go::Ban ban_;
    go::Stone colour_ = go::Stone::White;
    qint32 myCaptured_ = 0;
};

}  // namespace bot
