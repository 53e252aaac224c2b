// The real server with peers that take each socket read for one message, as
// the game programs and lobby clients of other makers on the wire do: every
// message the server sends them must come in a read of its own.

#include <gtest/gtest.h>

#include <memory>

#include "brellowprocess.h"
#include "rawclient.h"
#include "shogimove.h"
#include "strictpeer.h"

namespace lobbytest {
namespace {

using testsupport::BrellowProcess;

QString watched(int n) {
    return "WatchMsg|" + shogiMove(n);
}

class StrictPeers : public ::testing::Test {
protected:
    BrellowProcess server{{"1,taro,pw1,taro@example.jp,x", "2,hana,pw2,hana@example.jp,x",
                           "3,jiro,pw3,jiro@example.jp,x", "4,saki,pw4,saki@example.jp,x"}};

    void SetUp() override { ASSERT_TRUE(server.start()) << server.errors().toStdString(); }

    std::unique_ptr<StrictPeer> client(const QString& id, const QString& pass, int index) {
        auto c = std::make_unique<StrictPeer>(server.port, 4999);
        c->send("SVMSG_LOGIN|" + id + "," + pass + "," + id + "@example.jp, 0|END");
        EXPECT_EQ(c->read(), "LOGIN|OK| " + QString::number(index) + "|END");
        return c;
    }
    std::unique_ptr<StrictPeer> game(const QString& id, const QString& pass) {
        auto g = std::make_unique<StrictPeer>(server.port);
        g->send("GameLogin|" + id + "|" + pass + "|m|END");
        return g;
    }
    // taro (1) and hana (2) paired, their programs linked.
    void pairTaroAndHana() {
        taro = client("taro", "pw1", 1);
        hana = client("hana", "pw2", 2);
        taro->send("GameStart|taro|pw1|2|END");
        EXPECT_EQ(taro->read(), "GameMsg|Battle|hana| 2|END");
        EXPECT_EQ(hana->read(), "GameMsg|Battle|taro| 1|END");
        taroGame = game("taro", "pw1");
        EXPECT_EQ(hana->read(), "GAMESETOK|taro|END");
        hanaGame = game("hana", "pw2");
        EXPECT_EQ(taro->read(), "GAMESETOK|hana|END");
    }

    std::unique_ptr<StrictPeer> taro, hana, taroGame, hanaGame;
};

// A watcher who joins before the first move and one who joins mid-game both
// get the players' names and then every move, each in a read of its own, in
// order, though the players move in one breath.
TEST_F(StrictPeers, WatchersReadTheNamesAndEveryMoveOneByOne) {
    pairTaroAndHana();
    auto jiro = client("jiro", "pw3", 3);
    jiro->send("WatchMsg|1|END");
    auto jiroGame = game("jiro", "pw3");
    jiroGame->answerEveryRead();
    EXPECT_TRUE(jiroGame->takeReads(1, 300).isEmpty());  // nobody has moved yet

    // hana answers as soon as the move is in, as a computer player does.
    taroGame->send(shogiMove(1));
    EXPECT_EQ(hanaGame->read(), shogiMove(1));
    hanaGame->send(shogiMove(2));
    EXPECT_EQ(jiroGame->takeReads(3),
              (QStringList{"WatchData|taro|hana|END", watched(1), watched(2)}));

    auto saki = client("saki", "pw4", 4);
    saki->send("WatchMsg|2|END");
    auto sakiGame = game("saki", "pw4");
    sakiGame->answerEveryRead();
    EXPECT_EQ(sakiGame->takeReads(1), QStringList{"WatchData|taro|hana|END"});
    taroGame->send(shogiMove(3));
    EXPECT_EQ(hanaGame->read(), shogiMove(3));
    hanaGame->send(shogiMove(4));
    EXPECT_EQ(sakiGame->takeReads(2), (QStringList{watched(3), watched(4)}));
    EXPECT_EQ(jiroGame->takeReads(2), (QStringList{watched(3), watched(4)}));
}

// After five wrong passwords from this address, right logins from it, of a
// lobby client and of game programs (which never send theirs twice), wait
// for their turns and get in.
TEST_F(StrictPeers, RightLoginsFromASlowedAddressGetIn) {
    taro = client("taro", "pw1", 1);
    for (int i = 0; i < 5; ++i) {
        StrictPeer guess(server.port, 4999);
        guess.send("SVMSG_LOGIN|hana,guess,hana@example.jp, 0|END");
        EXPECT_FALSE(guess.read(2000));
    }
    hana = client("hana", "pw2", 2);
    taro->send("GameStart|taro|pw1|2|END");
    EXPECT_EQ(taro->read(), "GameMsg|Battle|hana| 2|END");
    EXPECT_EQ(hana->read(), "GameMsg|Battle|taro| 1|END");
    taroGame = game("taro", "pw1");
    hanaGame = game("hana", "pw2");
    EXPECT_EQ(hana->read(), "GAMESETOK|taro|END");
    EXPECT_EQ(taro->read(), "GAMESETOK|hana|END");
    taroGame->send(shogiMove(1));
    EXPECT_EQ(hanaGame->read(), shogiMove(1));
}

// A game program that connects again while its first connection is open
// plays on over the new one: the server leaves the old one open (its close
// would make such a program close the new one too, and end the match).
TEST_F(StrictPeers, AGameProgramThatConnectsAgainPlaysOn) {
    pairTaroAndHana();
    taroGame->connectAgain();
    taroGame->send("GameLogin|taro|pw1|m|END");
    EXPECT_EQ(hana->read(), "GAMESETOK|taro|END");
    EXPECT_FALSE(taroGame->anyClosed(300));
    hanaGame->send(shogiMove(1));
    EXPECT_EQ(taroGame->read(), shogiMove(1));
    taroGame->send(shogiMove(2));
    EXPECT_EQ(hanaGame->read(), shogiMove(2));
    EXPECT_FALSE(taro->read(300));  // no "ShutDown"
    EXPECT_FALSE(taroGame->anyClosed());
}

// A client that marks itself in a match when it challenges hears, after the
// refusal and its answer to it, that no match follows; then it may challenge
// again.
TEST_F(StrictPeers, ARefusedChallengerMayChallengeAgain) {
    pairTaroAndHana();
    auto jiro = client("jiro", "pw3", 3);
    auto saki = client("saki", "pw4", 4);
    jiro->send("GameStart|jiro|pw3|1|END");
    EXPECT_EQ(jiro->read(), "GameMsg|相手は既に対戦中です。|END");
    jiro->send("GMOK|受信しました。| 0|END");
    EXPECT_EQ(jiro->read(), "GameMsg|ShutDown|END");
    jiro->send("GMOK|受信しました。| 0|END");
    jiro->send("GameStart|jiro|pw3|4|END");
    EXPECT_EQ(jiro->read(), "GameMsg|Battle|saki| 4|END");
}

// Peers that never rejoin, with a server that waits a second: a program
// that goes without a word leaves the game waiting (its opponent's program
// is told in a read of its own, its client hears of the pairing again), and
// "ShutDown" comes when the wait is over; a game its players ended ends at
// once.
class StrictPeersWaited : public StrictPeers {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start({QStringLiteral("--rejoin-wait"), QStringLiteral("1")}))
            << server.errors().toStdString();
    }
};

TEST_F(StrictPeersWaited, AProgramGoneWithoutAWordEndsTheMatchAfterTheWait) {
    pairTaroAndHana();
    taroGame->send(shogiMove(1));
    EXPECT_EQ(hanaGame->read(), shogiMove(1));
    hanaGame->send("SYOUGI_MSG3:SEND_OK");
    EXPECT_EQ(taroGame->read(), "SYOUGI_MSG3:SEND_OK");
    hanaGame->leave();
    EXPECT_EQ(taroGame->read(), "SYOUGI_MSG4:相手の接続が切れました。戻るのを待っています。");
    taroGame->send("SYOUGI_MSG3:SEND_OK");
    EXPECT_EQ(hana->read(), "GameMsg|Battle|taro| 1|END");
    hana->send("GMOK|受信しました。| 0|END");
    EXPECT_EQ(taro->read(), "GMOK|受信しました。|END");
    EXPECT_FALSE(taro->read(300));  // the wait goes on
    EXPECT_EQ(taro->read(3000), "GameMsg|ShutDown|END");
    EXPECT_EQ(hana->read(), "GameMsg|ShutDown|END");
    EXPECT_EQ(taroGame->read(), "GameLeave|END");
    EXPECT_TRUE(taroGame->anyClosed(2000));
}

TEST_F(StrictPeersWaited, AResignedGameEndsAtOnceWhenAProgramGoes) {
    pairTaroAndHana();
    taroGame->send(shogiMove(1));
    EXPECT_EQ(hanaGame->read(), shogiMove(1));
    hanaGame->send("SYOUGI_MSG6:投了です。あなたの勝ちです。有り難うございました。");
    EXPECT_EQ(taroGame->read(), "SYOUGI_MSG6:投了です。あなたの勝ちです。有り難うございました。");
    hanaGame->leave();
    EXPECT_EQ(taro->read(500), "GameMsg|ShutDown|END");
    EXPECT_EQ(hana->read(500), "GameMsg|ShutDown|END");
    EXPECT_EQ(taroGame->read(), "GameLeave|END");
}

}  // namespace
}  // namespace lobbytest
