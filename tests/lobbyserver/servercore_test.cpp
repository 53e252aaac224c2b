#include <gtest/gtest.h>

#include "fakeserver.h"

namespace lobbytest {
namespace {

using Strings = QStringList;
const QString kInvalid = QStringLiteral("不正なデ－タが送信されました。");

class ServerCore : public ::testing::Test, public ServerFixture {};

TEST_F(ServerCore, LoginAnswersWithTheIndexInSignedForm) {
    EXPECT_EQ(loginTaro(11), 1);
    EXPECT_EQ(transport.take(11), Strings{"LOGIN|OK| 1|END"});
    EXPECT_EQ(loginHana(12), 2);
    EXPECT_EQ(transport.take(12), Strings{"LOGIN|OK| 2|END"});
    EXPECT_TRUE(statuses.contains("127.0.0.1のログイン許可"));
    EXPECT_TRUE(msgs.contains("127.0.0.1が接続してきました。port=40000"));
    const auto& r = server.users()[2];
    EXPECT_EQ(r.UserID, u"hana");
    EXPECT_EQ(r.IndexText, u" 2");
    EXPECT_TRUE(r.InUse && r.LoggedIn);
    EXPECT_TRUE(transport.closed.empty());
}

TEST_F(ServerCore, WrongPasswordIsClosedWithoutAWord) {
    EXPECT_EQ(login(11, "taro", "nope", "taro@example.jp"), 0);
    EXPECT_TRUE(transport.take(11).isEmpty());
    EXPECT_TRUE(transport.isClosed(11));
    EXPECT_FALSE(server.users()[1].InUse);
    EXPECT_TRUE(statuses.contains("127.0.0.1をクロ－ズしました。"));
}

TEST_F(ServerCore, DuplicateLoginIsRefusedAndTheFirstStays) {
    loginTaro(11);
    transport.forgetAll();
    EXPECT_EQ(loginTaro(12), 0);
    EXPECT_EQ(transport.take(12), Strings{"NoLogin|END"});
    EXPECT_TRUE(transport.isClosed(12));
    EXPECT_FALSE(transport.isClosed(11));
    EXPECT_TRUE(server.users()[1].LoggedIn);
    EXPECT_EQ(server.users()[1].LobbySock, 11);
}

// Fifty users in the slots: a login more is told the lobby is full.
TEST_F(ServerCore, TheFiftyFirstLoginIsTurnedAway) {
    QStringList lines;
    for (int i = 1; i <= 51; ++i)
        lines << QString("%1,u%1,p%1,m%1,").arg(i);
    writeUsers(lines);
    for (int i = 1; i <= 50; ++i)
        ASSERT_EQ(
            login(100 + i, QString("u%1").arg(i), QString("p%1").arg(i), QString("m%1").arg(i)), i);
    EXPECT_EQ(login(500, "u51", "p51", "m51"), 0);
    EXPECT_EQ(transport.take(500), Strings{"LOGIN|No|END"});
    EXPECT_TRUE(transport.isClosed(500));
    EXPECT_EQ(transport.closed.size(), 1u);
    for (int i = 1; i <= 50; ++i)
        EXPECT_EQ(server.users()[i].LobbySock, 100 + i);
    // What the refused socket still says is nobody's request.
    say(500, "SVMSG_LOGIN|u51,p51,m51, 0|END");
    EXPECT_TRUE(transport.take(500).isEmpty());
}

TEST_F(ServerCore, LoginDataThatCannotBeCheckedIsInvalidData) {
    accept(11);
    say(11, "SVMSG_LOGIN|taro|END");
    say(11, "SVMSG_LOGIN");
    EXPECT_EQ(invalid, (Strings{kInvalid, kInvalid}));
    QFile::remove(QDir(folder.path()).filePath("BrellowLogIn.txt"));
    say(11, "SVMSG_LOGIN|taro,pw1,taro@example.jp, 0|END");
    EXPECT_EQ(invalid.size(), 3);
    writeUsers({});
    say(11, "SVMSG_LOGIN|taro,pw1,taro@example.jp, 0|END");
    EXPECT_EQ(invalid.size(), 4);
    // Nothing was answered; the connection waits for the login sweep.
    EXPECT_TRUE(transport.take(11).isEmpty());
    EXPECT_FALSE(transport.isClosed(11));
    EXPECT_EQ(server.waitingCount(), 1u);
    EXPECT_FALSE(server.users()[1].InUse);
}

TEST_F(ServerCore, UserListListsLoggedInUsersInIndexOrder) {
    accept(10);  // connected, never logs in: takes no slot
    loginTaro(11);
    loginHana(12);
    transport.forgetAll();
    say(12, "GetGameData|hana|pw2|2|END");
    EXPECT_EQ(transport.take(12),
              Strings{"AddFriends|taro,0, 1,False,False,hana,0, 2,False,False|END"});
    // A game connection does not get it.
    gameLogin(21, "taro", "pw1");
    say(21, "GetGameData|taro|pw1|1|END");
    EXPECT_TRUE(transport.take(21).isEmpty());
}

// Who is on line is for the users: a connection that has not logged in is
// told nothing, not even that the lobby is empty.
TEST_F(ServerCore, AConnectionNotLoggedInGetsNoList) {
    accept(10);
    say(10, "GetGameData|x|y|1|END");
    loginTaro(11);
    say(10, "GetGameData|||0|END");
    EXPECT_TRUE(transport.take(10).isEmpty());
    EXPECT_FALSE(transport.isClosed(10));
}

TEST_F(ServerCore, UserListShowsPlayingAndWatchingAndGameKind) {
    loginTaro(11);
    loginHana(12);
    login(13, "jiro", "pw3", "jiro@example.jp", 1);
    loginSaki(14);
    say(11, "GameStart|taro|pw1|2|END");
    say(14, "WatchMsg|1|END");
    transport.forgetAll();
    say(13, "GetGameData|jiro|pw3|3|END");
    EXPECT_EQ(transport.take(13), Strings{"AddFriends|taro,0, 1,True,False,hana,0, 2,True,False,"
                                          "jiro,1, 3,False,False,saki,0, 4,False,True|END"});
}

TEST_F(ServerCore, PairingTellsBothPlayers) {
    loginTaro(11);
    loginHana(12);
    loginJiro(13);
    transport.forgetAll();
    say(11, "GameStart|taro|pw1|2|END");
    EXPECT_EQ(transport.take(11), Strings{"GameMsg|Battle|hana| 2|END"});
    EXPECT_EQ(transport.take(12), Strings{"GameMsg|Battle|taro| 1|END"});
    EXPECT_TRUE(transport.take(13).isEmpty());
    const auto& a = server.users()[1];
    const auto& b = server.users()[2];
    EXPECT_TRUE(a.Playing && b.Playing);
    EXPECT_EQ(a.OppIndex, 2);
    EXPECT_EQ(b.OppIndex, 1);
    EXPECT_EQ(a.OppName, u"hana");
    EXPECT_EQ(b.OppLobbySock, 11);
}

TEST_F(ServerCore, RefusedChallengesPairNobodyAndTellOnlyTheChallenger) {
    loginTaro(11);
    loginHana(12);
    loginJiro(13);
    accept(14);  // slot 4: connected, not logged in
    transport.forgetAll();

    say(11, "GameStart|taro|pw1|1|END");  // himself
    say(11, "GameStart|taro|pw1|4|END");  // not logged in
    say(11, "GameStart|taro|pw1|9|END");  // empty slot
    EXPECT_EQ(transport.take(11),
              (Strings{"GameMsg|相手はログアウトしてしまいました。対戦できません。|END",
                       "GameMsg|相手はログアウトしてしまいました。対戦できません。|END",
                       "GameMsg|相手はログアウトしてしまいました。対戦できません。|END"}));

    say(11, "GameStart|taro|pw1|2|END");
    transport.forgetAll();
    say(11, "GameStart|taro|pw1|3|END");  // already playing himself
    EXPECT_EQ(transport.take(11), Strings{"GameMsg|あなたは既に対戦中です。|END"});
    say(13, "GameStart|jiro|pw3|2|END");  // the target is playing
    EXPECT_EQ(transport.take(13), Strings{"GameMsg|相手は既に対戦中です。|END"});
    say(14, "GameStart|x|y|3|END");  // the sender is not logged in
    EXPECT_TRUE(transport.take(14).isEmpty());

    EXPECT_TRUE(transport.take(12).isEmpty());
    EXPECT_FALSE(server.users()[3].Playing);
    EXPECT_EQ(server.users()[2].OppIndex, 1);
    EXPECT_TRUE(invalid.isEmpty());
}

// A client that marked itself in a match when it challenged answers the
// refusal line as any other with "GMOK"; the "ShutDown" that then comes takes
// the mark off. It comes once, and not for a refusal nobody answered before
// a pairing.
TEST_F(ServerCore, ARefusedChallengerIsToldThatNoMatchFollows) {
    loginTaro(11);
    loginHana(12);
    loginJiro(13);
    loginSaki(14);
    say(11, "GameStart|taro|pw1|2|END");
    transport.forgetAll();
    const QString gmok = "GMOK|受信しました。| 0|END";
    say(13, "GameStart|jiro|pw3|1|END");
    EXPECT_EQ(transport.take(13), Strings{"GameMsg|相手は既に対戦中です。|END"});
    say(13, gmok);
    EXPECT_EQ(transport.take(13), Strings{"GameMsg|ShutDown|END"});
    say(13, gmok);
    EXPECT_TRUE(transport.take(13).isEmpty());

    say(13, "GameStart|jiro|pw3|9|END");
    transport.forgetAll();
    say(14, "GameStart|saki|pw4|3|END");
    say(13, gmok);  // the answer to the pairing
    EXPECT_EQ(transport.take(13), Strings{"GameMsg|Battle|saki| 4|END"});
    // Who refuses himself a second match is in one: nothing to take off.
    say(11, "GameStart|taro|pw1|3|END");
    say(11, gmok);
    EXPECT_EQ(transport.take(11), Strings{"GameMsg|あなたは既に対戦中です。|END"});
}

TEST_F(ServerCore, IndexesOutsideTheSlotsAreInvalidData) {
    loginTaro(11);
    loginHana(12);
    transport.forgetAll();
    for (const char* bad :
         {"GameStart|taro|pw1|0|END", "GameStart|taro|pw1|51|END", "GameStart|taro|pw1|-1|END",
          "GameStart|taro|pw1|52|END", "GameStart|taro|pw1|99999999999|END",
          "GameStart|taro|pw1|abc|END", "GameStart|taro|pw1|END", "GameStart", "WatchMsg|0|END",
          "WatchMsg|53|END", "WatchMsg", "GameMsg", "GMOK"})
        say(11, bad);
    EXPECT_EQ(invalid.size(), 13);
    EXPECT_TRUE(transport.take(11).isEmpty());
    EXPECT_TRUE(transport.take(12).isEmpty());
    EXPECT_FALSE(server.users()[1].Playing);
    EXPECT_FALSE(server.users()[1].Watching);
}

TEST_F(ServerCore, ChatGoesToThePairedOpponentOnly) {
    loginTaro(11);
    loginHana(12);
    loginJiro(13);
    transport.forgetAll();
    say(11, "GameMsg|taro>hello| 0|END");  // not paired: goes nowhere
    EXPECT_TRUE(transport.take(12).isEmpty());
    EXPECT_EQ(msgs.last(), u"taro>hello");
    say(11, "GameStart|taro|pw1|2|END");
    transport.forgetAll();
    // Keywords inside the chat text are just text.
    const QString line = "GameMsg|taro>GameStart|x|y|3| 0|END";
    say(11, line);
    EXPECT_EQ(transport.take(12), Strings{line});
    EXPECT_TRUE(transport.take(13).isEmpty());
    EXPECT_FALSE(server.users()[3].Playing);
    say(12, "GameMsg|hana>GameEnd|hana|END");
    EXPECT_EQ(transport.take(11), Strings{"GameMsg|hana>GameEnd|hana|END"});
    EXPECT_TRUE(server.users()[2].LoggedIn);

    say(12, "GMOK|受信しました。| 0|END");
    EXPECT_EQ(transport.take(11), Strings{"GMOK|受信しました。|END"});
    EXPECT_EQ(msgs.last(), u"受信しました。");
}

// Two players with linked game programs: taro (1, lobby 11, game 21) and
// hana (2, lobby 12, game 22).
class LinkedGame : public ServerCore {
protected:
    void SetUp() override {
        loginTaro(11);
        loginHana(12);
        say(11, "GameStart|taro|pw1|2|END");
        gameLogin(21, "taro", "pw1");
        gameLogin(22, "hana", "pw2");
        transport.forgetAll();
    }
};

TEST_F(ServerCore, GameLoginLinksTheProgramAndTellsTheOpponent) {
    loginTaro(11);
    loginHana(12);
    say(11, "GameStart|taro|pw1|2|END");
    transport.forgetAll();
    gameLogin(21, "taro", "pw1");
    EXPECT_EQ(transport.take(12), Strings{"GAMESETOK|taro|END"});
    EXPECT_TRUE(transport.take(21).isEmpty());
    EXPECT_EQ(server.users()[1].GameSock, 21);
    EXPECT_EQ(server.users()[2].OppGameSock, 21);
    // The game program took no slot of its own.
    EXPECT_FALSE(server.users()[3].InUse);
    EXPECT_EQ(server.waitingCount(), 0u);
    gameLogin(22, "hana", "pw2");
    EXPECT_EQ(transport.take(11), Strings{"GAMESETOK|hana|END"});
    EXPECT_EQ(server.users()[1].OppGameSock, 22);
}

// Whichever program links first, and even one that linked before the pairing
// (left open from an earlier game, or a watcher's), moves go both ways.
TEST(ServerLinks, MovesGoBothWaysWhateverTheOrderOfTheGameLogins) {
    struct Order {
        const char* first;
        bool firstBeforePairing;
    };
    for (const Order order :
         {Order{"taro", false}, Order{"hana", false}, Order{"taro", true}, Order{"hana", true}}) {
        SCOPED_TRACE(std::string(order.first) + (order.firstBeforePairing ? " before" : " after"));
        ServerFixture f;
        f.loginTaro(11);
        f.loginHana(12);
        const bool taroFirst = QString::fromLatin1(order.first) == u"taro";
        auto link = [&](bool taro) {
            if (taro)
                f.gameLogin(21, "taro", "pw1");
            else
                f.gameLogin(22, "hana", "pw2");
        };
        if (order.firstBeforePairing) link(taroFirst);
        f.say(11, "GameStart|taro|pw1|2|END");
        if (!order.firstBeforePairing) link(taroFirst);
        link(!taroFirst);
        f.transport.forgetAll();
        f.say(21, shogiMove(1));
        EXPECT_EQ(f.transport.take(22), Strings{shogiMove(1)});
        f.say(22, shogiMove(2));
        EXPECT_EQ(f.transport.take(21), Strings{shogiMove(2)});
    }
}

TEST_F(ServerCore, GameLoginOfNobodyLeavesTheConnectionToTheSweep) {
    loginTaro(11);
    transport.forgetAll();
    gameLogin(21, "taro", "wrong");
    EXPECT_EQ(server.waitingCount(), 1u);
    EXPECT_FALSE(transport.isClosed(21));
    EXPECT_EQ(server.users()[1].GameSock, 0);
    gameLogin(22, "taro", "pw1");  // not paired: linked, nobody told
    EXPECT_EQ(server.users()[1].GameSock, 22);
    EXPECT_TRUE(transport.take(11).isEmpty());
    say(21, "GameLogin|x");
    EXPECT_EQ(invalid, Strings{kInvalid});
}

TEST_F(LinkedGame, MovesReachTheOpponentsProgramWithoutNuls) {
    say(21, shogiMove(1));
    EXPECT_EQ(transport.take(22), Strings{shogiMove(1)});
    EXPECT_EQ(server.users()[1].Side, 1);
    EXPECT_EQ(server.users()[2].Side, 2);
    QString withNul = shogiMove(2);
    withNul.insert(20, QChar(0));
    say(22, withNul);
    EXPECT_EQ(transport.take(21), Strings{shogiMove(2)});
    // A character beyond code 255 is invalid data and nothing is relayed.
    say(21, shogiMove(3) + QStringLiteral("駒"));
    EXPECT_TRUE(transport.take(22).isEmpty());
    EXPECT_EQ(invalid, Strings{kInvalid});
    // So is a move without its move number.
    say(21, "SYOUGI_MSG2:0F,0F:Fu, 0");
    EXPECT_TRUE(transport.take(22).isEmpty());
    EXPECT_EQ(invalid.size(), 2);
}

TEST_F(LinkedGame, AcknowledgementsChatsTalkAndGameEndAreRelayedUnchanged) {
    for (const char* m : {"SYOUGI_MSG3:SEND_OK", "SYOUGI_MSG4:よろしく", "SYOUGI_MSG6:投了です。",
                          "SYOUGI_MSG5:あなたの負けです。"})
        say(21, QString::fromUtf8(m));
    EXPECT_EQ(transport.take(22),
              (Strings{"SYOUGI_MSG3:SEND_OK", "SYOUGI_MSG4:よろしく", "SYOUGI_MSG6:投了です。",
                       "SYOUGI_MSG5:あなたの負けです。"}));
    say(22, "SYOUGI_MSG5:投了です。あなたの勝ちです。有り難うございました。");
    EXPECT_EQ(transport.take(21),
              Strings{"SYOUGI_MSG5:投了です。あなたの勝ちです。有り難うございました。"});
    // A game chat that mentions lobby requests is still only a game chat.
    say(21, "SYOUGI_MSG4:GameEnd|taro|END");
    EXPECT_EQ(transport.take(22), Strings{"SYOUGI_MSG4:GameEnd|taro|END"});
    EXPECT_TRUE(server.users()[1].LoggedIn);
}

TEST_F(ServerCore, MovesBeforeTheOpponentLinksAreNotDelivered) {
    loginTaro(11);
    loginHana(12);
    say(11, "GameStart|taro|pw1|2|END");
    gameLogin(21, "taro", "pw1");
    say(21, shogiMove(1));
    gameLogin(22, "hana", "pw2");
    EXPECT_TRUE(transport.take(22).isEmpty());
    say(21, shogiMove(3));
    EXPECT_EQ(transport.take(22), Strings{shogiMove(3)});
}

TEST_F(LinkedGame, RequestsOnTheWrongKindOfConnectionAreIgnored) {
    // Game messages on a lobby connection, lobby requests on a game one.
    say(11, shogiMove(1));
    say(11, "SYOUGI_MSG4:hi");
    EXPECT_TRUE(transport.take(22).isEmpty());
    say(21, "GameEnd|taro|END");
    say(21, "GameMsg|taro>hi| 0|END");
    say(21, "GetGameData|taro|pw1|1|END");
    say(21, "GameLogin|hana|pw2|m|END");
    EXPECT_TRUE(server.users()[1].LoggedIn);
    EXPECT_TRUE(transport.take(12).isEmpty());
    EXPECT_TRUE(transport.take(21).isEmpty());
    EXPECT_EQ(server.users()[2].GameSock, 22);
    // A logged-in client cannot log in again on the same connection.
    say(11, "SVMSG_LOGIN|saki,pw4,saki@example.jp, 0|END");
    EXPECT_EQ(server.users()[1].UserID, u"taro");
    EXPECT_TRUE(transport.take(11).isEmpty());
}

// A watcher's program gets the names once, then every move wrapped, each in
// a read of its own: the next message goes only when the program has
// acknowledged the last, or when the wait for that runs out.
TEST_F(LinkedGame, WatchersGetTheNamesOnceThenEveryMoveOneAtATime) {
    loginJiro(13);
    say(13, "WatchMsg|2|END");
    gameLogin(23, "jiro", "pw3");
    transport.forgetAll();
    say(21, shogiMove(1));
    say(22, shogiMove(2));
    EXPECT_EQ(transport.take(23), Strings{"WatchData|taro|hana|END"});
    for (int n = 1; n <= 2; ++n) {
        ack(23);
        EXPECT_EQ(transport.take(23), Strings{"WatchMsg|" + shogiMove(n)});
    }
    ack(23);
    say(21, shogiMove(3));  // nothing waits: it goes at once
    EXPECT_EQ(transport.take(23), Strings{"WatchMsg|" + shogiMove(3)});
    EXPECT_TRUE(transport.take(13).isEmpty());
    // A program that does not answer is not waited for long.
    say(22, shogiMove(4));
    EXPECT_TRUE(transport.take(23).isEmpty());
    ASSERT_FALSE(wakes.isEmpty());
    later(wakes.last() - now - 1);
    EXPECT_TRUE(transport.take(23).isEmpty());
    later(1);
    EXPECT_EQ(transport.take(23), Strings{"WatchMsg|" + shogiMove(4)});
    // The watcher's acknowledgements go nowhere.
    transport.forgetAll();
    ack(23);
    EXPECT_TRUE(transport.take(21).isEmpty());
    EXPECT_TRUE(transport.take(22).isEmpty());
}

TEST_F(LinkedGame, TheSecondPlayerMovingFirstIsNamedFirst) {
    loginJiro(13);
    gameLogin(23, "jiro", "pw3");
    say(13, "WatchMsg|1|END");
    transport.forgetAll();
    say(22, shogiMove(1));
    EXPECT_EQ(transport.take(23), Strings{"WatchData|hana|taro|END"});
    ack(23);
    ack(23);
    say(21, shogiMove(2));
    EXPECT_EQ(transport.take(23),
              (Strings{"WatchMsg|" + shogiMove(1), "WatchMsg|" + shogiMove(2)}));
}

TEST_F(LinkedGame, AWatcherNotLinkedYetIsAskedToStartHisProgram) {
    loginJiro(13);
    say(13, "WatchMsg|1|END");
    transport.forgetAll();
    say(21, shogiMove(1));
    say(22, shogiMove(2));
    EXPECT_EQ(transport.take(13), (Strings{"GameMsg|NotStart|END", "GameMsg|NotStart|END"}));
    // Once linked, the watcher's program gets the names at once, the next
    // move after them.
    gameLogin(23, "jiro", "pw3");
    EXPECT_EQ(transport.take(23), Strings{"WatchData|taro|hana|END"});
    say(21, shogiMove(3));
    EXPECT_TRUE(transport.take(23).isEmpty());
    ack(23);
    EXPECT_EQ(transport.take(23), Strings{"WatchMsg|" + shogiMove(3)});
    EXPECT_TRUE(transport.take(13).isEmpty());
    // A program linked before its user asks to watch hears the names when he
    // asks.
    loginSaki(14);
    gameLogin(24, "saki", "pw4");
    say(14, "WatchMsg|1|END");
    EXPECT_EQ(transport.take(24), Strings{"WatchData|taro|hana|END"});
}

TEST_F(LinkedGame, MovesNeverReachWatchersOfAnotherGame) {
    loginJiro(13);
    loginSaki(14);
    say(13, "GameStart|jiro|pw3|4|END");
    gameLogin(23, "jiro", "pw3");
    gameLogin(24, "saki", "pw4");
    login(15, "ken", "pw5", "ken@example.jp");
    gameLogin(25, "ken", "pw5");
    say(15, "WatchMsg|3|END");  // ken watches jiro against saki
    transport.forgetAll();
    say(21, shogiMove(1));
    say(22, shogiMove(2));
    EXPECT_TRUE(transport.take(25).isEmpty());
    EXPECT_TRUE(transport.take(15).isEmpty());
    EXPECT_TRUE(transport.take(23).isEmpty());
    transport.forgetAll();
    say(24, shogiMove(1));
    EXPECT_EQ(transport.take(25), Strings{"WatchData|saki|jiro|END"});
    ack(25);
    EXPECT_EQ(transport.take(25), Strings{"WatchMsg|" + shogiMove(1)});
    EXPECT_TRUE(transport.take(21).isEmpty());
    EXPECT_TRUE(transport.take(22).isEmpty());
}

TEST_F(LinkedGame, WatchRequestsForNoRunningGameAreIgnored) {
    loginJiro(13);
    loginSaki(14);
    say(13, "WatchMsg|4|END");  // saki is not playing
    say(13, "WatchMsg|3|END");  // himself
    EXPECT_FALSE(server.users()[3].Watching);
    say(11, "WatchMsg|2|END");  // taro is playing himself
    EXPECT_FALSE(server.users()[1].Watching);
}

TEST_F(LinkedGame, AGameProgramGoingAwayEndsTheMatchForBoth) {
    loginJiro(13);
    say(13, "WatchMsg|1|END");
    transport.forgetAll();
    server.connectionClosed(21);
    EXPECT_EQ(msgs.last(), u"CLOSE");
    EXPECT_TRUE(transport.isClosed(21));
    EXPECT_TRUE(transport.isClosed(22));
    EXPECT_EQ(transport.take(11), Strings{"GameMsg|ShutDown|END"});
    EXPECT_EQ(transport.take(12), Strings{"GameMsg|ShutDown|END"});
    const auto& a = server.users()[1];
    const auto& b = server.users()[2];
    EXPECT_FALSE(a.Playing || b.Playing);
    EXPECT_EQ(a.GameSock, 0);
    EXPECT_EQ(b.GameSock, 0);
    EXPECT_EQ(a.OppGameSock, 0);
    EXPECT_EQ(b.OppGameSock, 0);
    // Both lobby logins go on; they can pair again.
    EXPECT_TRUE(a.LoggedIn && b.LoggedIn);
    EXPECT_FALSE(transport.isClosed(11));
    say(12, "GameStart|hana|pw2|1|END");
    EXPECT_EQ(transport.take(11), Strings{"GameMsg|Battle|hana| 2|END"});
}

TEST_F(LinkedGame, AWatchersProgramGoingAwayEndsTheWatch) {
    loginJiro(13);
    gameLogin(23, "jiro", "pw3");
    say(13, "WatchMsg|1|END");
    transport.forgetAll();
    server.connectionClosed(23);
    EXPECT_EQ(transport.take(13), Strings{"GameMsg|ShutDown|END"});
    EXPECT_FALSE(server.users()[3].Watching);
    say(21, shogiMove(1));
    EXPECT_TRUE(transport.take(13).isEmpty());
    EXPECT_TRUE(server.users()[1].Playing);
}

TEST_F(LinkedGame, LogoutTellsTheOpponentAndFreesTheSlot) {
    loginJiro(13);
    say(13, "WatchMsg|1|END");
    say(11, "GameEnd|taro|END");
    EXPECT_TRUE(transport.isClosed(11));
    EXPECT_TRUE(transport.isClosed(21));
    EXPECT_EQ(transport.take(12), Strings{"HisNone|END"});
    EXPECT_FALSE(server.users()[1].InUse || server.users()[1].LoggedIn);
    EXPECT_FALSE(server.users()[2].Playing);
    EXPECT_EQ(server.users()[2].OppGameSock, 0);
    // Nobody goes on watching a game of a user who has left.
    EXPECT_FALSE(server.users()[3].Watching);
    // Slot 1 is free for the next login.
    EXPECT_EQ(loginSaki(31), 1);
}

TEST_F(LinkedGame, ALobbyConnectionClosingIsALogout) {
    server.connectionClosed(12);
    EXPECT_EQ(transport.take(11), Strings{"HisNone|END"});
    EXPECT_TRUE(transport.isClosed(22));
    EXPECT_FALSE(server.users()[2].InUse);
    server.connectionClosed(99);  // nobody's
    EXPECT_TRUE(server.users()[1].LoggedIn);
}

// A game program that connects again (as some do whenever their window comes
// to the front) takes the link; its earlier connection stays open but speaks
// for nobody, and its close ends nothing. One such is kept per user, until
// his game ends or he leaves.
TEST_F(LinkedGame, AGameLoginAgainTakesTheLinkAndLeavesTheOldConnectionOpen) {
    gameLogin(31, "taro", "pw1");
    EXPECT_EQ(transport.take(12), Strings{"GAMESETOK|taro|END"});
    EXPECT_FALSE(transport.isClosed(21));
    EXPECT_EQ(server.users()[1].GameSock, 31);
    EXPECT_EQ(server.users()[2].OppGameSock, 31);
    say(22, shogiMove(1));
    EXPECT_EQ(transport.take(31), Strings{shogiMove(1)});
    say(21, shogiMove(2));
    EXPECT_TRUE(transport.take(22).isEmpty());
    server.connectionClosed(21);
    EXPECT_TRUE(transport.take(11).isEmpty() && transport.take(12).isEmpty());
    EXPECT_TRUE(server.users()[1].Playing);

    gameLogin(41, "taro", "pw1");
    gameLogin(51, "taro", "pw1");
    EXPECT_TRUE(transport.isClosed(31));
    EXPECT_FALSE(transport.isClosed(41) || transport.isClosed(51));
    say(51, shogiMove(2));
    EXPECT_EQ(transport.take(22), Strings{shogiMove(2)});
    // The game ends: the old connection goes with the linked one.
    server.connectionClosed(22);
    EXPECT_TRUE(transport.isClosed(41) && transport.isClosed(51));
    // The user leaves: so does his old connection.
    say(11, "GameStart|taro|pw1|2|END");
    gameLogin(61, "hana", "pw2");
    gameLogin(62, "hana", "pw2");
    EXPECT_FALSE(transport.isClosed(61));
    say(12, "GameEnd|hana|END");
    EXPECT_TRUE(transport.isClosed(61) && transport.isClosed(62));
}

TEST_F(ServerCore, GoMovesCarryTheirNumberInField2) {
    login(11, "taro", "pw1", "taro@example.jp", 1);
    login(12, "hana", "pw2", "hana@example.jp", 1);
    say(11, "GameStart|taro|pw1|2|END");
    gameLogin(21, "taro", "pw1");
    gameLogin(22, "hana", "pw2");
    transport.forgetAll();
    const QString move = "SYOUGI_MSG2:" + QString(361, '2') + ": 1:0";
    say(22, move);
    EXPECT_EQ(transport.take(21), Strings{move});
    EXPECT_EQ(server.users()[2].Side, 1);
    say(21, "SYOUGI_MSG2:" + QString(361, '2'));
    EXPECT_EQ(invalid, Strings{kInvalid});
}

TEST_F(ServerCore, ExitClosesEveryConnection) {
    loginTaro(11);
    loginHana(12);
    say(11, "GameStart|taro|pw1|2|END");
    gameLogin(21, "taro", "pw1");
    accept(40);
    server.ThisExit();
    for (int s : {11, 12, 21, 40})
        EXPECT_TRUE(transport.isClosed(s)) << s;
    for (int i = 0; i < 53; ++i)
        EXPECT_FALSE(server.users()[i].InUse || server.users()[i].LoggedIn);
}

}  // namespace
}  // namespace lobbytest
