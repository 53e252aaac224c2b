#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <random>
#include <vector>

#include "serverprocess.h"
#include "soakgame.h"
#include "soakpeer.h"

namespace soak {

struct SoakOptions {
    QString brellow;    // the server program
    int seconds = 170;  // the whole run, start to end
    quint64 seed = 0;   // of the random choices (cuts, their moments, thinking)
    int pairs = 20;     // matches
    int watchers = 10;  // users watching one match each
    int moves = 500;    // moves of a match
    // The server's user file; empty: the soak's own, where every user's
    // password is right. Another one tests the soak's own checks.
    QString usersFile;
};

// The soak: the real server, 50 logged-in users (pairs of players and
// watchers), each with his lobby client and his game program; the lobby
// clients poll, the players play whole matches through the server, the
// watchers' programs get every move; meanwhile a tenth of the connections
// are cut at random moments, each in one of the ways a peer goes away (a
// player's game program comes back and the game goes on). It checks what
// the users would see: no move lost, doubled, reordered or changed, also in
// games whose program was cut and came back; every opponent of a cut
// player's client told in time; no login refused while a slot is free; and after
// everyone has left, the server's file descriptors and memory back where
// they were once the first round of users had logged in and left. A soak in
// whose first round nobody logs in ends there and fails.
class SoakRun : public QObject {
    Q_OBJECT

public:
    explicit SoakRun(SoakOptions options, QObject* parent = nullptr);
    ~SoakRun() override;

    // Runs the soak, prints the figures line (and any fault); the exit status.
    int exec();

private:
    enum class Role { First, Second, Watcher };
    struct User {
        int number = 0;  // line of the user file, 1..
        QString id;
        Role role = Role::First;
        int game = -1;  // the match played or watched
        int index = 0;  // the slot the server gave
        SoakPeer* lobby = nullptr;
        SoakPeer* program = nullptr;
        bool loggedIn = false;
        bool battle = false;   // told "Battle"
        bool gameSet = false;  // told the opponent's program is up
        bool stalled = false;
        bool programMayGo = false;  // a cut makes the server close his program
        qint64 lastPollMs = 0;      // when the last poll went
        int pollsOpen = 0;          // polls not answered yet
    };
    // A notice a user must get because of a cut, and by when.
    struct Expected {
        int user = 0;
        QString text;
        qint64 cutMs = 0;
        qint64 deadlineMs = 0;
        qint64 metMs = -1;
        int relogin = -1;  // the user who logs in again once it came
    };
    enum class CutKind {
        GameClose,
        GameReset,
        LobbyClose,
        LobbyReset,
        Stall,
        WatcherGame,
        WatcherLobby
    };

    qint64 now() const { return clock_.elapsed(); }
    // Every other match is a go match.
    static bool isGo(int game) { return game % 2 == 1; }
    bool waitFor(const std::function<bool()>& done, int ms);
    void fail(const QString& what);

    int warmUp();
    bool logInEveryone();
    bool probeFullLobby();
    void logIn(User& u);
    void fromServer(User& u, const QString& text);
    bool pairEveryone();
    bool startPrograms();
    void startProgram(User& u);
    void poll();
    void planCuts();
    void cut(User& u, CutKind kind);
    void expect(int user, const QString& text, qint64 deadlineMs, int relogin = -1);
    void leave();
    int notices() const;

    SoakOptions options_;
    bench::ServerProcess server_;
    std::mt19937_64 random_;
    QElapsedTimer clock_;
    std::vector<User> users_;
    std::vector<std::unique_ptr<SoakGame>> games_;
    std::vector<Expected> expected_;
    QStringList faults_;
    int cutConnections_ = 0;
    int gamesCut_ = 0;  // players' game connections cut
    int refusedWhileFree_ = 0;
    int relogins_ = 0;
    int polls_ = 0;
    int answers_ = 0;
    int unexpectedNotices_ = 0;
    int notStarted_ = 0;
    bool leaving_ = false;
};

}  // namespace soak
