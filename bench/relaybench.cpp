#include "relaybench.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "gameframing.h"
#include "gamekeywords.h"
#include "lobbykeywords.h"
#include "lobbymessages.h"
#include "lobbyplayers.h"
#include "pacedgame.h"
#include "serverport.h"
#include "serverprocess.h"
#include "shogigame.h"
#include "watchercrowd.h"
#include "wirecodec.h"

using namespace Qt::StringLiterals;

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kGameSeed = 20240611;
constexpr int kWarmUpRoundTrips = 500;
constexpr int kLastMoveTimeoutMs = 5000;

double microsecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// The two game programs of a match, through one relay or the other.
struct GameLink {
    WirePeer* first = nullptr;
    WirePeer* second = nullptr;
    WirePeer& side(int k) const { return k % 2 == 0 ? *first : *second; }
};

struct Traffic {
    std::vector<QByteArray> moves;  // real move messages, on the wire
    QByteArray ack;
};

// Round trips `from` .. `from + count`, the two sides moving in turn: the move
// goes out, the other side takes it whole and acknowledges it, the mover takes
// the acknowledgement. False when anything else arrived.
bool roundTrips(const GameLink& link, const Traffic& traffic, int from, int count,
                Latencies* latencies) {
    for (int k = from; k < from + count; ++k) {
        WirePeer& mover = link.side(k);
        WirePeer& other = link.side(k + 1);
        const QByteArray& move = traffic.moves[static_cast<std::size_t>(k) % traffic.moves.size()];
        const Clock::time_point start = Clock::now();
        if (!mover.send(move) || !other.expect(move) || !other.send(traffic.ack) ||
            !mover.expect(traffic.ack))
            return false;
        if (latencies) latencies->add(microsecondsSince(start));
    }
    return true;
}

// A game of `count` moves played as the game programs play it: whoever
// receives a move acknowledges it and sends his answer right after, so the
// relay writes two messages to the same peer back to back. Each move's
// one-way latency is taken.
bool turnTaking(const GameLink& link, const Traffic& traffic, int count, Latencies& latencies) {
    Clock::time_point sent = Clock::now();
    if (!link.side(0).send(traffic.moves[0])) return false;
    for (int k = 0; k < count; ++k) {
        WirePeer& mover = link.side(k);
        WirePeer& other = link.side(k + 1);
        const QByteArray& move = traffic.moves[static_cast<std::size_t>(k) % traffic.moves.size()];
        if (!other.expect(move)) return false;
        latencies.add(microsecondsSince(sent));
        if (!other.send(traffic.ack)) return false;
        if (k + 1 < count) {
            sent = Clock::now();
            const QByteArray& answer =
                traffic.moves[static_cast<std::size_t>(k + 1) % traffic.moves.size()];
            if (!other.send(answer)) return false;
        }
        if (!mover.expect(traffic.ack)) return false;
    }
    return true;
}

// A poll from each client between rounds, as the clients poll every five
// seconds, so that the server keeps them however long the run takes.
bool keepAlive(LobbyPlayer& a, LobbyPlayer& b) {
    for (LobbyPlayer* p : {&a, &b}) {
        p->lobby->send(lobby::userListRequest(p->id, QString::fromUtf16(kBenchPassword), p->index));
        if (!p->lobby->nextStartingWith(lobby::kUserListKeyword.toString() + u'|')) return false;
    }
    return true;
}

}  // namespace

RelayResult runRelayBench(const RelayOptions& options) {
    RelayResult result;
    Traffic traffic;
    for (const QString& move : playedMoveMessages(std::max(options.turns, 200), kGameSeed))
        traffic.moves.push_back(net::encodeMessage(move));
    traffic.ack = net::encodeMessage(gamecommon::kAckMsg);

    ServerProcess brellow;
    QStringList arguments = {u"--headless"_s};
    const bool web = options.webWatchers > 0;
    if (web) arguments << u"--web"_s << u"0"_s << u"--archive"_s << u"archive"_s;
    result.error =
        brellow.start(options.brellowPath, arguments, {{u"BrellowLogIn.txt"_s, benchUserFile(4)}});
    if (!result.error.isEmpty()) return result;
    const quint16 webPort = web ? brellow.announcedPort(net::kWebPlace) : 0;
    if (web && webPort == 0) {
        result.error = u"the web front did not tell its port: "_s + brellow.outputTail(5);
        return result;
    }
    // Two pairs: the measured one (the server's first game), and with the
    // web front a second whose game the watchers follow.
    LobbyPlayer a{benchUserId(1), 0, nullptr, nullptr};
    LobbyPlayer b{benchUserId(2), 0, nullptr, nullptr};
    LobbyPlayer c{benchUserId(3), 0, nullptr, nullptr};
    LobbyPlayer d{benchUserId(4), 0, nullptr, nullptr};
    std::vector<std::pair<LobbyPlayer*, LobbyPlayer*>> pairs = {{&a, &b}};
    if (web) pairs.push_back({&c, &d});
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        auto [first, second] = pairs[k];
        for (LobbyPlayer* p : {first, second}) {
            result.error = logIn(brellow.port(), *p);
            if (!result.error.isEmpty()) return result;
        }
        result.error = pairAndLink(brellow.port(), *first, *second);
        if (!result.error.isEmpty()) return result;
        if (web && !waitUntilServed(webPort, "/api/games/" + QByteArray::number(k + 1))) {
            result.error = u"the web front never showed game %1"_s.arg(k + 1);
            return result;
        }
    }
    // The watchers follow the second game throughout, read as browsers read,
    // while its players move at a steady pace (the measured pair's thousands
    // of moves a second could reach no crowd: a watcher that falls behind is
    // dropped). The measured game is kept in the archive as any other.
    WatcherCrowd crowd;
    PacedGame watched(c, d, std::chrono::milliseconds(std::max(options.watchedMoveMs, 1)));
    if (web) {
        raiseFileLimit();
        result.error = crowd.connect(webPort, "/api/games/2/stream", options.webWatchers);
        if (!result.error.isEmpty()) return result;
        crowd.readInBackground();
        result.webWatchers = options.webWatchers;
        result.watchedMoveMs = options.watchedMoveMs;
        watched.start();
    }

    ServerProcess bare;
    result.error = bare.start(options.bareRelayPath, {});
    if (!result.error.isEmpty()) return result;
    WirePeer bareFirst(bare.port(), gamecommon::gameProgramFraming());
    WirePeer bareSecond(bare.port(), gamecommon::gameProgramFraming());
    if (!bareFirst.ok() || !bareSecond.ok()) {
        result.error = u"cannot connect to the bare relay"_s;
        return result;
    }

    const GameLink throughBrellow{a.game.get(), b.game.get()};
    const GameLink throughBare{&bareFirst, &bareSecond};
    struct Relay {
        const char* name;
        const GameLink& link;
        Latencies& roundTripLatencies;
        Latencies& turnLatencies;
    };
    const Relay relays[] = {
        {"Brellow", throughBrellow, result.brellowRoundTrips, result.brellowTurns},
        {"the bare relay", throughBare, result.bareRoundTrips, result.bareTurns},
    };

    for (const Relay& relay : relays) {
        if (!roundTrips(relay.link, traffic, 0, kWarmUpRoundTrips, nullptr)) {
            result.error = u"a warm-up round trip through %1 failed"_s.arg(relay.name);
            return result;
        }
    }
    double brellowCpuAtStart = brellow.cpuSeconds();
    const double bareCpuAtStart = bare.cpuSeconds();
    const int rounds = std::max(options.rounds, 1);
    const int perRound = options.roundTrips / rounds;
    const int turnsPerRound = std::max(options.turns / rounds, 2);
    for (int round = 0; round < rounds; ++round) {
        // Who goes first changes every round, so neither always follows the
        // other's traffic.
        for (int i = 0; i < 2; ++i) {
            const Relay& relay = relays[(round + i) % 2];
            if (!roundTrips(relay.link, traffic, round * perRound, perRound,
                            &relay.roundTripLatencies)) {
                result.error = u"a round trip through %1 failed"_s.arg(relay.name);
                return result;
            }
            if (!turnTaking(relay.link, traffic, turnsPerRound, relay.turnLatencies)) {
                result.error = u"a turn-taking move through %1 failed"_s.arg(relay.name);
                return result;
            }
        }
        // A move and its acknowledgement per round trip and per turn.
        result.messages += 2 * (perRound + turnsPerRound);
        const double brellowCpu = brellow.cpuSeconds();
        if (!keepAlive(a, b)) {
            result.error = u"Brellow stopped answering the user-list poll"_s;
            return result;
        }
        // The polls are not part of the relay's work.
        result.brellowCpuSeconds += brellowCpu - brellowCpuAtStart;
        brellowCpuAtStart = brellow.cpuSeconds();
    }
    result.bareCpuSeconds = bare.cpuSeconds() - bareCpuAtStart;
    if (web) {
        result.watchedMoves = watched.stop();
        if (result.watchedMoves < 0) {
            result.error = watched.error();
            return result;
        }
        crowd.stopReading();
        crowd.waitForMove(result.watchedMoves, kLastMoveTimeoutMs);
        result.webWatchersAtEnd = crowd.sawEveryMove(result.watchedMoves);
    }
    return result;
}

}  // namespace bench
