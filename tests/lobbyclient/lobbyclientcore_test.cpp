// The lobby client without its windows, on scripted sockets and a hand-moved
// clock: the login and its timeout, the poll, what each reply of the server
// does, and the end of the connection. No socket, no wait.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "lobbyclient.h"
#include "scriptedclienttransport.h"

namespace lobbyclient {
namespace {

using testsupport::ClientHandClock;
using testsupport::ScriptedClientTransport;

const QString kGmok = QStringLiteral("GMOK|受信しました。| 0|END");
const QString kNoAnswer = QStringLiteral("サ－バ－から応答がありません。");

// What the lobby window would show, kept as text.
class RecordingView : public LobbyView {
public:
    QStringList log, boxes, lines;
    QString status, game;
    bool listEnabled = false, startEnabled = false, sendEnabled = false, loggedIn = false;
    int dialogCloses = 0, ends = 0;

    void addLogLine(const QString& line) override { log << line; }
    void setStatusText(const QString& text) override { status = text; }
    void setUserLines(const QStringList& l) override { lines = l; }
    void setListEnabled(bool on) override { listEnabled = on; }
    void setGameLabel(const QString& name) override { game = name; }
    void setStartEnabled(bool on) override { startEnabled = on; }
    void setSendEnabled(bool on) override { sendEnabled = on; }
    void setLoggedInCaption(bool on) override { loggedIn = on; }
    void showMessageBox(const QString& text) override { boxes << text; }
    void closeLoginDialog() override { ++dialogCloses; }
    void endProgram() override { ++ends; }
};

// One lobby client on scripted sockets, with a server played by the test.
struct Client {
    const LoginRecord record{QStringLiteral("taro"), QStringLiteral("pw"),
                             QStringLiteral("taro@example.jp"), QStringLiteral("lobby.example.jp"),
                             1};

    // "送　信" of the login dialog and the connection made; the login request
    // taken.
    void connect() {
        client.Connect(record);
        server.connectDone();
        server.take();
    }
    // Logged in as user `index`.
    void logIn(int index = 4) {
        connect();
        server.send(QStringLiteral("LOGIN|OK| %1|END").arg(index));
    }

    QTemporaryDir folder;
    ScriptedClientTransport server;
    ClientHandClock clock;
    RecordingView view;
    LobbyClient client{view, folder.path(), {}, server, clock};
};

TEST(LobbyClient, LogsInOnTheConnectionItMakes) {
    Client c;
    c.client.Connect(c.record);
    EXPECT_EQ(c.server.servers, QStringList{QStringLiteral("lobby.example.jp")});
    EXPECT_EQ(c.view.status, u"lobby.example.jp");
    c.client.Connect(c.record);  // under way already: no second socket
    EXPECT_EQ(c.server.servers.size(), 1);
    c.server.connectDone();
    EXPECT_EQ(c.server.take(),
              QStringList{QStringLiteral("SVMSG_LOGIN|taro,pw,taro@example.jp, 1|END")});
    EXPECT_EQ(c.view.log, QStringList{QStringLiteral("SERVER:>接続が完了しました。")});
    c.server.send(QStringLiteral("LOGIN|OK| 4|END"));
    EXPECT_FALSE(c.client.fLog());
    EXPECT_EQ(c.client.MyIndex(), 4);
    EXPECT_EQ(c.view.game, u"囲碁");
    EXPECT_TRUE(c.view.loggedIn && c.view.sendEnabled && c.view.listEnabled);
    EXPECT_EQ(c.view.dialogCloses, 1);
    c.clock.advance(60000);  // the login timeout is over with the answer
    EXPECT_TRUE(c.view.boxes.isEmpty());
}

TEST(LobbyClient, AFailedConnectShowsNothingAndTheNextPressTriesAgain) {
    Client c;
    c.client.Connect(c.record);
    c.server.connectDone(10061);
    EXPECT_EQ(c.client.DataSock(), 0);
    c.clock.advance(10000);
    EXPECT_TRUE(c.view.boxes.isEmpty());
    c.client.Connect(c.record);
    EXPECT_EQ(c.server.servers.size(), 2);
}

TEST(LobbyClient, ALoginWithoutAnAnswerIsGivenUpAfterTenSeconds) {
    struct Case {
        const char* name;
        bool connected;  // the connect completed, the login reply never came
    };
    for (const Case& k : {Case{"connect hangs", false}, Case{"service silent", true}}) {
        SCOPED_TRACE(k.name);
        Client c;
        c.client.Connect(c.record);
        if (k.connected) c.server.connectDone();
        const net::SocketHandle socket = c.client.DataSock();
        c.clock.advance(9999);
        EXPECT_TRUE(c.view.boxes.isEmpty());
        c.clock.advance(1);
        EXPECT_EQ(c.view.boxes, QStringList{kNoAnswer});
        EXPECT_FALSE(c.server.isOpen(socket));
        EXPECT_EQ(c.client.DataSock(), 0);
        c.clock.advance(60000);  // once
        EXPECT_EQ(c.view.boxes.size(), 1);
        c.client.Connect(c.record);
        EXPECT_EQ(c.server.servers.size(), 2);
    }
}

TEST(LobbyClient, TheListIsPolledEveryFiveSecondsWhileLoggedIn) {
    Client c;
    c.logIn(4);
    c.clock.advance(15000);
    const QString poll = QStringLiteral("GetGameData|taro|pw|4|END");
    EXPECT_EQ(c.server.take(), (QStringList{poll, poll, poll}));
    c.client.logout();
    EXPECT_EQ(c.server.take(), QStringList{QStringLiteral("GameEnd|taro|END")});
    EXPECT_TRUE(c.client.fLog());
    EXPECT_FALSE(c.client.Timer1().isActive());
    c.clock.advance(15000);
    EXPECT_TRUE(c.server.take().isEmpty());
}

TEST(LobbyClient, WhatEachReplyOfTheServerDoes) {
    struct Case {
        QString text;
        QString logged;  // the last log line afterwards
        bool inBattle;   // after a challenge was sent
        QStringList answer;
    };
    const Case cases[] = {
        {QStringLiteral("GameMsg|Battle|hana| 5|END"), QStringLiteral("Battle"), true, {kGmok}},
        {QStringLiteral("GameMsg|ShutDown|END"), QStringLiteral("ShutDown"), false, {kGmok}},
        {QStringLiteral("GameMsg|hana>やあ| 0|END"), QStringLiteral("hana>やあ"), true, {kGmok}},
        {QStringLiteral("GameMsg|相手は既に対戦中です。|END"),
         QStringLiteral("相手は既に対戦中です。"),
         false,
         {}},
        {QStringLiteral("HisNone|END"),
         QStringLiteral("SERVER:>相手が離籍してしまいました。"),
         false,
         {}},
        {QStringLiteral("LogOut|END"),
         QStringLiteral("SERVER:>サ－バ－から切断されました。"),
         false,
         {}},
        {QStringLiteral("GameEnd|hana|END"),
         QStringLiteral("SERVER:>相手は、離籍しました。"),
         false,
         {}},
        {QStringLiteral("GAMESETOK|hana|END"),
         QStringLiteral("SERVER:>hanaはゲ－ムを起動しました。"),
         true,
         {}},
        {QStringLiteral("GMOK|受信しました。|END"), QString(), true, {}},
        {QStringLiteral("nonsense"), QString(), true, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text.toStdString());
        Client c;
        c.logIn(4);
        c.server.send(QStringLiteral("AddFriends|taro,1, 4,False,False,hana,1, 5,False,False|END"));
        ASSERT_EQ(c.view.lines.size(), 2);
        c.client.challenge(c.view.lines[1]);
        EXPECT_EQ(c.server.take(), QStringList{QStringLiteral("GameStart|taro|pw|5|END")});
        c.view.log.clear();
        c.server.send(k.text);
        EXPECT_EQ(c.view.log.value(c.view.log.size() - 1), k.logged);
        EXPECT_EQ(c.client.InBattle(), k.inBattle);
        EXPECT_EQ(c.server.take(), k.answer);
        EXPECT_TRUE(c.view.boxes.isEmpty());
    }
}

TEST(LobbyClient, RefusalsAndTheEndOfTheConnection) {
    struct Case {
        const char* name;
        std::function<void(Client&)> act;
        QStringList boxes;
        bool closed;
        int ends;
    };
    const Case cases[] = {
        {"full",
         [](Client& c) { c.server.send(QStringLiteral("LOGIN|No|END")); },
         {QStringLiteral("満員のためログインが拒否されました。No")},
         true,
         0},
        {"logged in already",
         [](Client& c) { c.server.send(QStringLiteral("NoLogin|END")); },
         {QStringLiteral("既にログインしています。再ログインが拒否されました。")},
         false,
         0},
        {"server gone", [](Client& c) { c.server.peerCloses(); }, {}, true, 0},
        {"dead",
         [](Client& c) { c.server.send(QStringLiteral("Dead|END")); },
         {QStringLiteral(
             "タイムオ－バ－のため、サ－バ－から切断されました。再度ログインしてください。")},
         true,
         1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Client c;
        c.connect();
        const net::SocketHandle socket = c.client.DataSock();
        k.act(c);
        EXPECT_EQ(c.view.boxes, k.boxes);
        EXPECT_EQ(c.server.isOpen(socket), !k.closed);
        EXPECT_EQ(c.view.ends, k.ends);
        EXPECT_TRUE(c.client.fLog());
        c.clock.advance(10000);  // the attempt is over: no timeout box follows
        EXPECT_EQ(c.view.boxes, k.boxes);
    }
}

}  // namespace
}  // namespace lobbyclient
