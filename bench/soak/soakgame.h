#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <vector>

namespace soak {

class SoakPeer;

// What a game (or the copy a watcher gets of it) received, for the figures.
struct MoveTally {
    int received = 0;    // moves that came, each once
    int duplicated = 0;  // a move that came again
    int outOfOrder = 0;  // a move that came before one sent earlier
    int unreadable = 0;  // a text that is no move of the game
    int lost = 0;        // moves sent and never received (counted at the end)
};

// One match of the soak: two game programs taking turns through the server,
// every move acknowledged by its receiver before the receiver moves, and the
// watchers' programs, which get a copy of each move. The first program (A)
// makes the odd moves, the second (B) the even ones; each checks that the
// moves come one by one, in order, each once and readable, and that the
// acknowledgement of its own move came before the answer to it.
class SoakGame : public QObject {
    Q_OBJECT

public:
    enum Side { A = 0, B = 1 };

    // `go`: go moves, else shogi moves; `moves`: the moves of the whole game;
    // `thinkMs`: how long a player waits before his move.
    SoakGame(bool go, int moves, std::function<int()> thinkMs, QObject* parent = nullptr);

    void attach(Side side, SoakPeer* program);
    // The side's program lost its connection and comes back on `program`: it
    // is given the game's last move by the server, sends again its own move
    // that never arrived, and plays on.
    void reattach(Side side, SoakPeer* program);
    // A watcher's program, linked before the first move; `first` and `second`
    // are the players' IDs it must be told.
    void addWatcher(SoakPeer* program, const QString& first, const QString& second);

    void start();
    // The game was cut: no more moves, and what was on its way is not counted
    // as lost. A watcher that was cut is forgotten likewise.
    void stop() { stopped_ = true; }
    void forgetWatcher(SoakPeer* program);

    bool stopped() const { return stopped_; }
    bool finished() const;  // every move played and received

    // Counts the moves still missing; called once at the end.
    void settle();

    const MoveTally& players() const { return players_; }
    // A side came back after a cut and the server gave it the game's last
    // move; the times the opponent's program was told of the cut and of the
    // return; moves sent again after a return.
    bool resumed() const { return resumed_; }
    int linesOfTheServer() const { return serverLines_; }
    int sentAgain() const { return sentAgain_; }
    const MoveTally& watchers() const { return watchers_; }
    int acksMissing() const { return acksMissing_; }
    // Texts a program got that it was not to get (the first 60 characters).
    const QStringList& strayMessages() const { return stray_; }

private:
    struct Player {
        SoakPeer* program = nullptr;
        int sent = 0;  // own moves sent
        int acks = 0;  // acknowledgements of them received
        std::set<int> got;
        int last = 0;  // the highest move number received
        // Back after a cut, the game's last move not yet given; the moves
        // sent on the connection that was cut.
        bool rejoining = false;
        int sentBeforeCut = 0;
    };
    struct Watcher {
        SoakPeer* program = nullptr;
        QString first;
        QString second;
        bool toldPlayers = false;
        std::set<int> got;
        int last = 0;
    };

    void fromPlayer(Side side, const QString& text);
    // The game's last move as the server gives it to a side that came back.
    bool resume(Side side, const QString& text);
    // The number of `side`'s own move `k` (from 1).
    static int ownNumber(Side side, int k) { return 2 * k - (side == A ? 1 : 0); }
    void fromWatch(Watcher& watcher, const QString& text);
    void move(Side side);
    QString moveText(int number) const;
    int moveNumber(const QString& text) const;

    bool go_;
    int moves_;
    std::function<int()> thinkMs_;
    Player player_[2];
    std::vector<Watcher> watching_;
    bool stopped_ = false;
    MoveTally players_;
    MoveTally watchers_;
    int acksMissing_ = 0;
    QStringList stray_;
    bool resumed_ = false;
    int serverLines_ = 0;
    int sentAgain_ = 0;
};

}  // namespace soak
