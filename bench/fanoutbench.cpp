#include "fanoutbench.h"

#include <QThread>
#include <algorithm>
#include <chrono>

#include "gameframing.h"
#include "lobbyplayers.h"
#include "serverport.h"
#include "serverprocess.h"
#include "shogigame.h"
#include "watchercrowd.h"
#include "wirecodec.h"

using namespace Qt::StringLiterals;

namespace bench {

namespace {

constexpr unsigned kGameSeed = 20261208;
constexpr int kMoveTimeoutMs = 10000;

double microseconds(WatcherCrowd::Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

}  // namespace

FanoutResult runFanoutBench(const FanoutOptions& options) {
    FanoutResult result;
    result.watchers = options.watchers;
    raiseFileLimit();
    ServerProcess brellow;
    result.error = brellow.start(
        options.brellowPath, {u"--headless"_s, u"--web"_s, u"0"_s, u"--archive"_s, u"archive"_s},
        {{u"BrellowLogIn.txt"_s, benchUserFile(2)}});
    if (!result.error.isEmpty()) return result;
    const quint16 webPort = brellow.announcedPort(net::kWebPlace);
    if (webPort == 0) {
        result.error = u"the web front did not tell its port: "_s + brellow.outputTail(5);
        return result;
    }

    LobbyPlayer a{benchUserId(1), 0, nullptr, nullptr};
    LobbyPlayer b{benchUserId(2), 0, nullptr, nullptr};
    for (LobbyPlayer* p : {&a, &b}) {
        result.error = logIn(brellow.port(), *p);
        if (!result.error.isEmpty()) return result;
    }
    result.error = pairAndLink(brellow.port(), a, b);
    if (!result.error.isEmpty()) return result;

    // The server's first game is the archive's first: its stream.
    const qint64 before = brellow.residentKib();
    WatcherCrowd crowd;
    if (!waitUntilServed(webPort, "/api/games/1")) {
        result.error = u"the web front never showed the game"_s;
        return result;
    }
    result.error = crowd.connect(webPort, "/api/games/1/stream", options.watchers);
    if (!result.error.isEmpty()) return result;
    const qint64 after = brellow.residentKib();
    if (before > 0 && after > 0 && options.watchers > 0)
        result.kibPerWatcher = double(after - before) / options.watchers;

    const std::vector<QString> moves = playedMoveMessages(options.moves, kGameSeed);
    for (int k = 0; k < options.moves; ++k) {
        WirePeer& mover = *(k % 2 == 0 ? a.game : b.game);
        WirePeer& other = *(k % 2 == 0 ? b.game : a.game);
        const QByteArray wire = net::encodeMessage(moves[std::size_t(k)]);
        const auto sent = WatcherCrowd::Clock::now();
        if (!mover.send(wire) || !other.expect(wire)) {
            result.error = u"move %1 was not relayed"_s.arg(k + 1);
            return result;
        }
        if (!crowd.waitForMove(k + 1, kMoveTimeoutMs)) {
            result.error = u"move %1 did not reach every watcher within %2 s"_s.arg(k + 1).arg(
                kMoveTimeoutMs / 1000);
            return result;
        }
        auto last = sent;
        for (const auto at : crowd.arrivals(k + 1)) {
            result.delivery.add(microseconds(at - sent));
            last = std::max(last, at);
        }
        result.lastArrival.add(microseconds(last - sent));
    }
    result.dropped = crowd.size() - crowd.connected();
    return result;
}

}  // namespace bench
