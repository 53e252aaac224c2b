// A game whose player's program loses its connection waits for it: the
// core with a wait of two minutes, on recorded sockets and a hand clock.

#include <gtest/gtest.h>

#include <functional>

#include "fakeserver.h"
#include "shogimove.h"

namespace lobbytest {
namespace {

using Strings = QStringList;
constexpr qint64 kWaitMs = 120000;
const QString kAck = QStringLiteral("SYOUGI_MSG3:SEND_OK");
const QString kLost = QStringLiteral("SYOUGI_MSG4:相手の接続が切れました。戻るのを待っています。");
const QString kBack = QStringLiteral("SYOUGI_MSG4:相手が戻りました。対局を続けます。");
const QString kResign =
    QStringLiteral("SYOUGI_MSG6:投了です。あなたの勝ちです。有り難うございました。");

// The move as "OwnMove" carries it: without its keyword.
QString ownMove(int n) {
    return "OwnMove|" + shogiMove(n).sliced(QStringLiteral("SYOUGI_MSG2:").size()) + "|END";
}

// taro (1, lobby 11, game 21) and hana (2, lobby 12, game 22) play; the
// server waits two minutes for a program that went.
struct Game : ServerFixture {
    Game() {
        server.setRejoinWaitMs(kWaitMs);
        loginTaro(11);
        loginHana(12);
        say(11, "GameStart|taro|pw1|2|END");
        gameLogin(21, "taro", "pw1");
        gameLogin(22, "hana", "pw2");
        transport.forgetAll();
    }
    Game(const Game&) = delete;
    // Moves 1 .. n, each acknowledged: taro's odd, hana's even.
    void play(int n) {
        for (int k = 1; k <= n; ++k) {
            say(k % 2 == 1 ? 21 : 22, shogiMove(k));
            ack(k % 2 == 1 ? 22 : 21);
        }
        transport.forgetAll();
    }
    // taro's program goes without a word; hana's program hears of it and
    // answers as every program answers a read.
    void taroLost() {
        server.connectionClosed(21);
        EXPECT_EQ(transport.take(22), Strings{kLost});
        // His client may start a program anew.
        EXPECT_EQ(transport.take(11), Strings{"GameMsg|Battle|hana| 2|END"});
        ack(22);
    }
    void expectMatchOver() {
        SCOPED_TRACE("the match is over");
        EXPECT_EQ(transport.take(11), Strings{"GameMsg|ShutDown|END"});
        EXPECT_EQ(transport.take(12), Strings{"GameMsg|ShutDown|END"});
        EXPECT_FALSE(server.users()[1].Playing || server.users()[2].Playing);
        EXPECT_TRUE(transport.isClosed(22));
    }
};

// Back within the wait, on a new connection: the links are made again, the
// program is given the last move (its own in a form of its own), the
// opponent's program hears he is back, and the game goes on.
TEST(Rejoin, AProgramBackWithinTheWaitTakesTheGameUp) {
    struct Case {
        const char* name;
        int played;               // before the connection went
        bool hanaMovesMeanwhile;  // then the server acknowledges for taro
        QString resume;           // what taro's new program is given
    };
    const Case cases[] = {
        {"his own move was the last", 3, false, ownMove(3)},
        {"the opponent's move was the last", 2, false, shogiMove(2)},
        {"the opponent moved while he was away", 3, true, shogiMove(4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game g;
        g.play(c.played);
        g.taroLost();
        EXPECT_TRUE(g.transport.isClosed(21));
        EXPECT_EQ(g.wakes.last(), g.now + kWaitMs);
        EXPECT_TRUE(g.transport.take(12).isEmpty());
        // Still a game of the lobby, and nobody may challenge its players.
        EXPECT_EQ(g.server.publicLobby().games.size(), 1u);
        g.loginJiro(13);
        g.say(13, "GameStart|jiro|pw3|1|END");
        EXPECT_FALSE(g.server.users()[3].Playing);
        if (c.hanaMovesMeanwhile) {
            g.say(22, shogiMove(4));
            EXPECT_EQ(g.transport.take(22), Strings{kAck});
            g.ack(22);
        }
        g.later(kWaitMs - 1000);
        g.transport.forgetAll();
        g.gameLogin(31, "taro", "pw1");
        EXPECT_EQ(g.transport.take(31), Strings{c.resume});
        EXPECT_EQ(g.transport.take(22), Strings{kBack});
        EXPECT_EQ(g.transport.take(12), Strings{"GAMESETOK|taro|END"});
        // Their answers to the server's own lines are the server's.
        g.ack(31);
        g.ack(22);
        EXPECT_TRUE(g.transport.take(22).isEmpty());
        EXPECT_TRUE(g.transport.take(31).isEmpty());
        // Asked again, the program is not given it twice.
        g.say(31, "GameRejoin|END");
        EXPECT_TRUE(g.transport.take(31).isEmpty());
        const int next = c.hanaMovesMeanwhile ? 5 : c.played + 1;
        const bool taros = next % 2 == 1;
        g.say(taros ? 31 : 22, shogiMove(next));
        EXPECT_EQ(g.transport.take(taros ? 22 : 31), Strings{shogiMove(next)});
        // The wait is over: its time passing ends nothing.
        g.later(kWaitMs);
        EXPECT_TRUE(g.server.users()[1].Playing && g.server.users()[2].Playing);
    }
}

// Not back in time: the match ends as it always ended when a program went.
TEST(Rejoin, AProgramNotBackInTimeEndsTheMatch) {
    Game g;
    g.play(2);
    g.taroLost();
    g.later(kWaitMs - 1);
    EXPECT_TRUE(g.transport.take(12).isEmpty());
    g.later(1);
    EXPECT_EQ(g.transport.take(22), Strings{"GameLeave|END"});
    g.expectMatchOver();
    // A program that comes later is linked, to no game.
    g.gameLogin(31, "taro", "pw1");
    EXPECT_TRUE(g.transport.take(31).isEmpty());
}

// A game its players ended, a program that says it leaves, a server that
// waits for nobody: the match ends at once, as it did.
TEST(Rejoin, AGameEndedOnPurposeEndsAtOnce) {
    struct Case {
        const char* name;
        std::function<void(Game&)> end;
    };
    const Case cases[] = {
        {"the program says it leaves", [](Game& g) { g.say(21, "GameLeave|END"); }},
        {"resigned, then closed",
         [](Game& g) {
             g.say(21, kResign);
             g.server.connectionClosed(21);
         }},
        {"a king taken, then closed",
         [](Game& g) {
             g.say(21, "SYOUGI_MSG5:あなたの負けです。");
             g.server.connectionClosed(21);
         }},
        {"no wait",
         [](Game& g) {
             g.server.setRejoinWaitMs(0);
             g.server.connectionClosed(21);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game g;
        g.play(2);
        c.end(g);
        EXPECT_TRUE(g.transport.isClosed(21));
        g.expectMatchOver();
    }
}

// A program that connected again while the server still held its old
// connection (which went silent) asks for the position itself.
TEST(Rejoin, AProgramBackOnANewConnectionAsksForThePosition) {
    Game g;
    g.play(3);
    g.gameLogin(31, "taro", "pw1");
    EXPECT_TRUE(g.transport.take(31).isEmpty());
    g.say(31, "GameRejoin|END");
    EXPECT_EQ(g.transport.take(31), Strings{ownMove(3)});
    g.ack(31);
    g.say(22, shogiMove(4));
    EXPECT_EQ(g.transport.take(31), Strings{shogiMove(4)});
    // Only a linked program of a player is answered.
    g.say(21, "GameRejoin|END");
    g.loginJiro(13);
    g.gameLogin(23, "jiro", "pw3");
    g.say(23, "GameRejoin|END");
    EXPECT_TRUE(g.transport.take(21).isEmpty());
    EXPECT_TRUE(g.transport.take(23).isEmpty());
}

// Both programs went: each waits; the first wait to run out ends the match.
TEST(Rejoin, BothProgramsGoneWaitAndTheFirstWaitEndsIt) {
    Game g;
    g.play(2);
    g.taroLost();
    g.later(1000);
    g.server.connectionClosed(22);
    EXPECT_EQ(g.transport.take(12), Strings{"GameMsg|Battle|taro| 1|END"});
    g.later(kWaitMs - 1000);
    EXPECT_EQ(g.transport.take(11), Strings{"GameMsg|ShutDown|END"});
    EXPECT_EQ(g.transport.take(12), Strings{"GameMsg|ShutDown|END"});
    EXPECT_FALSE(g.server.users()[1].Playing || g.server.users()[2].Playing);
}

}  // namespace
}  // namespace lobbytest
