#include "capacitybench.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <vector>

#include "gamekeywords.h"
#include "lobbyclassify.h"
#include "lobbymessages.h"
#include "lobbyplayers.h"
#include "serverprocess.h"
#include "shogigame.h"
#include "userlist.h"
#include "wirecodec.h"

using namespace Qt::StringLiterals;

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr unsigned kGameSeed = 19990402;
// How long the last moves, acknowledgements and lists may take to come in
// once the load has stopped.
constexpr milliseconds kDrain{3000};

struct Pair {
    Clock::time_point nextMove;
    long long sent = 0;  // moves sent so far; move k came from side k % 2
};

struct User {
    int pair = 0;
    int side = 0;                // 0 moves first
    long long received = 0;      // moves received
    long long acksReceived = 0;  // acknowledgements of his own moves
    Clock::time_point nextPoll;
    std::deque<Clock::time_point> polls;  // sent and not answered, oldest first
};

}  // namespace

CapacityResult runCapacityBench(const CapacityOptions& options) {
    CapacityResult result;
    const int userCount = options.pairs * 2;
    const milliseconds moveEvery{options.moveEveryMs};
    const milliseconds pollEvery{options.pollEveryMs};
    const long long movesPerPair = options.seconds * 1000LL / options.moveEveryMs + 2;

    std::vector<QString> moveTexts = playedMoveMessages(static_cast<int>(movesPerPair), kGameSeed);
    std::vector<QByteArray> moveBytes;
    for (const QString& move : moveTexts)
        moveBytes.push_back(net::encodeMessage(move));
    const QString ackText = gamecommon::kAckMsg.toString();
    const QByteArray ackBytes = net::encodeMessage(ackText);

    ServerProcess brellow;
    result.error = brellow.start(options.brellowPath, {u"--headless"_s},
                                 {{u"BrellowLogIn.txt"_s, benchUserFile(userCount)}});
    if (!result.error.isEmpty()) return result;

    std::vector<LobbyPlayer> players(static_cast<std::size_t>(userCount));
    for (int u = 0; u < userCount; ++u) {
        players[u].id = benchUserId(u + 1);
        result.error = logIn(brellow.port(), players[u]);
        if (!result.error.isEmpty()) return result;
    }
    for (int p = 0; p < options.pairs; ++p) {
        result.error = pairAndLink(brellow.port(), players[2 * p], players[2 * p + 1]);
        if (!result.error.isEmpty()) return result;
    }
    std::vector<QByteArray> pollBytes;
    for (const LobbyPlayer& player : players) {
        bool alive = true;
        player.lobby->takeArrived(alive);  // what the set-up left
        pollBytes.push_back(net::encodeMessage(
            lobby::userListRequest(player.id, QString::fromUtf16(kBenchPassword), player.index)));
    }

    // The load starts spread over one interval, as users who came at
    // different times would send it.
    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::seconds(options.seconds);
    std::vector<Pair> pairs(static_cast<std::size_t>(options.pairs));
    for (int p = 0; p < options.pairs; ++p)
        pairs[p].nextMove = start + moveEvery * p / options.pairs;
    std::vector<User> users(static_cast<std::size_t>(userCount));
    for (int u = 0; u < userCount; ++u) {
        users[u].pair = u / 2;
        users[u].side = u % 2;
        users[u].nextPoll = start + pollEvery * u / userCount;
    }
    std::vector<pollfd> fds;
    for (const LobbyPlayer& player : players) {
        fds.push_back({player.lobby->fd(), POLLIN, 0});
        fds.push_back({player.game->fd(), POLLIN, 0});
    }
    const double cpuAtStart = brellow.cpuSeconds();
    double cpuAtEnd = 0;
    bool loading = true;

    auto outstanding = [&] {
        for (int p = 0; p < options.pairs; ++p) {
            const User& first = users[2 * p];
            const User& second = users[2 * p + 1];
            if (first.received + second.received < pairs[p].sent) return true;
        }
        for (const User& user : users)
            if (!user.polls.empty()) return true;
        return false;
    };

    for (;;) {
        Clock::time_point now = Clock::now();
        if (loading && now >= end) {
            loading = false;
            cpuAtEnd = brellow.cpuSeconds();
            result.seconds = std::chrono::duration<double>(now - start).count();
        }
        if (!loading && (!outstanding() || now >= end + kDrain)) break;

        Clock::time_point wake = end + kDrain;
        if (loading) {
            for (int p = 0; p < options.pairs; ++p) {
                Pair& pair = pairs[p];
                while (pair.nextMove <= now) {
                    const int side = static_cast<int>(pair.sent % 2);
                    players[2 * p + side].game->send(
                        moveBytes[static_cast<std::size_t>(pair.sent) % moveBytes.size()]);
                    ++pair.sent;
                    ++result.movesSent;
                    ++result.messages;
                    pair.nextMove += moveEvery;
                }
                wake = std::min(wake, pair.nextMove);
            }
            for (int u = 0; u < userCount; ++u) {
                User& user = users[u];
                while (user.nextPoll <= now) {
                    players[u].lobby->send(pollBytes[u]);
                    user.polls.push_back(Clock::now());
                    ++result.messages;
                    user.nextPoll += pollEvery;
                }
                wake = std::min(wake, user.nextPoll);
            }
            wake = std::min(wake, end);
        }
        const auto waitMs = std::chrono::ceil<milliseconds>(wake - Clock::now()).count();
        if (::poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(waitMs, 0))) < 0)
            continue;

        for (std::size_t f = 0; f < fds.size(); ++f) {
            if (fds[f].revents == 0) continue;
            const int u = static_cast<int>(f / 2);
            const bool isGame = f % 2 == 1;
            User& user = users[u];
            LobbyPlayer& player = players[u];
            bool alive = true;
            const std::vector<QString> messages =
                (isGame ? player.game : player.lobby)->takeArrived(alive);
            now = Clock::now();
            for (const QString& message : messages) {
                if (!isGame) {
                    if (lobby::classifyClientMessage(message) != lobby::ClientReply::AddFriends ||
                        user.polls.empty())
                        continue;
                    result.userListReplies.add(
                        std::chrono::duration<double, std::micro>(now - user.polls.front())
                            .count());
                    user.polls.pop_front();
                    const auto list = lobby::parseUserList(message);
                    if (!list || static_cast<int>(list->size()) != userCount) ++result.listsShort;
                } else if (message == ackText) {
                    ++user.acksReceived;
                } else {
                    // Move k came from side k % 2: this side gets every
                    // other one, starting with its opponent's first.
                    const long long k = 2 * user.received + (user.side == 0 ? 1 : 0);
                    ++user.received;
                    const bool due =
                        k < pairs[user.pair].sent &&
                        message == moveTexts[static_cast<std::size_t>(k) % moveTexts.size()];
                    ++(due ? result.movesInOrder : result.movesWrong);
                    player.game->send(ackBytes);
                    if (loading) ++result.messages;
                }
            }
            if (!alive) {
                result.error = player.id + (isGame ? u": the server closed the game program"_s
                                                   : u": the server closed the lobby client"_s);
                return result;
            }
        }
    }

    result.serverCpuSeconds = cpuAtEnd - cpuAtStart;
    result.residentKib = brellow.residentKib();
    result.peakResidentKib = brellow.peakResidentKib();
    long long acks = 0;
    for (const User& user : users)
        acks += user.acksReceived;
    result.acksMissing = result.movesSent - acks;
    return result;
}

}  // namespace bench
