// The real server, `Brellow --headless`, as its peers meet it: raw sockets
// speaking UTF-16LE over the loopback.

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <csignal>
#include <memory>
#include <vector>

#include "brellowprocess.h"
#include "rawclient.h"
#include "shogimove.h"

namespace lobbytest {
namespace {

using testsupport::BrellowProcess;

QStringList users() {
    QStringList lines = {"1,taro,pw1,taro@example.jp,x", "2,hana,pw2,hana@example.jp,x",
                         "3,jiro,pw3,jiro@example.jp,x", "4,saki,pw4,saki@example.jp,x",
                         "5,ken,pw5,ken@example.jp,x"};
    for (int i = 1; i <= 51; ++i)
        lines << QString("%1,user%1,pass%1,user%1@example.jp,x").arg(i);
    return lines;
}

QString loginOf(const QString& id, const QString& pass, const QString& mail) {
    return "SVMSG_LOGIN|" + id + "," + pass + "," + mail + ", 0|END";
}

class Headless : public ::testing::Test {
protected:
    BrellowProcess server{users()};

    void SetUp() override { ASSERT_TRUE(server.start()) << server.errors().toStdString(); }

    std::unique_ptr<RawClient> connect() {
        auto c = std::make_unique<RawClient>(server.port);
        EXPECT_TRUE(c->connected());
        return c;
    }
    // A lobby client logged in as `id`; expects the index `index`.
    std::unique_ptr<RawClient> login(const QString& id, const QString& pass, int index) {
        auto c = connect();
        c->send(loginOf(id, pass, id + "@example.jp"));
        EXPECT_TRUE(c->next("LOGIN|OK| " + QString::number(index) + "|END"));
        return c;
    }
    // A game program linked to `id`.
    std::unique_ptr<RawClient> game(const QString& id, const QString& pass) {
        auto c = connect();
        c->send("GameLogin|" + id + "|" + pass + "|m|END");
        return c;
    }
};

TEST_F(Headless, LoginsAreCheckedAgainstTheUserFile) {
    auto taro = login("taro", "pw1", 1);
    auto hana = login("hana", "pw2", 2);

    auto wrong = connect();
    wrong->send(loginOf("taro", "nope", "taro@example.jp"));
    EXPECT_TRUE(wrong->closed());
    EXPECT_TRUE(wrong->pending().isEmpty());

    auto again = connect();
    again->send(loginOf("taro", "pw1", "taro@example.jp"));
    EXPECT_TRUE(again->next("NoLogin|END"));
    EXPECT_TRUE(again->closed());

    // The first login is untouched.
    taro->send("GetGameData|taro|pw1|1|END");
    EXPECT_TRUE(taro->next("AddFriends|taro,0, 1,False,False,hana,0, 2,False,False|END"));
    EXPECT_TRUE(server.waitForLine(" Status 127.0.0.1のログイン許可"));
}

TEST_F(Headless, TheListIsForLoggedInUsersOnly) {
    auto c = connect();
    c->send("GetGameData|x|y|0|END");
    // Unanswered: the answer to the login that follows is the first thing to come.
    c->send(loginOf("taro", "pw1", "taro@example.jp"));
    EXPECT_TRUE(c->next("LOGIN|OK| 1|END"));
    c->send("GetGameData|taro|pw1|1|END");
    EXPECT_TRUE(c->next("AddFriends|taro,0, 1,False,False|END"));
}

TEST_F(Headless, FiftyLogInBackToBackAndTheFiftyFirstIsTurnedAway) {
    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 1; i <= 50; ++i) {
        clients.push_back(std::make_unique<RawClient>(server.port));
        clients.back()->connected();
        clients.back()->send(loginOf(QString("user%1").arg(i), QString("pass%1").arg(i),
                                     QString("user%1@example.jp").arg(i)));
    }
    for (int i = 1; i <= 50; ++i)
        ASSERT_TRUE(clients[i - 1]->next("LOGIN|OK| " + QString::number(i) + "|END")) << i;

    RawClient extra(server.port);
    ASSERT_TRUE(extra.connected());
    extra.send(loginOf("user51", "pass51", "user51@example.jp"));
    EXPECT_TRUE(extra.next("LOGIN|No|END"));
    EXPECT_TRUE(extra.closed());

    // The fifty stay, and the list holds them all.
    clients[0]->send("GetGameData|user1|pass1|1|END");
    QString expected = "AddFriends|";
    for (int i = 1; i <= 50; ++i)
        expected += QString("user%1,0, %1,False,False,").arg(i);
    expected.chop(1);
    EXPECT_TRUE(clients[0]->next(expected + "|END"));
    for (auto& c : clients)
        EXPECT_TRUE(c->isOpen());

    // A freed slot takes the next one.
    clients[6]->send("GameEnd|user7|END");
    EXPECT_TRUE(clients[6]->closed());
    auto late = login("user51", "pass51", 7);
}

TEST_F(Headless, AMatchThroughTheServer) {
    auto taro = login("taro", "pw1", 1);
    auto hana = login("hana", "pw2", 2);
    auto jiro = login("jiro", "pw3", 3);

    taro->send("GameStart|taro|pw1|2|END");
    EXPECT_TRUE(taro->next("GameMsg|Battle|hana| 2|END"));
    EXPECT_TRUE(hana->next("GameMsg|Battle|taro| 1|END"));

    // Lobby chat between the pair; a keyword in the text is only text.
    const QString chat = "GameMsg|taro>GameStart GameEnd よろしく| 0|END";
    taro->send(chat);
    EXPECT_TRUE(hana->next(chat));
    hana->send("GMOK|受信しました。| 0|END");
    EXPECT_TRUE(taro->next("GMOK|受信しました。|END"));

    auto taroGame = game("taro", "pw1");
    EXPECT_TRUE(hana->next("GAMESETOK|taro|END"));
    // A move before hana's program is linked is lost.
    taroGame->send(shogiMove(1));
    auto hanaGame = game("hana", "pw2");
    // taro hears of the link after the move was handled, and so after all it
    // caused had been sent.
    EXPECT_TRUE(taro->next("GAMESETOK|hana|END"));
    EXPECT_TRUE(hanaGame->nothing());

    // jiro watches; his program is not started yet.
    jiro->send("WatchMsg|1|END");
    // The request has no answer; it must be in before the move, which comes
    // on another connection: what arrives at once on two connections may be
    // read in either order. A poll on jiro's connection shows it is in.
    EXPECT_TRUE(jiro->polled());
    hanaGame->send(shogiMove(2));
    EXPECT_TRUE(taroGame->next(shogiMove(2)));
    EXPECT_TRUE(jiro->next("GameMsg|NotStart|END"));
    taroGame->send("SYOUGI_MSG3:SEND_OK");
    EXPECT_TRUE(hanaGame->next("SYOUGI_MSG3:SEND_OK"));

    // Once linked, his program gets the names at once and each move after
    // it has acknowledged what came before.
    auto jiroGame = game("jiro", "pw3");
    EXPECT_TRUE(jiroGame->next("WatchData|taro|hana|END"));
    taroGame->send(shogiMove(3));
    EXPECT_TRUE(hanaGame->next(shogiMove(3)));
    jiroGame->send("SYOUGI_MSG3:SEND_OK");
    EXPECT_TRUE(jiroGame->next("WatchMsg|" + shogiMove(3)));
    jiroGame->send("SYOUGI_MSG3:SEND_OK");
    hanaGame->send(shogiMove(4));
    EXPECT_TRUE(jiroGame->next("WatchMsg|" + shogiMove(4)));
    EXPECT_TRUE(jiro->polled());
    EXPECT_TRUE(jiroGame->nothing());

    // Game chat, talk and the end of the game reach the opponent's program.
    taroGame->send("SYOUGI_MSG4:GameEnd|taro|END");
    EXPECT_TRUE(hanaGame->next("SYOUGI_MSG4:GameEnd|taro|END"));
    taroGame->send("SYOUGI_MSG5:あなたの負けです。");
    EXPECT_TRUE(hanaGame->next("SYOUGI_MSG5:あなたの負けです。"));

    // taro's program goes: hana's is sent away and both clients hear of it.
    taroGame->disconnect();
    EXPECT_TRUE(hanaGame->closed());
    EXPECT_TRUE(taro->next("GameMsg|ShutDown|END"));
    EXPECT_TRUE(hana->next("GameMsg|ShutDown|END"));
    EXPECT_TRUE(taro->isOpen());
    EXPECT_TRUE(jiro->polled());
}

TEST_F(Headless, RefusedChallengesComeBackAsLines) {
    auto taro = login("taro", "pw1", 1);
    auto hana = login("hana", "pw2", 2);
    auto jiro = login("jiro", "pw3", 3);
    taro->send("GameStart|taro|pw1|9|END");
    EXPECT_TRUE(taro->next("GameMsg|相手はログアウトしてしまいました。対戦できません。|END"));
    taro->send("GameStart|taro|pw1|2|END");
    EXPECT_TRUE(taro->next("GameMsg|Battle|hana| 2|END"));
    EXPECT_TRUE(hana->next("GameMsg|Battle|taro| 1|END"));
    jiro->send("GameStart|jiro|pw3|1|END");
    EXPECT_TRUE(jiro->next("GameMsg|相手は既に対戦中です。|END"));
    hana->send("GameStart|hana|pw2|3|END");
    EXPECT_TRUE(hana->next("GameMsg|あなたは既に対戦中です。|END"));
    EXPECT_TRUE(taro->polled());
}

TEST_F(Headless, MovesOfOneGameNeverReachAnotherGamesWatchers) {
    auto taro = login("taro", "pw1", 1);
    auto hana = login("hana", "pw2", 2);
    auto jiro = login("jiro", "pw3", 3);
    auto saki = login("saki", "pw4", 4);
    auto ken = login("ken", "pw5", 5);
    taro->send("GameStart|taro|pw1|2|END");
    jiro->send("GameStart|jiro|pw3|4|END");
    EXPECT_TRUE(jiro->next("GameMsg|Battle|saki| 4|END"));
    EXPECT_TRUE(saki->next("GameMsg|Battle|jiro| 3|END"));
    auto taroGame = game("taro", "pw1");
    auto hanaGame = game("hana", "pw2");
    auto jiroGame = game("jiro", "pw3");
    auto sakiGame = game("saki", "pw4");
    ken->send("WatchMsg|4|END");  // ken watches jiro against saki
    auto kenGame = game("ken", "pw5");
    EXPECT_TRUE(saki->next("GAMESETOK|jiro|END"));

    taroGame->send(shogiMove(1));
    EXPECT_TRUE(hanaGame->next(shogiMove(1)));
    hanaGame->send(shogiMove(2));
    EXPECT_TRUE(taroGame->next(shogiMove(2)));
    EXPECT_TRUE(ken->polled());
    EXPECT_TRUE(kenGame->nothing());

    sakiGame->send(shogiMove(1));
    EXPECT_TRUE(jiroGame->next(shogiMove(1)));
    EXPECT_TRUE(kenGame->next("WatchData|saki|jiro|END"));
    kenGame->send("SYOUGI_MSG3:SEND_OK");
    EXPECT_TRUE(kenGame->next("WatchMsg|" + shogiMove(1)));
    // Whatever the move and the acknowledgement caused was sent before the
    // answer to a poll that came after them.
    EXPECT_TRUE(ken->polled());
    EXPECT_TRUE(taroGame->nothing());
    EXPECT_TRUE(hanaGame->nothing());
}

TEST_F(Headless, AConnectionThatNeverLogsInIsClosedWithinTenSeconds) {
    auto silent = connect();
    auto taro = login("taro", "pw1", 1);
    QDeadlineTimer deadline(11000);
    EXPECT_TRUE(silent->closed(11000));
    EXPECT_GE(11000 - deadline.remainingTime(), 4500);
    EXPECT_TRUE(taro->isOpen());
}

TEST_F(Headless, GarbageLeavesTheServerServing) {
    auto taro = login("taro", "pw1", 1);
    QRandomGenerator random(20240601);
    std::vector<std::unique_ptr<RawClient>> noisy;
    for (int round = 0; round < 5; ++round) {
        auto c = connect();
        QByteArray bytes(4096 + round, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random.bounded(256));
        c->sendBytes(bytes);
        for (const QString& bad :
             {QString("GameStart|x|y|999|END"), QString("WatchMsg|-5|END"),
              QString("SVMSG_LOGIN|END"), QString("GameLogin|END"), QString("GMOK|END"),
              QString("SYOUGI_MSG2:駒:x:1:END"), QString("LOGOUT|"), QString("|||||END"),
              QString("GetGameData"), QString(QChar(0xD800)) + "SVMSG_LOGIN|a|END"})
            c->send(bad);
        noisy.push_back(std::move(c));
    }
    // A logged-in user sending malformed requests.
    taro->send("GameStart|taro|pw1|0|END");
    taro->send("WatchMsg|99999999999999|END");
    taro->send("GameStart");
    // And a peer that never ends its message.
    auto endless = connect();
    endless->send("GameMsg|" + QString(40 * 1024, 'x'));
    EXPECT_TRUE(endless->closed());

    // The next good login is served; which slot it gets depends on how many
    // of the noisy connections the server has closed by then.
    auto hana = connect();
    hana->send(loginOf("hana", "pw2", "hana@example.jp"));
    ASSERT_TRUE(waitUntil([&] { return hana->pending().endsWith("|END"); }, 5000));
    const QString reply = hana->pending();
    ASSERT_TRUE(reply.startsWith("LOGIN|OK| ")) << reply.toStdString();
    const QString index = reply.mid(9, reply.size() - 9 - 4);
    taro->send("GetGameData|taro|pw1|1|END");
    const QString list = "AddFriends|taro,0, 1,False,False,hana,0," + index + ",False,False|END";
    EXPECT_TRUE(waitUntil([&] { return taro->pending().endsWith(list); }, 5000))
        << taro->pending().toStdString();
    EXPECT_TRUE(server.output().contains(" Box 不正なデ－タが送信されました。"));
}

TEST_F(Headless, SigtermEndsTheServerCleanly) {
    auto taro = login("taro", "pw1", 1);
    EXPECT_EQ(server.stop(SIGTERM), 0) << server.errors().toStdString();
    EXPECT_TRUE(taro->closed());
}

TEST_F(Headless, SigintEndsTheServerCleanly) {
    EXPECT_EQ(server.stop(SIGINT), 0) << server.errors().toStdString();
}

TEST(HeadlessStart, AServerThatCannotListenSaysWhyAndEnds) {
    BrellowProcess first(users());
    ASSERT_TRUE(first.start());
    // A second server on the same port.
    QTemporaryDir folder;
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUOR_PORT", QString::number(first.port));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(folder.path());
    second.start(QStringLiteral(BRELLOW_PATH), {"--headless"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 1);
    const QString out = QString::fromUtf8(second.readAllStandardOutput());
    EXPECT_TRUE(out.contains(" Box 指定されたアドレスは使用中。")) << out.toStdString();
    EXPECT_TRUE(out.contains(" Msg BINDできません。")) << out.toStdString();
    // The first one is not disturbed.
    RawClient c(first.port);
    ASSERT_TRUE(c.connected());
    c.send(loginOf("taro", "pw1", "taro@example.jp"));
    EXPECT_TRUE(c.next("LOGIN|OK| 1|END"));
}

}  // namespace
}  // namespace lobbytest
