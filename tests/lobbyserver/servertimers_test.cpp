#include <gtest/gtest.h>

#include "fakeserver.h"

namespace lobbytest {
namespace {

using Strings = QStringList;

class ServerTimers : public ::testing::Test, public ServerFixture {};

TEST_F(ServerTimers, AConnectionThatNeverLogsInGoesAtTheFirstSweepAfterFiveSeconds) {
    accept(11);
    now += 1000;
    loginTaro(12);
    // A tick right after the accept leaves the newcomer alone.
    now += 100;
    server.loginSweep();
    EXPECT_FALSE(transport.isClosed(11));
    now += 3899;  // 4999 ms after the accept
    server.loginSweep();
    EXPECT_FALSE(transport.isClosed(11));
    now += 1;
    server.loginSweep();
    EXPECT_TRUE(transport.isClosed(11));
    EXPECT_EQ(server.waitingCount(), 0u);
    EXPECT_FALSE(transport.isClosed(12));
    // A logged-in user is never the sweep's business, however long ago.
    now += 3600 * 1000;
    server.loginSweep();
    EXPECT_FALSE(transport.isClosed(12));
}

TEST_F(ServerTimers, ALoginJustAfterATickIsNotCutOff) {
    server.loginSweep();  // a tick
    now += 10;
    accept(11);
    now += 4990;  // the next tick, 4990 ms after the accept
    server.loginSweep();
    EXPECT_FALSE(transport.isClosed(11));
    now += 20;
    say(11, "SVMSG_LOGIN|taro,pw1,taro@example.jp, 0|END");
    EXPECT_EQ(transport.take(11), Strings{"LOGIN|OK| 1|END"});
    now += 5000;
    server.loginSweep();
    EXPECT_FALSE(transport.isClosed(11));
}

TEST_F(ServerTimers, AGameProgramNamingNobodyIsSweptLikeAnyUnloggedConnection) {
    loginTaro(11);
    gameLogin(21, "taro", "bad");
    now += 5000;
    server.loginSweep();
    EXPECT_TRUE(transport.isClosed(21));
    EXPECT_FALSE(transport.isClosed(11));
}

TEST_F(ServerTimers, AClientThatStopsPollingGoesAtTheSecondMinuteTick) {
    loginTaro(11);
    loginHana(12);
    say(11, "GameStart|taro|pw1|2|END");
    transport.forgetAll();
    QList<int> minutes;
    QObject::connect(&server, &lobby::LobbyServer::minuteCountChanged,
                     [&](int m) { minutes << m; });
    for (int tick = 1; tick <= 5; ++tick) {
        say(12, "GetGameData|hana|pw2|2|END");  // hana polls, taro does not
        server.minuteTick();
        if (tick == 1) {
            EXPECT_FALSE(transport.isClosed(11));
        }
        if (tick == 2) {
            EXPECT_TRUE(transport.isClosed(11));
            EXPECT_TRUE(transport.take(12).contains("HisNone|END"));
        }
    }
    EXPECT_EQ(minutes, (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(server.minuteCount(), 5);
    EXPECT_FALSE(transport.isClosed(12));
    EXPECT_FALSE(server.users()[2].Playing);
    EXPECT_FALSE(server.users()[1].InUse);
}

TEST_F(ServerTimers, ConnectionsAreTimedFromTheirAcceptNotFromTheStart) {
    for (int i = 0; i < 10; ++i)
        server.minuteTick();
    accept(11);  // a moment before the next tick
    server.minuteTick();
    EXPECT_FALSE(transport.isClosed(11));
    say(11, "SVMSG_LOGIN|taro,pw1,taro@example.jp, 0|END");
    server.minuteTick();
    EXPECT_FALSE(transport.isClosed(11));
    server.minuteTick();
    EXPECT_TRUE(transport.isClosed(11));
}

}  // namespace
}  // namespace lobbytest
