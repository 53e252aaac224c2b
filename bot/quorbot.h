#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "botoptions.h"
#include "botplayer.h"
#include "greetings.h"
#include "userlist.h"

class QTimer;

namespace bot {

class GameLink;
class LobbySeat;

// A computer opponent in the lobby. It logs in as a lobby client does and
// waits to be challenged; paired, it links its game connection as a game
// program does, greets, and answers every move of the opponent through its
// player (GNU Shogi or GNU Go behind it). When the game ends (a king taken, a
// resignation, the opponent's program gone) it leaves the game connection,
// which ends the match on the server, and waits for the next challenge. It
// plays one game at a time; the server refuses a challenge to a player who is
// playing.
//
// Started with a user to challenge, it challenges him once he is listed and
// free, and then moves first: the challenger opens, which is how two bots
// find who begins.
class QuorBot : public QObject {
    Q_OBJECT

public:
    using LogWriter = std::function<void(const QString& line)>;

    // A pause between the end of a game and leaving it, so that the last
    // words (the final move, a resignation, thanks) reach the opponent's
    // window and can be read before his program reports the closed connection.
    static constexpr int kLeaveDelayMs = 2000;
    // A pause before the bot's first move as the challenger, so that the
    // opponent may greet back (and whoever wants to watch may come in) before
    // the game starts.
    static constexpr int kFirstMoveDelayMs = 3000;

    // `engine` is the engine program to start.
    QuorBot(BotOptions options, const QString& engine, LogWriter writer, QObject* parent = nullptr);
    ~QuorBot() override;

    // Connects to the lobby and logs in.
    void start();

signals:
    // The bot cannot go on (its login was refused, or the lobby is gone); the
    // program ends with `exitCode`.
    void finished(int exitCode);

private:
    enum class State {
        Idle,     // logged in, waiting for a challenge
        Linking,  // paired; the game connection is on its way
        Playing,  // linked: moves are answered
        Leaving,  // the game is over; the connection goes in a moment
    };

    void onUsersListed(const std::vector<lobby::UserListEntry>& users);
    void onPaired(const QString& opponentId, int opponentIndex);
    void onOpponentProgramUp(const QString& opponentId);
    void onMatchOver(const QString& why);
    void onLobbyChat(const QString& line);
    void onLinked();
    void onGameMessage(const QString& text);
    void onLinkClosed(const QString& why);
    void onAnswered(const BotAnswer& answer);
    void startPlaying();
    void answerGreeting(const QString& text);
    void endGame(const QString& why);
    void leaveGame();
    void log(const QString& line);

    BotOptions options_;
    LogWriter log_;
    LobbySeat* lobby_;
    GameLink* link_;
    BotPlayer* player_;
    QTimer* leaveTimer_;
    QTimer* firstMoveTimer_;
    Greetings greetings_;
    State state_ = State::Idle;
    QString opponentId_;
    bool botFirst_ = false;
    bool linked_ = false;          // our game login is on its way
    bool opponentLinked_ = false;  // the opponent's game program is linked
    bool challengeSent_ = false;   // waiting for the answer to our challenge
    bool challengeDone_ = false;   // our challenge has made a game
    // What the player said before the game connection was up (its engine
    // failing at the start), to be said once it is.
    BotAnswer held_;
};

}  // namespace bot
