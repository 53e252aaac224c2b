// The server core bound to real sockets, in this process: the minute tick is
// driven directly, so "two minutes" take no time.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <memory>

#include "rawclient.h"
#include "serverhost.h"
#include "textfile.h"

using namespace Qt::StringLiterals;

namespace lobbytest {
namespace {

class ServerHostTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    quint16 port = 0;  // where the host listens, once it does
    std::unique_ptr<lobby::ServerHost> host;
    QStringList msgs;
    QStringList boxes;

    void SetUp() override {
        platform::writeTextLines(QDir(folder.path()).filePath("BrellowLogIn.txt"),
                                 {"1,taro,pw1,t@x,", "2,hana,pw2,h@x,", "3,jiro,pw3,j@x,"});
        qputenv("QUOR_PORT", "0");  // any free port
        host = std::make_unique<lobby::ServerHost>(folder.path());
        QObject::connect(host.get(), &lobby::ServerHost::msgChanged,
                         [this](const QString& t) { msgs << t; });
        QObject::connect(host.get(), &lobby::ServerHost::errorBox,
                         [this](const QString& t) { boxes << t; });
        host->start();
    }
    void TearDown() override { qunsetenv("QUOR_PORT"); }

    // Starts listening on the port the system gives; the clients go there.
    bool listen() {
        if (!host->StartListening()) return false;
        port = host->listeningPort();
        qputenv("QUOR_PORT", QByteArray::number(port));
        return port != 0;
    }

    std::unique_ptr<RawClient> login(const QString& id, const QString& pass, const QString& mail,
                                     int index) {
        auto c = std::make_unique<RawClient>(port);
        EXPECT_TRUE(c->connected());
        c->send("SVMSG_LOGIN|" + id + "," + pass + "," + mail + ", 0|END");
        EXPECT_TRUE(c->next("LOGIN|OK| " + QString::number(index) + "|END"));
        return c;
    }
};

TEST_F(ServerHostTest, ListensOnQuorPortAndKeepsARunningListener) {
    ASSERT_TRUE(listen());
    EXPECT_EQ(msgs.last(), u"クライアント待受");
    EXPECT_TRUE(host->StartListening());
    EXPECT_EQ(msgs.last(), u"既にクライアント待受中です。");
    EXPECT_TRUE(boxes.isEmpty());
    auto taro = login("taro", "pw1", "t@x", 1);
    EXPECT_EQ(
        msgs.filter(QRegularExpression(u"^127\\.0\\.0\\.1が接続してきました。port=\\d+$"_s)).size(),
        1)
        << msgs.join('\n').toStdString();
}

TEST_F(ServerHostTest, ABadPortSettingIsToldAndNothingListens) {
    qputenv("QUOR_PORT", "eighty");
    EXPECT_FALSE(host->StartListening());
    EXPECT_FALSE(host->isListening());
    EXPECT_EQ(msgs.last(), u"BINDできません。");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_FALSE(boxes[0].isEmpty());
}

TEST_F(ServerHostTest, TwoServersRunSideBySideInOneProcess) {
    ASSERT_TRUE(listen());
    qputenv("QUOR_PORT", "0");
    lobby::ServerHost other(folder.path());
    ASSERT_TRUE(other.StartListening());
    const quint16 otherPort = other.listeningPort();
    ASSERT_NE(otherPort, port);
    auto taro = login("taro", "pw1", "t@x", 1);
    RawClient elsewhere(otherPort);
    ASSERT_TRUE(elsewhere.connected());
    elsewhere.send("SVMSG_LOGIN|taro,pw1,t@x, 0|END");
    EXPECT_TRUE(elsewhere.next("LOGIN|OK| 1|END"));
    EXPECT_EQ(host->server().users()[1].UserID, u"taro");
    EXPECT_EQ(other.server().users()[1].UserID, u"taro");
}

TEST_F(ServerHostTest, AClientThatStopsPollingIsDroppedAtTheSecondMinuteTick) {
    ASSERT_TRUE(listen());
    auto taro = login("taro", "pw1", "t@x", 1);
    auto hana = login("hana", "pw2", "h@x", 2);
    taro->send("GameStart|taro|pw1|2|END");
    ASSERT_TRUE(taro->next("GameMsg|Battle|hana| 2|END"));
    ASSERT_TRUE(hana->next("GameMsg|Battle|taro| 1|END"));

    for (int minute = 1; minute <= 2; ++minute) {
        hana->send("GetGameData|hana|pw2|2|END");
        ASSERT_TRUE(hana->next("AddFriends|taro,0, 1,True,False,hana,0, 2,True,False|END"));
        host->server().minuteTick();
        // The tick sends what it sends before it returns.
        if (minute == 1) {
            EXPECT_TRUE(taro->nothing());
        }
    }
    EXPECT_TRUE(taro->closed());
    EXPECT_TRUE(hana->next("HisNone|END"));
    EXPECT_TRUE(hana->isOpen());
}

// "LOGOUT" is a logout with or without "|END", and a bare one followed by
// another request does not swallow it.
TEST_F(ServerHostTest, ABareLogoutLogsOut) {
    ASSERT_TRUE(listen());
    auto taro = login("taro", "pw1", "t@x", 1);
    auto hana = login("hana", "pw2", "h@x", 2);
    taro->send("LOGOUT");
    EXPECT_TRUE(taro->closed());
    hana->send("LOGOUT");
    hana->send("GetGameData|hana|pw2|2|END");
    EXPECT_TRUE(hana->closed());
    EXPECT_FALSE(host->server().users()[1].LoggedIn || host->server().users()[2].LoggedIn);
    auto jiro = login("jiro", "pw3", "j@x", 1);
    jiro->send("GetGameData|jiro|pw3|1|END");
    ASSERT_TRUE(jiro->next("AddFriends|jiro,0, 1,False,False|END"));
    jiro->send("LOGOUT|END");
    EXPECT_TRUE(jiro->closed());
}

TEST_F(ServerHostTest, ExitClosesTheListenerAndEveryConnection) {
    ASSERT_TRUE(listen());
    auto taro = login("taro", "pw1", "t@x", 1);
    RawClient waiting(port);
    ASSERT_TRUE(waiting.connected());
    host->ThisExit();
    EXPECT_FALSE(host->isListening());
    EXPECT_TRUE(taro->closed());
    EXPECT_TRUE(waiting.closed());
    RawClient late(port);
    EXPECT_FALSE(late.connected(500));
}

}  // namespace
}  // namespace lobbytest
