#include "pacedgame.h"

#include "lobbykeywords.h"
#include "lobbymessages.h"
#include "shogigame.h"
#include "wirecodec.h"

using namespace Qt::StringLiterals;

namespace bench {

namespace {

constexpr unsigned kGameSeed = 20261209;
// Enough moves for any run: at ten a second, over six minutes.
constexpr int kMaxMoves = 4000;
// The clients poll every five seconds; the server keeps a client far longer.
constexpr auto kPollInterval = std::chrono::seconds(5);

}  // namespace

PacedGame::PacedGame(LobbyPlayer& a, LobbyPlayer& b, std::chrono::milliseconds interval)
    : a_(a), b_(b), interval_(interval) {}

PacedGame::~PacedGame() {
    stop();
}

void PacedGame::start() {
    thread_ = std::thread([this] { play(); });
}

int PacedGame::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    const std::lock_guard lock(mutex_);
    return error_.isEmpty() ? played_ : -1;
}

QString PacedGame::error() const {
    const std::lock_guard lock(mutex_);
    return error_;
}

void PacedGame::play() {
    using Clock = std::chrono::steady_clock;
    const std::vector<QString> moves = playedMoveMessages(kMaxMoves, kGameSeed);
    auto fail = [this](const QString& why) {
        const std::lock_guard lock(mutex_);
        error_ = why;
    };
    Clock::time_point next = Clock::now();
    Clock::time_point nextPoll = next + kPollInterval;
    for (int k = 0; k < kMaxMoves && !stop_; ++k) {
        std::this_thread::sleep_until(next);
        next += interval_;
        WirePeer& mover = *(k % 2 == 0 ? a_.game : b_.game);
        WirePeer& other = *(k % 2 == 0 ? b_.game : a_.game);
        const QByteArray wire = net::encodeMessage(moves[std::size_t(k)]);
        if (!mover.send(wire) || !other.expect(wire))
            return fail(u"move %1 of the watched game was not relayed"_s.arg(k + 1));
        played_ = k + 1;
        if (Clock::now() < nextPoll) continue;
        nextPoll += kPollInterval;
        for (LobbyPlayer* p : {&a_, &b_}) {
            p->lobby->send(
                lobby::userListRequest(p->id, QString::fromUtf16(kBenchPassword), p->index));
            if (!p->lobby->nextStartingWith(lobby::kUserListKeyword.toString() + u'|'))
                return fail(u"the watched game's players got no user list"_s);
        }
    }
}

}  // namespace bench
