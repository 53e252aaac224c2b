#include "soakrun.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "gameframing.h"
#include "lobbyclassify.h"
#include "lobbyframing.h"
#include "lobbykeywords.h"
#include "lobbymessages.h"
#include "textfile.h"

namespace soak {

namespace {

// How soon a notice of a cut must come when the server sees the cut at once
// (a close or a reset), and how late one may come after the server's minute
// tick drops a client that stopped polling: at the second tick after its last
// poll, so at most two minutes after it.
constexpr qint64 kPromptMs = 5000;
constexpr qint64 kPollTimeoutMs = 120000;
constexpr qint64 kPollEveryMs = 5000;
// How long a player's game program takes to come back after its connection
// was cut.
constexpr int kRejoinAfterMs = 1000;
// Time kept for starting up and for everyone leaving, out of the run's
// seconds; the matches get the rest.
constexpr qint64 kSetupAndLeaveMs = 45000;
// Growth of the server's file descriptors and memory allowed at the end.
constexpr double kGrowth = 0.10;

const QString kShutDown = lobby::shutDownNotice();
const QString kHisNone = lobby::opponentGoneNotice();
const QString kGmok = lobby::chatAck();

QString userId(int number) {
    return QStringLiteral("u%1").arg(number);
}
QString password(int number) {
    return QStringLiteral("pw%1").arg(number);
}
// The game kind goes with the match: the server reads a move's number where
// that game's program puts it.
QString loginOf(int number, int kind) {
    return lobby::loginRequest(userId(number), password(number),
                               userId(number) + QStringLiteral("@example.jp"), kind);
}

}  // namespace

SoakRun::SoakRun(SoakOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)), random_(options_.seed) {}

SoakRun::~SoakRun() = default;

void SoakRun::fail(const QString& what) {
    if (faults_.size() < 40)
        faults_ << QStringLiteral("%1 s: %2").arg(now() / 1000.0, 0, 'f', 1).arg(what);
}

bool SoakRun::waitFor(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

int SoakRun::exec() {
    clock_.start();
    const int players = 2 * options_.pairs;
    const int total = players + options_.watchers;
    QStringList lines;
    if (options_.usersFile.isEmpty()) {
        for (int n = 1; n <= total + 1; ++n)
            lines << QStringLiteral("%1,%2,%3,%2@example.jp,").arg(n).arg(userId(n), password(n));
    } else {
        const auto given = platform::readTextLines(options_.usersFile);
        if (!given) {
            std::fprintf(stderr, "soak: cannot read the user file %s\n",
                         qPrintable(options_.usersFile));
            return 1;
        }
        lines = *given;
    }
    const QString notStarted = server_.start(options_.brellow, {QStringLiteral("--headless")},
                                             {{QStringLiteral("BrellowLogIn.txt"), lines}});
    if (!notStarted.isEmpty()) {
        std::fprintf(stderr, "soak: the server %s did not start: %s\n",
                     qPrintable(options_.brellow), qPrintable(notStarted));
        return 1;
    }

    for (int n = 1; n <= total; ++n) {
        User u;
        u.number = n;
        u.id = userId(n);
        if (n <= players) {
            u.role = n % 2 ? Role::First : Role::Second;
            u.game = (n - 1) / 2;
        } else {
            u.role = Role::Watcher;
            u.game = (n - players - 1) % options_.pairs;
        }
        users_.push_back(u);
    }
    // The figures to come back to are taken once the first round's users
    // have logged in and left. A server nobody could log in to shows nothing
    // of what a user does to it: the soak ends there.
    const int firstLogins = warmUp();
    if (firstLogins == 0) {
        server_.stop();
        std::fprintf(stderr,
                     "soak: FAILED\n  %.1f s: no login succeeded in the first round (%d users "
                     "tried); nothing measured\nthe server's last lines:\n%s\n",
                     now() / 1000.0, total, qPrintable(server_.outputTail(30)));
        return 1;
    }
    if (firstLogins < total)
        fail(QStringLiteral("only %1 of %2 users logged in in the first round")
                 .arg(firstLogins)
                 .arg(total));
    const qint64 rssStart = server_.residentKib();
    const int fdsStart = server_.openFiles();

    QTimer polling;
    connect(&polling, &QTimer::timeout, this, &SoakRun::poll);
    polling.start(250);

    const qint64 matchMs = options_.seconds * 1000LL - kSetupAndLeaveMs;
    const qint64 thinkMs = std::max<qint64>(1, matchMs / options_.moves);
    bool ready = logInEveryone() && probeFullLobby() && pairEveryone() && startPrograms();
    if (ready) {
        for (int g = 0; g < options_.pairs; ++g) {
            games_.push_back(std::make_unique<SoakGame>(isGo(g), options_.moves, [this, thinkMs] {
                return static_cast<int>(thinkMs / 2 + random_() % thinkMs);
            }));
        }
        for (User& u : users_) {
            SoakGame& game = *games_[static_cast<std::size_t>(u.game)];
            if (u.role == Role::Watcher) {
                const User& first = users_[2 * static_cast<std::size_t>(u.game)];
                const User& second = users_[2 * static_cast<std::size_t>(u.game) + 1];
                game.addWatcher(u.program, first.id, second.id);
            } else {
                game.attach(u.role == Role::First ? SoakGame::A : SoakGame::B, u.program);
            }
        }
        planCuts();
        for (std::size_t g = 0; g < games_.size(); ++g)
            QTimer::singleShot(static_cast<int>(g) * 20, games_[g].get(), &SoakGame::start);
        const qint64 endMs = options_.seconds * 1000LL - 12000;
        const bool done = waitFor(
            [&] {
                const bool played = std::all_of(games_.begin(), games_.end(), [](const auto& g) {
                    return g->stopped() || g->finished();
                });
                const bool told = std::all_of(
                    expected_.begin(), expected_.end(),
                    [&](const Expected& e) { return e.metMs >= 0 || now() > e.deadlineMs; });
                return played && told;
            },
            static_cast<int>(std::max<qint64>(0, endMs - now())));
        if (!done) fail(QStringLiteral("the matches and notices did not end in time"));
        for (const User& u : users_)
            if (u.loggedIn && !u.stalled && u.pollsOpen > 1)
                fail(QStringLiteral("%1 waits for %2 poll answers").arg(u.id).arg(u.pollsOpen));
    }
    polling.stop();
    leave();
    const qint64 rssEnd = server_.residentKib();
    const int fdsEnd = server_.openFiles();
    if (!server_.stop()) fail(QStringLiteral("the server did not end cleanly on SIGTERM"));

    MoveTally moves;
    MoveTally copies;
    int acksMissing = 0;
    QStringList stray;
    int resumed = 0;
    int sentAgain = 0;
    int serverLines = 0;
    for (const auto& g : games_) {
        if (g->resumed() && g->finished()) ++resumed;
        sentAgain += g->sentAgain();
        serverLines += g->linesOfTheServer();
        g->settle();
        const MoveTally& p = g->players();
        const MoveTally& w = g->watchers();
        moves.received += p.received;
        moves.lost += p.lost;
        moves.duplicated += p.duplicated + w.duplicated;
        moves.outOfOrder += p.outOfOrder + w.outOfOrder;
        moves.unreadable += p.unreadable + w.unreadable;
        copies.received += w.received;
        copies.lost += w.lost;
        acksMissing += g->acksMissing();
        stray += g->strayMessages();
        if (!g->stopped() && !g->finished()) fail(QStringLiteral("a match did not end"));
    }
    qint64 slowest = 0;      // after a close or a reset
    qint64 slowestHang = 0;  // after a hang
    for (const Expected& e : expected_) {
        const User& u = users_[static_cast<std::size_t>(e.user)];
        if (e.metMs < 0 || e.metMs > e.deadlineMs)
            fail(QStringLiteral("%1 was not told \"%2\" in time").arg(u.id, e.text));
        else if (e.deadlineMs - e.cutMs > kPromptMs)
            slowestHang = std::max(slowestHang, e.metMs - e.cutMs);
        else
            slowest = std::max(slowest, e.metMs - e.cutMs);
    }
    if (moves.lost + copies.lost > 0) fail(QStringLiteral("moves lost"));
    if (moves.duplicated + moves.outOfOrder + moves.unreadable > 0)
        fail(QStringLiteral("moves doubled, reordered or changed"));
    if (acksMissing > 0)
        fail(QStringLiteral("%1 answers came before their acknowledgement").arg(acksMissing));
    if (!stray.isEmpty())
        fail(QStringLiteral("%1 messages a game program was not to get, the first: %2")
                 .arg(stray.size())
                 .arg(stray.first()));
    if (unexpectedNotices_ > 0) fail(QStringLiteral("notices that no cut explains"));
    if (resumed < gamesCut_)
        fail(QStringLiteral("%1 of %2 games whose program was cut went on to their end")
                 .arg(resumed)
                 .arg(gamesCut_));
    if (notStarted_ > 0)
        fail(QStringLiteral("a watcher's program was not linked before the first move"));
    if (rssStart <= 0 || rssEnd > rssStart * (1 + kGrowth))
        fail(
            QStringLiteral("the server's memory grew from %1 to %2 KiB").arg(rssStart).arg(rssEnd));
    if (fdsStart <= 0 || fdsEnd > fdsStart * (1 + kGrowth))
        fail(QStringLiteral("the server's descriptors went from %1 to %2")
                 .arg(fdsStart)
                 .arg(fdsEnd));

    std::printf(
        "soak: %d users, %d matches, %.0f s: moves relayed %d, lost %d, duplicated %d, out of "
        "order %d; watch copies %d; cut connections %d; games resumed after a cut game "
        "connection %d of %d (moves sent again %d, opponents' lines %d); users told of a cut "
        "%d of %lld (within "
        "%.1f s of a close or reset, %.1f s of a hang); logins refused while a slot was free %d "
        "(%d logins again); polls answered %d of %d; first-round logins %d of %d; server RSS "
        "after logins/end %lld/%lld KiB; fds after logins/end %d/%d; seed %llu\n",
        total, options_.pairs, now() / 1000.0, moves.received, moves.lost, moves.duplicated,
        moves.outOfOrder, copies.received, cutConnections_, resumed, gamesCut_, sentAgain,
        serverLines, notices(), static_cast<long long>(expected_.size()), slowest / 1000.0,
        slowestHang / 1000.0, refusedWhileFree_, relogins_, answers_, polls_, firstLogins, total,
        static_cast<long long>(rssStart), static_cast<long long>(rssEnd), fdsStart, fdsEnd,
        static_cast<unsigned long long>(options_.seed));
    if (faults_.isEmpty()) return 0;
    std::fprintf(stderr, "soak: FAILED\n  %s\nthe server's last lines:\n%s\n",
                 qPrintable(faults_.join(QStringLiteral("\n  "))),
                 qPrintable(server_.outputTail(30)));
    return 1;
}

int SoakRun::notices() const {
    return static_cast<int>(std::count_if(expected_.begin(), expected_.end(),
                                          [](const Expected& e) { return e.metMs >= 0; }));
}

// A first round before the figures are taken: every user logs in, polls,
// links a game program and leaves again, so that what the server keeps for
// good after its first users (the user file read, the buffers of its
// sockets) counts as its start. As in the round that follows, a user's game
// program connects once he is logged in: the server keeps only so many
// connections from one address waiting for their login. A user is through
// once his poll is answered, or once the server answered his login
// otherwise or closed his connection. Returns how many were logged in.
int SoakRun::warmUp() {
    struct Turn {
        bool loggedIn = false;
        bool through = false;
    };
    // Before the peers: they go first, and with them what they call back.
    std::vector<Turn> turns(users_.size());
    std::vector<std::unique_ptr<SoakPeer>> peers;
    const quint16 port = server_.port();
    for (std::size_t i = 0; i < users_.size(); ++i) {
        const int n = users_[i].number;
        auto* lobby = new SoakPeer(lobby::lobbyClientFraming(), port);
        peers.emplace_back(lobby);
        Turn& turn = turns[i];
        connect(lobby, &SoakPeer::connected, this, [lobby, n] { lobby->send(loginOf(n, 0)); });
        connect(lobby, &SoakPeer::message, this,
                [this, &turn, &peers, lobby, n, port](const QString& text) {
                    if (turn.through) return;
                    const auto reply = lobby::parseLoginReply(text);
                    if (turn.loggedIn || !reply || !reply->accepted) {
                        turn.through = true;  // the poll's answer, or a refusal
                        return;
                    }
                    turn.loggedIn = true;
                    lobby->send(lobby::userListRequest(userId(n), password(n), 1));
                    auto* program = new SoakPeer(gamecommon::gameProgramFraming(), port);
                    peers.emplace_back(program);
                    connect(program, &SoakPeer::connected, this, [program, n] {
                        program->send(
                            lobby::gameLoginRequest(userId(n), password(n), QStringLiteral("m")));
                    });
                });
        connect(lobby, &SoakPeer::closedByPeer, this, [&turn] { turn.through = true; });
    }
    const bool done = waitFor(
        [&] {
            return std::all_of(turns.begin(), turns.end(), [](const Turn& t) { return t.through; });
        },
        15000);
    // The programs that have not linked yet get a moment.
    waitFor([] { return false; }, 500);
    for (const auto& peer : peers)
        peer->close();
    waitFor([] { return false; }, 2000);
    const auto logins = static_cast<int>(
        std::count_if(turns.begin(), turns.end(), [](const Turn& t) { return t.loggedIn; }));
    if (!done && logins > 0) fail(QStringLiteral("the first round of logins did not end in time"));
    return logins;
}

void SoakRun::logIn(User& u) {
    if (u.lobby) ++relogins_;
    u.loggedIn = false;
    u.stalled = false;  // a user who hung comes back on a new connection
    u.pollsOpen = 0;
    u.lobby = new SoakPeer(lobby::lobbyClientFraming(), server_.port(), this);
    SoakPeer* peer = u.lobby;
    const int at = static_cast<int>(&u - users_.data());
    connect(peer, &SoakPeer::connected, this, [this, peer, at] {
        const User& user = users_[static_cast<std::size_t>(at)];
        peer->send(loginOf(user.number, isGo(user.game)));
    });
    connect(peer, &SoakPeer::message, this, [this, peer, at](const QString& text) {
        User& user = users_[static_cast<std::size_t>(at)];
        if (user.lobby == peer) fromServer(user, text);
    });
    connect(peer, &SoakPeer::closedByPeer, this, [this, peer, at] {
        const User& user = users_[static_cast<std::size_t>(at)];
        if (user.lobby == peer && !leaving_) fail(user.id + QStringLiteral("'s client was closed"));
    });
}

bool SoakRun::logInEveryone() {
    for (User& u : users_)
        logIn(u);
    if (waitFor(
            [this] {
                return std::all_of(users_.begin(), users_.end(),
                                   [](const User& u) { return u.loggedIn; });
            },
            15000))
        return true;
    fail(QStringLiteral("not every user could log in"));
    return false;
}

// One more user when all 50 slots are taken: told the lobby is full.
bool SoakRun::probeFullLobby() {
    SoakPeer probe(lobby::lobbyClientFraming(), server_.port());
    QString answer;
    connect(&probe, &SoakPeer::connected, this,
            [&] { probe.send(loginOf(static_cast<int>(users_.size()) + 1, 0)); });
    connect(&probe, &SoakPeer::message, this, [&](const QString& text) { answer = text; });
    if (!waitFor([&] { return !answer.isEmpty() && probe.closedByServer(); }, 5000) ||
        answer != lobby::serverFullReply()) {
        fail(QStringLiteral("a login to a full lobby got \"%1\"").arg(answer));
        return false;
    }
    return true;
}

void SoakRun::fromServer(User& u, const QString& text) {
    using lobby::ClientReply;
    const ClientReply kind = lobby::classifyClientMessage(text);
    const auto login = lobby::parseLoginReply(text);
    if (login && login->accepted) {
        u.loggedIn = true;
        u.index = login->index;
        u.lastPollMs = now() - static_cast<qint64>(random_() % kPollEveryMs);
    } else if (kind == ClientReply::Login || kind == ClientReply::NoLogin) {
        ++refusedWhileFree_;
        fail(u.id + QStringLiteral(" was refused: ") + text);
    } else if (kind == ClientReply::AddFriends) {
        ++answers_;
        u.pollsOpen = std::max(0, u.pollsOpen - 1);
    } else if (kind == ClientReply::GameMsg && lobby::lobbyField(text, 1) == lobby::kBattleField) {
        u.battle = true;
        u.lobby->send(kGmok);
    } else if (kind == ClientReply::GameSetOk) {
        u.gameSet = true;
    } else if (text == kShutDown || text == kHisNone) {
        if (text == kShutDown) u.lobby->send(kGmok);
        if (leaving_) return;  // everyone says goodbye
        const int at = static_cast<int>(&u - users_.data());
        auto e = std::find_if(expected_.begin(), expected_.end(), [&](const Expected& x) {
            return x.user == at && x.text == text && x.metMs < 0;
        });
        if (e == expected_.end()) {
            ++unexpectedNotices_;
            fail(u.id + QStringLiteral(" was told ") + text);
            return;
        }
        e->metMs = now();
        if (e->relogin >= 0) logIn(users_[static_cast<std::size_t>(e->relogin)]);
    } else if (text == lobby::notStartNotice()) {
        ++notStarted_;
    } else if (kind != ClientReply::Gmok) {
        fail(u.id + QStringLiteral(" got ") + text.left(80));
    }
}

bool SoakRun::pairEveryone() {
    for (std::size_t i = 0; i + 1 < 2 * static_cast<std::size_t>(options_.pairs); i += 2) {
        const User& second = users_[i + 1];
        users_[i].lobby->send(
            lobby::challengeRequest(users_[i].id, password(users_[i].number), second.index));
    }
    if (waitFor(
            [this] {
                return std::all_of(users_.begin(), users_.end(), [](const User& u) {
                    return u.role == Role::Watcher || u.battle;
                });
            },
            10000))
        return true;
    fail(QStringLiteral("not every pair was paired"));
    return false;
}

void SoakRun::startProgram(User& u) {
    u.program = new SoakPeer(gamecommon::gameProgramFraming(), server_.port(), this);
    SoakPeer* program = u.program;
    const int at = static_cast<int>(&u - users_.data());
    connect(program, &SoakPeer::connected, this, [this, program, at] {
        const User& user = users_[static_cast<std::size_t>(at)];
        program->send(lobby::gameLoginRequest(user.id, password(user.number),
                                              user.id + QStringLiteral("@example.jp")));
    });
    connect(program, &SoakPeer::closedByPeer, this, [this, program, at] {
        const User& user = users_[static_cast<std::size_t>(at)];
        if (user.program == program && !user.programMayGo && !leaving_)
            fail(user.id + QStringLiteral("'s game program was closed"));
    });
}

bool SoakRun::startPrograms() {
    for (User& u : users_)
        if (u.role != Role::Watcher) startProgram(u);
    if (!waitFor(
            [this] {
                return std::all_of(users_.begin(), users_.end(), [](const User& u) {
                    return u.role == Role::Watcher || u.gameSet;
                });
            },
            10000)) {
        fail(QStringLiteral("not every game program was linked"));
        return false;
    }
    for (User& u : users_) {
        if (u.role != Role::Watcher) continue;
        const User& first = users_[2 * static_cast<std::size_t>(u.game)];
        u.lobby->send(lobby::watchRequest(first.index));
        startProgram(u);
    }
    // The watchers' programs are linked before the first move: nothing tells
    // a watcher's program that it is linked, so they get a moment.
    waitFor(
        [this] {
            return std::all_of(users_.begin(), users_.end(), [](const User& u) {
                return u.role != Role::Watcher || u.program->isConnected();
            });
        },
        5000);
    waitFor([] { return false; }, 1500);
    return true;
}

void SoakRun::poll() {
    const qint64 t = now();
    for (User& u : users_) {
        if (!u.loggedIn || u.stalled || !u.lobby || u.lobby->wasCut()) continue;
        if (t - u.lastPollMs < kPollEveryMs) continue;
        u.lastPollMs = t;
        ++u.pollsOpen;
        ++polls_;
        u.lobby->send(lobby::userListRequest(u.id, password(u.number), u.index));
    }
}

void SoakRun::expect(int user, const QString& text, qint64 deadlineMs, int relogin) {
    expected_.push_back({user, text, now(), deadlineMs, -1, relogin});
}

// A tenth of the connections, each cut at a random moment of the matches:
// players' game programs closed or reset, players' clients closed or reset,
// one player whose machine hangs (neither connection reads or sends any
// more), a watcher's program reset and a watcher's client closed. Each cut
// hits another match, so each match shows what one cut does.
void SoakRun::planCuts() {
    const CutKind playerCuts[] = {CutKind::GameClose, CutKind::GameClose,  CutKind::GameReset,
                                  CutKind::GameReset, CutKind::LobbyClose, CutKind::LobbyReset,
                                  CutKind::Stall};
    std::vector<int> games(static_cast<std::size_t>(options_.pairs));
    for (int g = 0; g < options_.pairs; ++g)
        games[static_cast<std::size_t>(g)] = g;
    std::shuffle(games.begin(), games.end(), random_);
    const qint64 matchMs = options_.seconds * 1000LL - kSetupAndLeaveMs;
    const auto at = [&](qint64 from, qint64 to) {
        return static_cast<int>(from +
                                static_cast<qint64>(random_() % static_cast<quint64>(to - from)));
    };
    std::vector<int> cutGames;
    for (std::size_t i = 0; i < std::size(playerCuts) && i < games.size(); ++i) {
        const int g = games[i];
        cutGames.push_back(g);
        const int user = 2 * g + static_cast<int>(random_() % 2);
        const CutKind kind = playerCuts[i];
        // A client that hangs is dropped at the second minute tick after its
        // last poll: it hangs early enough for that to come within the run.
        const int ms = kind == CutKind::Stall ? at(2000, 30000) : at(2000, matchMs * 6 / 10);
        QTimer::singleShot(
            ms, this, [this, user, kind] { cut(users_[static_cast<std::size_t>(user)], kind); });
    }
    const CutKind watcherCuts[] = {CutKind::WatcherGame, CutKind::WatcherLobby};
    std::size_t next = 0;
    for (std::size_t u = 2 * static_cast<std::size_t>(options_.pairs);
         u < users_.size() && next < std::size(watcherCuts); ++u) {
        if (std::find(cutGames.begin(), cutGames.end(), users_[u].game) != cutGames.end()) continue;
        const CutKind kind = watcherCuts[next++];
        QTimer::singleShot(at(2000, matchMs * 6 / 10), this,
                           [this, u, kind] { cut(users_[u], kind); });
    }
}

void SoakRun::cut(User& u, CutKind kind) {
    const int self = static_cast<int>(&u - users_.data());
    const int opponent = u.role == Role::First ? self + 1 : self - 1;
    SoakGame& game = *games_[static_cast<std::size_t>(u.game)];
    const qint64 prompt = now() + kPromptMs;
    switch (kind) {
        case CutKind::GameClose:
        case CutKind::GameReset:
            // The game waits for the program, which comes back a second
            // later on a new connection, as the game programs do, and plays
            // on: nobody is told "ShutDown".
            u.program->cut(kind == CutKind::GameClose ? SoakPeer::Cut::Close
                                                      : SoakPeer::Cut::Reset);
            cutConnections_ += 1;
            ++gamesCut_;
            QTimer::singleShot(kRejoinAfterMs, this, [this, self] {
                User& back = users_[static_cast<std::size_t>(self)];
                startProgram(back);
                games_[static_cast<std::size_t>(back.game)]->reattach(
                    back.role == Role::First ? SoakGame::A : SoakGame::B, back.program);
            });
            return;
        case CutKind::LobbyClose:
        case CutKind::LobbyReset:
            u.lobby->cut(kind == CutKind::LobbyClose ? SoakPeer::Cut::Close : SoakPeer::Cut::Reset);
            u.loggedIn = false;
            u.programMayGo = true;
            game.stop();
            expect(opponent, kHisNone, prompt, self);
            cutConnections_ += 1;
            return;
        case CutKind::Stall:
            u.lobby->cut(SoakPeer::Cut::Stall);
            u.program->cut(SoakPeer::Cut::Stall);
            u.stalled = true;
            game.stop();
            expect(opponent, kHisNone, u.lastPollMs + kPollTimeoutMs + kPromptMs, self);
            cutConnections_ += 2;
            return;
        case CutKind::WatcherGame:
            game.forgetWatcher(u.program);
            u.program->cut(SoakPeer::Cut::Reset);
            expect(self, kShutDown, prompt);
            cutConnections_ += 1;
            return;
        case CutKind::WatcherLobby:
            game.forgetWatcher(u.program);
            u.lobby->cut(SoakPeer::Cut::Close);
            u.loggedIn = false;
            u.programMayGo = true;
            cutConnections_ += 1;
            // Nobody is told of a watcher; he logs in again once the server
            // has surely seen the close.
            QTimer::singleShot(1000, this,
                               [this, self] { logIn(users_[static_cast<std::size_t>(self)]); });
            return;
    }
}

// Everyone leaves as the programs do at their end: the client says "GameEnd",
// then both connections close.
void SoakRun::leave() {
    leaving_ = true;
    for (User& u : users_) {
        if (u.lobby && u.loggedIn && !u.stalled) u.lobby->send(lobby::logoutRequest(u.id));
    }
    waitFor([] { return false; }, 500);
    for (SoakPeer* peer : findChildren<SoakPeer*>())
        peer->close();
    // The server has seen every close well within this.
    waitFor([] { return false; }, 3000);
}

}  // namespace soak
