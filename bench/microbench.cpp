// The micro benchmarks: the work behind the programs' busiest moments, each
// on the code the programs run. Every benchmark checks its own result, so a
// fast wrong answer cannot pass for a fast right one.

#include <benchmark/benchmark.h>

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "gamekeywords.h"
#include "gamemessage.h"
#include "gorules/capture.h"
#include "lobbyframing.h"
#include "lobbymessages.h"
#include "lobbyplayers.h"
#include "lobbyserver.h"
#include "messageframer.h"
#include "shogigame.h"
#include "shogirules/board.h"
#include "shogirules/moverules.h"
#include "textfile.h"
#include "webservice.h"
#include "wirecodec.h"

using namespace Qt::StringLiterals;

namespace bench {

namespace {

constexpr unsigned kPositionSeed = 7;
constexpr int kPositionCount = 40;
constexpr long long kPerft4 = 719731;
// Long enough for steady figures, short enough that `make bench` stays quick.
constexpr double kMinSeconds = 0.2;

// ---- shogi rules ----

// Every (from, to) pair of every own piece, and every hand piece on every
// cell, through the rules' legal-move and drop tests.
void ShogiLegalMoveTests(benchmark::State& state) {
    const std::vector<shogi::ShogiPosition> positions =
        playedPositions(kPositionCount, kPositionSeed);
    long long tests = 0;
    for (auto _ : state) {
        long long legal = 0;
        for (const shogi::ShogiPosition& p : positions) {
            for (int from = 0; from < shogi::kCellCount; ++from) {
                const shogi::Cell piece = p.Ban.atNumber(from);
                if (!piece.isOwnPiece()) continue;
                const shogi::Square f = shogi::Square::fromCellNumber(from);
                for (int to = 0; to < shogi::kCellCount; ++to) {
                    legal +=
                        IsLegalMove(p.Ban, shogi::Square::fromCellNumber(to), f, piece, nullptr);
                    ++tests;
                }
            }
            for (const shogi::HandEntry& e : p.MyHand.entries) {
                if (e.count <= 0) continue;
                for (int to = 0; to < shogi::kCellCount; ++to) {
                    const shogi::Square t = shogi::Square::fromCellNumber(to);
                    if (!p.Ban.at(t).isEmpty()) continue;
                    legal += IsLegalDrop(p.Ban, t, shogi::Cell::own(e.code), nullptr);
                    ++tests;
                }
            }
        }
        if (legal == 0) state.SkipWithError("no legal move found");
        benchmark::DoNotOptimize(legal);
    }
    state.SetItemsProcessed(tests);
    state.SetLabel("tests");
}
BENCHMARK(ShogiLegalMoveTests)
    ->Name("shogi: legal-move test of every move, 40 positions")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(kMinSeconds);

void ShogiPerft4(benchmark::State& state) {
    long long nodes = 0;
    for (auto _ : state) {
        const long long count = perft(shogi::ShogiPosition{}, 4);
        if (count != kPerft4) state.SkipWithError("perft 4 gave a wrong count");
        nodes += count;
    }
    state.SetItemsProcessed(nodes);
    state.SetLabel("positions");
}
// Seconds per run: one run says enough.
BENCHMARK(ShogiPerft4)
    ->Name("shogi: perft 4 from the start")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// ---- framing ----

// A mixed stream of what the server receives: moves, acknowledgements, polls,
// game chat without an end of its own, lobby chat and its acknowledgement.
QByteArray mixedStream(qsizetype atLeastBytes, int& messageCount) {
    const std::vector<QString> moves = playedMoveMessages(kPositionCount, kPositionSeed);
    const QStringList others = {
        gamecommon::kAckMsg.toString(),
        lobby::userListRequest(u"bench01"_s, u"pw"_s, 1),
        gamecommon::chatMsg(u"よろしくお願いします。"_s),
        lobby::chatMessage(u"bench01"_s, u"次の手を考えています"_s),
        lobby::chatAck(),
    };
    QByteArray stream;
    messageCount = 0;
    for (std::size_t k = 0; stream.size() < atLeastBytes; ++k) {
        stream += net::encodeMessage(moves[k % moves.size()]);
        stream += net::encodeMessage(others[static_cast<qsizetype>(k) % others.size()]);
        messageCount += 2;
    }
    return stream;
}

void FramerMixedStream(benchmark::State& state) {
    int expected = 0;
    const QByteArray stream = mixedStream(1024 * 1024, expected);
    const net::FramingRules rules = lobby::lobbyServerFraming();
    constexpr qsizetype kPiece = 4096;  // what the socket layer takes at a time
    for (auto _ : state) {
        net::MessageFramer framer(rules);
        qsizetype messages = 0;
        for (qsizetype at = 0; at < stream.size(); at += kPiece)
            messages +=
                framer.feed(QByteArrayView(stream).sliced(at, std::min(kPiece, stream.size() - at)))
                    .messages.size();
        messages += framer.flush().messages.size();
        if (messages != expected) state.SkipWithError("the framer found other messages");
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
    state.SetItemsProcessed(state.iterations() * expected);
    state.SetLabel("messages");
}
BENCHMARK(FramerMixedStream)
    ->Name("framer: 1 MiB of mixed messages in 4 KiB pieces")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(kMinSeconds);

// ---- the server core ----

// The server core with fifty users logged in, on a transport that only
// counts what it would send, and reporting what `Brellow --headless` logs.
class LoadedCore : private lobby::ServerTransport {
public:
    explicit LoadedCore(int users) {
        server_.setMessageReports(false);
        platform::writeTextLines(QDir(folder_.path()).filePath(u"BrellowLogIn.txt"_s),
                                 benchUserFile(users));
        for (int u = 1; u <= users; ++u) {
            server_.acceptConnection(u, u"127.0.0.1"_s, 40000);
            server_.receiveMessage(u, lobby::loginRequest(benchUserId(u), u"pw"_s,
                                                          benchUserId(u) + u"@example.jp"_s, 0));
        }
    }
    // Pairs users 1 and 2 and links game programs 1001 and 1002 to them.
    void linkFirstPair() {
        server_.receiveMessage(1, lobby::challengeRequest(benchUserId(1), u"pw"_s, 2));
        for (int u = 1; u <= 2; ++u) {
            server_.acceptConnection(1000 + u, u"127.0.0.1"_s, 40000);
            server_.receiveMessage(1000 + u,
                                   lobby::gameLoginRequest(benchUserId(u), u"pw"_s,
                                                           benchUserId(u) + u"@example.jp"_s));
        }
    }
    lobby::LobbyServer& server() { return server_; }
    qint64 sentChars = 0;
    int sentTo = 0;

private:
    void send(lobby::SocketHandle socket, const QString& text) override {
        sentTo = socket;
        sentChars += text.size();
    }
    void close(lobby::SocketHandle) override {}

    QTemporaryDir folder_;
    lobby::LobbyServer server_{*this, folder_.path(), [] { return qint64{0}; }};
};

void UserListReply(benchmark::State& state) {
    LoadedCore core(50);
    const QString poll = lobby::userListRequest(benchUserId(1), u"pw"_s, 1);
    for (auto _ : state) {
        core.sentChars = 0;
        core.server().receiveMessage(1, poll);
        // Fifty users of seven-character IDs: 50 records of at least 20.
        if (core.sentChars < 50 * 20) state.SkipWithError("the list does not hold fifty users");
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("lists");
}
BENCHMARK(UserListReply)
    ->Name("server: user-list reply for 50 users")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(kMinSeconds);

void MoveRelay(benchmark::State& state) {
    LoadedCore core(50);
    core.linkFirstPair();
    const QString move = playedMoveMessages(1, kPositionSeed).front();
    for (auto _ : state) {
        core.sentTo = 0;
        core.server().receiveMessage(1001, move);
        if (core.sentTo != 1002) state.SkipWithError("the move was not relayed");
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("moves");
}
BENCHMARK(MoveRelay)
    ->Name("server: one move relayed to the opponent")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(kMinSeconds);

// ---- web front ----

// A game played as fast as the network allows, as the web front takes it
// from the server: each move and its acknowledgement, 25 of them a hand-over,
// kept in the archive (nobody watches, so no event is made).
void WebFrontMoves(benchmark::State& state) {
    QTemporaryDir dir;
    webfront::WebSettings settings;
    settings.archiveFolder = dir.filePath(u"archive"_s);
    settings.siteFolder = dir.path();
    webfront::WebService service(settings);
    if (const QString error = service.open(); !error.isEmpty()) {
        state.SkipWithError(error.toStdString().c_str());
        return;
    }
    const std::vector<QString> moves = playedMoveMessages(2000, kPositionSeed);
    const QString ack = gamecommon::kAckMsg.toString();
    const QString players[] = {benchUserId(1), benchUserId(2)};
    quint64 number = 0;
    std::size_t k = moves.size();
    long long taken = 0;
    for (auto _ : state) {
        if (k == moves.size()) {
            if (number > 0) service.gameEnded(number, lobby::GameEndCause::PlayerLeft);
            service.gameBegan(++number, 0, players[0], players[1]);
            k = 0;
        }
        service.holdEvents();
        for (int i = 0; i < 25 && k < moves.size(); ++i, ++k, ++taken) {
            service.gameRelayed(number, players[k % 2], moves[k]);
            service.gameRelayed(number, players[(k + 1) % 2], ack);
        }
        service.releaseEvents();
    }
    if (!QFileInfo::exists(dir.filePath(u"archive/1.game"_s)) && number > 0)
        state.SkipWithError("the game was not kept");
    state.SetItemsProcessed(taken);
    state.SetLabel("moves");
}
BENCHMARK(WebFrontMoves)
    ->Name("web front: 25 moves of a fast game taken and kept")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(kMinSeconds);

// ---- go capture ----

go::Ban filled(const std::function<go::Stone(int x, int y)>& stoneAt, go::Point empty) {
    go::Ban ban;
    for (int y = 0; y < go::kBoardSize; ++y)
        for (int x = 0; x < go::kBoardSize; ++x)
            ban.set({x, y}, stoneAt(x, y));
    ban.set(empty, go::Stone::Empty);
    return ban;
}

// White in a one-stone-wide snake through every other row, black around it.
go::Stone snakeAt(int x, int y) {
    const bool white = y % 2 == 0 || x == (y % 4 == 1 ? go::kLastLine : 0);
    return white ? go::Stone::White : go::Stone::Black;
}

// White everywhere but 25 single black stones the search walks around.
go::Stone seaAt(int x, int y) {
    return x % 4 == 1 && y % 4 == 1 ? go::Stone::Black : go::Stone::White;
}

// Black plays `move` on `ban`; the capture must take `captured` stones.
void GoCapture(benchmark::State& state, go::Ban ban, go::Point move, int captured) {
    ban.set(move, go::Stone::Black);
    for (auto _ : state) {
        go::Ban board = ban;
        qint32 taken = 0;
        go::CaptureSearch(board).CheckCapture(move, go::Stone::Black, taken);
        if (taken != captured) state.SkipWithError("the capture took another count");
        benchmark::DoNotOptimize(board);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("placements");
}

const go::Point kLast{go::kLastLine, go::kLastLine};

BENCHMARK_CAPTURE(GoCapture, snake, filled(snakeAt, {0, 18}), go::Point{0, 18}, 198)
    ->Name("go: capture of a 198-stone snake")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(kMinSeconds);
BENCHMARK_CAPTURE(
    GoCapture, snakeLiberty,
    [] {
        go::Ban ban = filled(snakeAt, {0, 18});
        ban.set({0, 0}, go::Stone::Empty);
        return ban;
    }(),
    go::Point{0, 18}, 0)
    ->Name("go: a 197-stone snake kept by its far end")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(kMinSeconds);
BENCHMARK_CAPTURE(GoCapture, sea, filled(seaAt, kLast), kLast, 335)
    ->Name("go: capture of a 335-stone group around 25 stones")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(kMinSeconds);
BENCHMARK_CAPTURE(
    GoCapture, seaLiberty,
    [] {
        go::Ban ban = filled(seaAt, kLast);
        ban.set({0, 0}, go::Stone::Empty);
        return ban;
    }(),
    kLast, 0)
    ->Name("go: a 334-stone group kept by its far corner")
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(kMinSeconds);

}  // namespace

}  // namespace bench
