#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "relayedgames.h"
#include "webjson.h"

namespace web::test {
namespace {

TEST(WebJson, PositionsAreDrawnFromBlacksSideAsThePagesReadThem) {
    const QJsonObject start = positionJson(0, startPosition(GameKind::Shogi));
    EXPECT_EQ(start[u"n"], 0);
    EXPECT_EQ(start[u"turn"], "black");
    const QJsonArray board = start[u"board"].toArray();
    ASSERT_EQ(board.size(), 81);
    // Row 一 from file 9: white's lance and king; black's bishop on 88.
    EXPECT_EQ(board[0], "wKY");
    EXPECT_EQ(board[4], "wOU");
    EXPECT_EQ(board[10], "wHI");
    EXPECT_EQ(board[64], "bKA");
    EXPECT_EQ(board[76], "bOU");
    EXPECT_EQ(board[40], "");
    EXPECT_EQ(start[u"last"], QJsonValue::Null);

    WatchedGame shogi = begunGame(GameKind::Shogi);
    ShogiPlay play(shogi);
    for (const records::ShogiMove& move : kShogiMoves)
        play.play(move);
    const QJsonObject taken = positionJson(3, shogi.positions()[3]);
    EXPECT_EQ(taken[u"board"].toArray().at(16), "bUM");
    EXPECT_EQ(taken[u"hands"][u"black"][u"KA"], 1);
    EXPECT_EQ(taken[u"last"].toObject(),
              (QJsonObject{{"to", QJsonArray{2, 2}}, {"from", QJsonArray{8, 8}}}));
    EXPECT_EQ(positionJson(5, shogi.positions()[5])[u"last"].toObject(),
              (QJsonObject{{"to", QJsonArray{5, 5}}, {"from", QJsonValue::Null}}));

    WatchedGame go = begunGame(GameKind::Go);
    GoPlay(go).place(go::Stone::Black, {3, 2});
    const QJsonObject stone = positionJson(1, go.positions()[1]);
    EXPECT_EQ(stone[u"board"].toArray().size(), 361);
    EXPECT_EQ(stone[u"board"].toArray().at(3 + 19 * 2), "b");
    EXPECT_EQ(stone[u"turn"], "white");
    EXPECT_EQ(stone[u"last"].toObject(), (QJsonObject{{"x", 4}, {"y", 3}}));
    EXPECT_EQ(stone[u"captures"].toObject(), (QJsonObject{{"black", 0}, {"white", 0}}));
}

TEST(WebJson, ListsLobbyAndEventsAreTheExactTexts) {
    WatchedGame go = begunGame(GameKind::Go, 7);
    GoPlay(go).place(go::Stone::Black, {3, 2});
    go.relayed(kHana, u"SYOUGI_MSG6:宜しくお願いします。");
    go.relayed(kTaro, u"SYOUGI_MSG5:投了です。あなたの勝ちです。有り難うございました。", at(40));
    const QByteArray result =
        R"({"how":"resignation","text":"黒の投了で白の勝ち","winner":"white"})";
    EXPECT_EQ(listJson({go.summary()}, std::nullopt),
              R"({"games":[{"black":"taro","ended":"2026-12-08T21:40:00Z","game":"go","id":7,)"
              R"("moves":1,"result":)" +
                  result +
                  R"(,"sides":"known","started":"2026-12-08T21:00:00Z","watchers":0,)"
                  R"("white":"hana"}],"next":null})");
    EXPECT_EQ(endEvent(GameKind::Go, *go.summary().result), "event: end\ndata: " + result + "\n\n");
    // The first move names the players, as it decided who is black.
    const QByteArray move = moveEvent(1, go.positions()[1], go.summary());
    EXPECT_TRUE(move.startsWith("id: 1\nevent: move\ndata: {\"black\":\"taro\",\"board\":"));
    EXPECT_TRUE(move.endsWith(",\"white\":\"hana\"}\n\n"));
    EXPECT_EQ(move.count('\n'), 4);
    // Nothing a player said reaches a page.
    EXPECT_FALSE(detailText(go.record()).contains("宜しく"));
    EXPECT_EQ(keepAliveEvent(), ": keep-alive\n\n");

    go.setWatchers(2);
    EXPECT_EQ(lobbyJson({{kTaro, GameKind::Go, UserState::Playing},
                         {QStringLiteral("jiro"), GameKind::Shogi, UserState::Watching}},
                        {go.summary()}),
              R"({"games":[{"black":"taro","game":"go","id":7,"moves":1,)"
              R"("started":"2026-12-08T21:00:00Z","watchers":2,"white":"hana"}],)"
              R"("users":[{"game":"go","id":"taro","state":"playing"},)"
              R"({"game":"shogi","id":"jiro","state":"watching"}]})");
}

// A move event is written directly, not through the JSON object the detail
// uses: the same bytes for every position of a game (a drop, a promotion, a
// capture, a pass), and on move 1 the players, escaped as the object would.
TEST(WebJson, MoveEventsCarryThePositionsJsonByteForByte) {
    WatchedGame shogi = begunGame(GameKind::Shogi);
    ShogiPlay shogiPlay(shogi);
    for (const records::ShogiMove& move : kShogiMoves)
        shogiPlay.play(move);
    WatchedGame go = begunGame(GameKind::Go);
    GoPlay goPlay(go);
    for (const auto& [colour, p] : kGoStones)
        goPlay.place(colour, p);
    const go::Ban seen = GoPlay::turned(goPlay.game().board());
    go.relayed(kHana, go::BuildMoveMsg(seen, {9, 9}, 6, 0));  // a pass
    for (const WatchedGame* game : {&shogi, &go}) {
        GameSummary players = game->summary();
        players.black = QStringLiteral("ta\"ro\\太郎");
        const auto& positions = game->positions();
        for (std::size_t n = 0; n < positions.size(); ++n) {
            SCOPED_TRACE(n);
            QJsonObject expected = positionJson(int(n), positions[n]);
            if (n == 1) {
                expected.insert(u"black", players.black);
                expected.insert(u"white", players.white);
            }
            EXPECT_EQ(moveEvent(int(n), positions[n], players),
                      "id: " + QByteArray::number(qsizetype(n)) + "\nevent: move\ndata: " +
                          QJsonDocument(expected).toJson(QJsonDocument::Compact) + "\n\n");
        }
    }
}

}  // namespace
}  // namespace web::test
