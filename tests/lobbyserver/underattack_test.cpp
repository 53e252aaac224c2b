// The real server, `Brellow --headless`, under the traffic of peers that mean
// it harm: floods, bursts of connects, and what they leave in its log.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <vector>

#include "blockingpeer.h"
#include "brellowprocess.h"
#include "rawclient.h"

namespace lobbytest {
namespace {

using testsupport::BrellowProcess;

QStringList numberedUsers(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QString("%1,u%1,p%1,m%1,x").arg(i);
    return lines;
}

QString loginOf(int user) {
    return QString("SVMSG_LOGIN|u%1,p%1,m%1, 0|END").arg(user);
}

// A well-behaved user: logs in, polls once and logs out. The milliseconds the
// slower of the two answers took, or -1 when one did not come within 5 s or
// was not the one expected.
qint64 wellBehavedVisit(quint16 port, int user) {
    RawClient c(port);
    if (!c.connected()) return -1;
    const auto answer = [&](const QString& start) {
        if (!waitUntil([&] { return c.pending().endsWith("|END"); }, 5000)) return false;
        const QString got = c.pending();
        c.next(got);
        return got.startsWith(start);
    };
    QElapsedTimer clock;
    clock.start();
    c.send(loginOf(user));
    if (!answer("LOGIN|OK|")) return -1;
    qint64 slowest = clock.restart();
    c.send(QString("GetGameData|u%1|p%1|1|END").arg(user));
    if (!answer("AddFriends|")) return -1;
    slowest = std::max(slowest, clock.elapsed());
    c.send(QString("GameEnd|u%1|END").arg(user));
    return slowest;
}

// Whatever one peer sends, and however fast, the server's memory stays
// bounded and the other users are answered at once: the flood waits in the
// flooder's own connection, read only as fast as it is handled.
TEST(UnderAttack, AFloodNeitherGrowsTheServerNorHoldsUpTheOthers) {
    constexpr int kFloodMs = 3000;
    constexpr qint64 kAnswerMs = 2000;
    constexpr qint64 kGrowthKib = 64 * 1024;
    struct Flood {
        const char* what;
        // Readies the flooder (and whoever it needs) and returns what it sends.
        std::function<QString(BlockingPeer& flooder, BlockingPeer& opponent)> ready;
    };
    const Flood floods[] = {
        {"a connection that never logs in",
         [](BlockingPeer&, BlockingPeer&) { return QString("GMOK|END"); }},
        {"a logged-in user",
         [](BlockingPeer& flooder, BlockingPeer&) {
             flooder.send(loginOf(40));
             EXPECT_TRUE(flooder.receiveMessage(5000).startsWith("LOGIN|OK|"));
             return QString("GMOK|受信しました。| 0|END");
         }},
        {"a paired player's chat",
         [](BlockingPeer& flooder, BlockingPeer& opponent) {
             flooder.send(loginOf(40));
             EXPECT_TRUE(flooder.receiveMessage(5000).startsWith("LOGIN|OK|"));
             opponent.send(loginOf(41));
             const QString reply = opponent.receiveMessage(5000);  // "LOGIN|OK| 2|END"
             EXPECT_TRUE(reply.startsWith("LOGIN|OK|"));
             flooder.send("GameStart|u40|p40|" + reply.mid(9).chopped(4).trimmed() + "|END");
             EXPECT_TRUE(flooder.receiveMessage(5000).startsWith("GameMsg|Battle|u41|"));
             opponent.drain();
             return "GameMsg|u40>" + QString(200, u'荒') + "| 0|END";
         }},
    };
    for (const Flood& f : floods) {
        SCOPED_TRACE(f.what);
        BrellowProcess server(numberedUsers(41));
        ASSERT_TRUE(server.start()) << server.errors().toStdString();
        ASSERT_GE(wellBehavedVisit(server.port, 1), 0);
        const qint64 before = server.residentKib();

        BlockingPeer flooder(server.port);
        BlockingPeer opponent(server.port);
        ASSERT_TRUE(flooder.connected() && opponent.connected());
        flooder.flood(f.ready(flooder, opponent));
        QElapsedTimer flooding;
        flooding.start();
        for (int user = 2; flooding.elapsed() < kFloodMs; ++user) {
            const qint64 took = wellBehavedVisit(server.port, user);
            EXPECT_GE(took, 0) << "user " << user;
            EXPECT_LE(took, kAnswerMs) << "user " << user;
            QTest::qWait(200);  // users come one after another, not all at once
        }
        const qint64 peak = server.peakResidentKib();
        flooder.stop();
        opponent.stop();
        EXPECT_GT(flooder.bytesSent(), 1024 * 1024);  // it did flood
        EXPECT_LT(peak - before, kGrowthKib) << before << " KiB before, " << peak << " KiB at most";
    }
}

// Of a thousand connects at once, every one is answered or closed within
// seconds: none is left hanging in a full listen queue.
TEST(UnderAttack, ABurstOfAThousandConnectsIsAnsweredOrClosed) {
    constexpr int kBurst = 1000;
    constexpr int kDeadlineMs = 8000;
    BrellowProcess server(numberedUsers(kBurst + 1));
    ASSERT_TRUE(server.start()) << server.errors().toStdString();

    struct Peer {
        int fd = -1;
        bool sent = false;
        bool heard = false;
    };
    std::vector<Peer> peers(kBurst);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(server.port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (Peer& p : peers) {
        p.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ASSERT_GE(p.fd, 0);
        ::connect(p.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    QElapsedTimer clock;
    clock.start();
    int unheard = kBurst;
    while (unheard > 0 && clock.elapsed() < kDeadlineMs) {
        std::vector<pollfd> waiting;
        std::vector<int> which;
        for (int i = 0; i < kBurst; ++i) {
            if (peers[i].heard) continue;
            waiting.push_back({peers[i].fd, short(peers[i].sent ? POLLIN : POLLOUT), 0});
            which.push_back(i);
        }
        if (::poll(waiting.data(), waiting.size(), 100) <= 0) continue;
        for (std::size_t k = 0; k < waiting.size(); ++k) {
            Peer& p = peers[which[k]];
            if (waiting[k].revents & (POLLERR | POLLHUP | POLLIN)) {
                if (!p.sent && !(waiting[k].revents & (POLLERR | POLLHUP))) continue;
                p.heard = true;  // an answer, a close or a reset
                --unheard;
            } else if (waiting[k].revents & POLLOUT) {
                const QString login = loginOf(which[k] + 1);
                ::send(p.fd, login.utf16(), login.size() * 2, MSG_NOSIGNAL);
                p.sent = true;
            }
        }
    }
    for (const Peer& p : peers)
        ::close(p.fd);
    EXPECT_EQ(unheard, 0) << "after " << clock.elapsed() << " ms";
    // And it goes on serving, once the slots the burst took are free again.
    EXPECT_TRUE(waitUntil([&] { return wellBehavedVisit(server.port, kBurst + 1) >= 0; }, 10000));
}

// The log keeps what happened to the lobby, and never a password: not of a
// login, a poll, a challenge, a game login or a wrong guess. A peer's control
// characters are spelt out. Polls and moves are traffic, written only with
// --verbose, and masked there too.
TEST(UnderAttack, TheLogHoldsNoPasswordAndNoRawControlCharacter) {
    for (const bool verbose : {false, true}) {
        SCOPED_TRACE(verbose ? "--verbose" : "default");
        BrellowProcess server(
            {"1,taro,Secret-1,taro@example.jp,x", "2,hana,Secret-2,hana@example.jp,x"});
        ASSERT_TRUE(server.start(verbose ? QStringList{"--verbose"} : QStringList{}));
        RawClient taro(server.port);
        RawClient hana(server.port);
        ASSERT_TRUE(taro.connected() && hana.connected());
        taro.send("SVMSG_LOGIN|taro,Secret-1,taro@example.jp, 0|END");
        ASSERT_TRUE(taro.next("LOGIN|OK| 1|END"));
        hana.send("SVMSG_LOGIN|hana,Secret-2,hana@example.jp, 0|END");
        ASSERT_TRUE(hana.next("LOGIN|OK| 2|END"));
        for (int i = 0; i < 3; ++i) {
            taro.send("GetGameData|taro|Secret-1|1|END");
            ASSERT_TRUE(waitUntil([&] { return taro.pending().endsWith("|END"); }, 5000));
            taro.next(taro.pending());
        }
        taro.send("GameStart|taro|Secret-1|2|END");
        ASSERT_TRUE(hana.next("GameMsg|Battle|taro| 1|END"));
        RawClient game(server.port);
        ASSERT_TRUE(game.connected());
        game.send("GameLogin|taro|Secret-1|taro@example.jp|END");
        ASSERT_TRUE(hana.next("GAMESETOK|taro|END"));
        game.send("SYOUGI_MSG3:SEND_OK");
        taro.send("GameMsg|taro>\x1b]0;owned\x07| 0|END");
        ASSERT_TRUE(hana.next("GameMsg|taro>\x1b]0;owned\x07| 0|END"));
        RawClient guess(server.port);
        ASSERT_TRUE(guess.connected());
        guess.send("SVMSG_LOGIN|\x1b[2J\x07taro,Guess-9,taro@example.jp, 0|END");
        EXPECT_TRUE(guess.closed());
        taro.send("GameEnd|taro|END");
        ASSERT_TRUE(taro.closed());

        // taro's close comes last (with --verbose, the guess's comes before it).
        ASSERT_TRUE(waitUntil(
            [&] { return server.output().count("をクロ－ズしました。") == (verbose ? 2 : 1); },
            5000));
        const QString log = server.output();
        for (const char* secret : {"Secret-1", "Secret-2", "Guess-9"})
            EXPECT_FALSE(log.contains(secret)) << secret << "\n" << log.toStdString();
        EXPECT_FALSE(log.contains(QChar(0x1b)) || log.contains(QChar(0x07)));
        for (const char* kept :
             {" Status 127.0.0.1のログイン許可", " Status taroとhanaの対戦を組みました。",
              " Status taroのゲ－ムがつながりました。",
              " Status 127.0.0.1のログイン拒否 ID=\\x1B[2J\\x07taro",
              " Status 127.0.0.1をクロ－ズしました。"})
            EXPECT_TRUE(log.contains(QString::fromUtf8(kept))) << kept << "\n" << log.toStdString();
        EXPECT_EQ(log.contains("GetGameData"), verbose);
        EXPECT_EQ(log.contains("SYOUGI_MSG3"), verbose);
        EXPECT_EQ(log.contains(" Msg taro>\\x1B]0;owned\\x07"), verbose);
        if (verbose) {
            EXPECT_TRUE(log.contains(" Status GetGameData|taro|***|1|END（2回）"))
                << log.toStdString();
            EXPECT_TRUE(log.contains(" Status GameLogin|taro|***|taro@example.jp|END"));
        }
    }
}

}  // namespace
}  // namespace lobbytest
