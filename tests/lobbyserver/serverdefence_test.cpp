// What peers that do not play by the rules can and cannot do to the lobby.

#include <gtest/gtest.h>

#include "fakeserver.h"

namespace lobbytest {
namespace {

using Strings = QStringList;

class ServerDefence : public ::testing::Test, public ServerFixture {
protected:
    int closedAmong(int from, int to) const {
        int n = 0;
        for (int s = from; s <= to; ++s)
            n += transport.isClosed(s) ? 1 : 0;
        return n;
    }
};

// Connections that say nothing wait apart from the slots: however many there
// are, a user logs in, and the pool they wait in stays bounded, for each
// address and in all.
TEST_F(ServerDefence, SilentConnectionsCannotKeepUsersOut) {
    peerIp = "10.0.0.9";
    for (int s = 1000; s < 1055; ++s)
        accept(s);
    peerIp = "10.0.0.1";
    EXPECT_EQ(loginTaro(11), 1);
    EXPECT_EQ(transport.take(11), Strings{"LOGIN|OK| 1|END"});
    EXPECT_EQ(closedAmong(1000, 1054), 0);

    // One address past its share pushes out its own oldest, not the others'.
    peerIp = "10.0.0.9";
    for (int s = 1055; s < 1074; ++s)
        accept(s);
    EXPECT_EQ(closedAmong(1000, 1073), 74 - 64);
    EXPECT_TRUE(transport.isClosed(1000) && !transport.isClosed(1010));
    // ... and its newest still logs in.
    EXPECT_EQ(loginHana(1074), 2);

    // Many addresses: the pool holds 256 at most, the oldest go first.
    for (int s = 2000; s < 2300; ++s) {
        peerIp = QString("10.1.%1.%2").arg(s / 200).arg(s % 200);
        accept(s);
    }
    EXPECT_EQ(closedAmong(1000, 1073) + closedAmong(2000, 2299), 74 + 300 - 256);
    EXPECT_FALSE(transport.isClosed(2299));
    EXPECT_EQ(loginJiro(3000), 3);
}

// With 50 users logged in, their game programs still link: a game program
// belongs to its user's slot and takes none.
TEST_F(ServerDefence, AFullLobbyStillLinksGamePrograms) {
    QStringList lines;
    for (int i = 1; i <= 50; ++i)
        lines << QString("%1,u%1,p%1,m%1,").arg(i);
    writeUsers(lines);
    for (int i = 1; i <= 50; ++i)
        ASSERT_EQ(
            login(100 + i, QString("u%1").arg(i), QString("p%1").arg(i), QString("m%1").arg(i)), i);
    say(101, "GameStart|u1|p1|2|END");
    transport.forgetAll();
    gameLogin(201, "u1", "p1");
    gameLogin(202, "u2", "p2");
    EXPECT_TRUE(transport.take(201).isEmpty());
    EXPECT_FALSE(transport.isClosed(201) || transport.isClosed(202));
    EXPECT_EQ(transport.take(102), Strings{"GAMESETOK|u1|END"});
    EXPECT_EQ(transport.take(101), Strings{"GAMESETOK|u2|END"});
    say(201, shogiMove(1));
    EXPECT_EQ(transport.take(202), Strings{shogiMove(1)});
}

// After five wrong logins from an address, one login a second is checked:
// the others wait for their turns in the order they came, right or wrong,
// lobby logins and game logins alike, so two players behind one router get
// in while a third mistypes, and the answer tells a guesser nothing by its
// timing. The wait is bounded.
TEST_F(ServerDefence, LoginsAfterFailuresWaitTheirTurnsOneASecond) {
    peerIp = "10.0.0.66";
    for (int s = 11; s <= 15; ++s)
        EXPECT_EQ(login(s, "taro", QString("guess%1").arg(s), "taro@example.jp"), 0);
    EXPECT_TRUE(
        statuses.contains("10.0.0.66からのログインは失敗が続いたため1秒に1回だけ調べます。"));
    now += 10;
    EXPECT_EQ(loginTaro(16), 0);
    EXPECT_EQ(login(17, "taro", "guess17", "taro@example.jp"), 0);
    EXPECT_EQ(loginHana(18), 0);
    for (int s : {16, 17, 18})
        EXPECT_TRUE(transport.take(s).isEmpty() && !transport.isClosed(s)) << s;
    // Other addresses are not held up.
    peerIp = "10.0.0.2";
    EXPECT_EQ(loginJiro(20), 1);

    later(989);
    EXPECT_TRUE(transport.take(16).isEmpty());
    later(1);
    EXPECT_EQ(transport.take(16), Strings{"LOGIN|OK| 2|END"});
    EXPECT_FALSE(transport.isClosed(17));
    later(1000);
    EXPECT_TRUE(transport.isClosed(17) && transport.take(17).isEmpty());
    later(1000);
    EXPECT_EQ(transport.take(18), Strings{"LOGIN|OK| 3|END"});
    // A game program sends its login once: it waits its turn too.
    peerIp = "10.0.0.66";
    say(16, "GameStart|taro|pw1|3|END");
    gameLogin(21, "taro", "pw1");
    EXPECT_EQ(server.users()[2].GameSock, 0);
    later(1000);
    EXPECT_EQ(server.users()[2].GameSock, 21);
    // Logins that waited too long are given up unchecked.
    gameLogin(22, "hana", "pw2");
    gameLogin(23, "hana", "pw2");
    now += lobby::LobbyServer::kLoginHoldMs;
    server.loginSweep();
    EXPECT_TRUE(transport.isClosed(22) && transport.isClosed(23));
    EXPECT_EQ(server.users()[3].GameSock, 0);
    // A minute after the last failure the address is free again.
    now += 60000;
    EXPECT_EQ(loginSaki(24), 4);
}

// "Logged in already" is said only to a login that would otherwise succeed:
// a right password with a wrong mail address learns nothing from it.
TEST_F(ServerDefence, ADuplicateLoginIsToldOnlyToTheWholeLogin) {
    loginTaro(11);
    for (const char* mail : {"", "other@example.jp", "TARO@example.jp"}) {
        EXPECT_EQ(login(20, "taro", "pw1", mail), 0);
        EXPECT_TRUE(transport.take(20).isEmpty()) << mail;
        EXPECT_TRUE(transport.isClosed(20));
        transport.closed.erase(20);
    }
    EXPECT_EQ(loginTaro(21), 0);
    EXPECT_EQ(transport.take(21), Strings{"NoLogin|END"});
    EXPECT_EQ(server.users()[1].LobbySock, 11);
}

// A chat line goes to the opponent only as its sender's own words, and only
// when his client reads it as one message, whether it frames the stream or
// searches each read for keywords: a forged server notice, another user's
// name, a line with a notice behind its end, or a keyword that such a client
// tests before "GameMsg" is dropped and logged.
TEST_F(ServerDefence, ChatIsRelayedOnlyAsTheSendersOwnLine) {
    loginTaro(11);
    loginHana(12);
    say(11, "GameStart|taro|pw1|2|END");
    transport.forgetAll();
    for (const char* forged :
         {"GameMsg|ShutDown|END", "GameMsg|Battle|jiro| 3|END", "GameMsg|jiro>I am jiro| 0|END",
          "GameMsg|taroX>hi| 0|END", "GameMsg|taro>hi| 0|ENDHisNone|END",
          "GameMsg|taro>hi|ENDDead| 0|END", "GMOK|ENDDead| 0|END", "GMOK|ENDLogOut| 0|END",
          "GameMsg|taro>LOGIN|OK| 0|END", "GameMsg|taro>AddFriends| 0|END", "GMOK|Dead| 0|END",
          "GMOK|HisNone| 0|END"}) {
        statuses.clear();
        say(11, QString::fromUtf8(forged));
        EXPECT_TRUE(transport.take(12).isEmpty()) << forged;
        EXPECT_EQ(statuses.filter("taroの送り主を偽ったチャットを捨てました。").size(), 1)
            << forged;
    }
    EXPECT_TRUE(server.users()[2].Playing);
    for (const char* own : {"GameMsg|taro>hi| 0|END", "GameMsg|taro>GameMsg|ShutDown| 0|END"}) {
        say(11, QString::fromUtf8(own));
        EXPECT_EQ(transport.take(12), Strings{QString::fromUtf8(own)});
    }
    say(12, "GMOK|受信しました。| 0|END");
    EXPECT_EQ(transport.take(11), Strings{"GMOK|受信しました。|END"});
}

// Whatever line ends the user file has, every user on it is found; a line
// without an ID or a password lets nobody in and is told once per reading.
TEST_F(ServerDefence, UserFileLinesThatAreNoUsersAreSkippedAndToldOnce) {
    QFile file(QDir(folder.path()).filePath("BrellowLogIn.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "1,taro,pw1,taro@example.jp,x\r2,hana,pw2,hana@example.jp,x\r\n3,,,,\n"
        "4,\"\",p4,m4,r\r\n");
    file.close();
    EXPECT_EQ(login(11, "", "", ""), 0);
    EXPECT_EQ(login(12, "", "p4", "m4"), 0);
    EXPECT_EQ(loginHana(13), 1);
    EXPECT_EQ(loginTaro(14), 2);
    const QString told = "BrellowLogIn.txt: IDかパスワードのない行を使いません。行=3,4";
    EXPECT_EQ(statuses.filter(told).size(), 1) << statuses.join('\n').toStdString();
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("5,jiro,pw3,jiro@example.jp,x\r\n");
    file.close();
    EXPECT_EQ(loginJiro(15), 3);
    EXPECT_EQ(statuses.filter(told).size(), 2);
}

// A watch is asked for one game; when that game ends, so does the watch, and
// the next game of the same two players is nobody's to watch until asked.
TEST_F(ServerDefence, AWatchEndsWithItsGame) {
    loginTaro(11);
    loginHana(12);
    loginJiro(13);
    say(11, "GameStart|taro|pw1|2|END");
    gameLogin(21, "taro", "pw1");
    gameLogin(22, "hana", "pw2");
    say(13, "WatchMsg|1|END");
    gameLogin(23, "jiro", "pw3");
    say(21, shogiMove(1));
    ASSERT_EQ(transport.take(23), Strings{"WatchData|taro|hana|END"});

    server.connectionClosed(21);  // taro's program leaves: the game is over
    say(12, "GameStart|hana|pw2|1|END");
    gameLogin(31, "taro", "pw1");
    gameLogin(32, "hana", "pw2");
    transport.forgetAll();
    say(31, shogiMove(1));
    say(32, shogiMove(2));
    EXPECT_EQ(transport.take(32), Strings{shogiMove(1)});
    EXPECT_TRUE(transport.take(23).isEmpty());
    EXPECT_TRUE(transport.take(13).isEmpty());
    say(13, "GetGameData|jiro|pw3|3|END");
    EXPECT_EQ(transport.take(13), Strings{"AddFriends|taro,0, 1,True,False,hana,0, 2,True,False,"
                                          "jiro,0, 3,False,False|END"});
    // Asked again, he watches the new game.
    say(13, "WatchMsg|2|END");
    say(31, shogiMove(3));
    ack(23);
    EXPECT_EQ(transport.take(23), (Strings{"WatchData|taro|hana|END", "WatchMsg|" + shogiMove(3)}));
}

}  // namespace
}  // namespace lobbytest
