#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "fakeserver.h"

// What the server hands to an onlooker of the lobby (the web front): who is
// on and which games run, and every game message it relays but chat and
// acknowledgements; nothing else.

namespace lobbytest {
namespace {

using lobby::GameEndCause;
using lobby::PublicGame;
using lobby::PublicLobby;
using lobby::PublicUser;
using State = lobby::PublicUser::State;
using Relayed = std::tuple<quint64, QString, QString>;

class Onlooker : public ::testing::Test, public ServerFixture {
protected:
    std::vector<PublicLobby> lobbies;
    std::vector<std::tuple<quint64, int, QString, QString>> began;
    std::vector<Relayed> relayed;
    std::vector<std::pair<quint64, GameEndCause>> ended;

    Onlooker() {
        QObject::connect(&server, &lobby::LobbyServer::lobbyChanged,
                         [this](const PublicLobby& l) { lobbies.push_back(l); });
        QObject::connect(&server, &lobby::LobbyServer::gameBegan,
                         [this](quint64 n, int kind, const QString& a, const QString& b) {
                             began.emplace_back(n, kind, a, b);
                         });
        QObject::connect(&server, &lobby::LobbyServer::gameRelayed,
                         [this](quint64 n, const QString& from, const QString& text) {
                             relayed.emplace_back(n, from, text);
                         });
        QObject::connect(&server, &lobby::LobbyServer::gameEnded,
                         [this](quint64 n, GameEndCause c) { ended.emplace_back(n, c); });
    }

    void pairTaroAndHana() {
        say(11, "GameStart|taro|pw1|2|END");
        gameLogin(21, "taro", "pw1");
        gameLogin(22, "hana", "pw2");
    }
};

TEST_F(Onlooker, SeesWhoIsOnAndTheGamesWithTheirWatchersOnlyWhenThatChanges) {
    loginTaro(11);
    loginHana(12);
    login(13, "jiro", "pw3", "jiro@example.jp", 1);
    ASSERT_EQ(lobbies.size(), 3u);
    pairTaroAndHana();
    say(13, "WatchMsg|1|END");
    const std::size_t seen = lobbies.size();
    say(21, shogiMove(1));
    say(22, shogiMove(2));
    say(11, "GetGameData|taro|pw1|0|END");
    EXPECT_EQ(lobbies.size(), seen) << "moves and polls change nothing anyone sees";
    EXPECT_EQ(lobbies.back(), (PublicLobby{{{"taro", 0, State::Playing},
                                            {"hana", 0, State::Playing},
                                            {"jiro", 1, State::Watching}},
                                           {PublicGame{1, 0, "taro", "hana", 1}}}));

    say(12, "GameEnd|hana|END");
    EXPECT_EQ(lobbies.back(),
              (PublicLobby{{{"taro", 0, State::Free}, {"jiro", 1, State::Free}}, {}}));
}

TEST_F(Onlooker, GetsEveryRelayedGameMessageButChatAndAcknowledgementsAndHowGamesEnd) {
    loginTaro(11);
    loginHana(12);
    pairTaroAndHana();
    for (const QString& m : {shogiMove(1), QStringLiteral("SYOUGI_MSG3:SEND_OK"),
                             QStringLiteral("SYOUGI_MSG4:私の電話番号は…")})
        say(21, m);
    say(22, shogiMove(2));
    say(22, QStringLiteral("SYOUGI_MSG6:投了です。"));
    EXPECT_EQ(relayed, (std::vector<Relayed>{{1, "taro", shogiMove(1)},
                                             {1, "hana", shogiMove(2)},
                                             {1, "hana", "SYOUGI_MSG6:投了です。"}}));
    // The game program of a player goes: the server ends the game.
    server.connectionClosed(22);
    // The two play again; then one leaves the lobby.
    pairTaroAndHana();
    say(11, "GameEnd|taro|END");
    using Began = std::tuple<quint64, int, QString, QString>;
    EXPECT_EQ(began, (std::vector<Began>{{1, 0, "taro", "hana"}, {2, 0, "taro", "hana"}}));
    EXPECT_EQ(ended, (std::vector<std::pair<quint64, GameEndCause>>{
                         {1, GameEndCause::ProgramGone}, {2, GameEndCause::PlayerLeft}}));
    // Nothing of a game that ended is handed out any more.
    relayed.clear();
    say(22, shogiMove(3));
    EXPECT_TRUE(relayed.empty());
}

}  // namespace
}  // namespace lobbytest
