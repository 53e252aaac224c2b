#include <gtest/gtest.h>

#include "relayedgames.h"

namespace web::test {
namespace {

using shogi::Kind;

const ShogiState& shogiAt(const WatchedGame& game, std::size_t n) {
    return std::get<ShogiState>(game.positions().at(n).state);
}

const GoState& goAt(const WatchedGame& game, std::size_t n) {
    return std::get<GoState>(game.positions().at(n).state);
}

TEST(WatchedShogi, EveryMoveFromEitherSideIsShownInBlacksViewWithHandsAndLastMove) {
    WatchedGame watched = begunGame(GameKind::Shogi);
    EXPECT_FALSE(watched.summary().sidesKnown);
    ShogiPlay play(watched);
    for (std::size_t i = 0; i < kShogiMoves.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(play.play(kShogiMoves[i]).moved);
        const ShogiState& shown = shogiAt(watched, i + 1);
        EXPECT_EQ(shown.board, play.game().board());
        EXPECT_EQ(shown.black, play.game().hand(records::Player::First));
        EXPECT_EQ(shown.white, play.game().hand(records::Player::Second));
        EXPECT_EQ(shown.last, (ShogiLast{kShogiMoves[i].to, kShogiMoves[i].from}));
        EXPECT_EQ(watched.positions().back().turn, i % 2 ? Colour::Black : Colour::White);
    }
    EXPECT_EQ(shogiAt(watched, 5).black.count(Kind::Ka), 0);
    EXPECT_EQ(shogiAt(watched, 5).white.count(Kind::Ka), 1);
    // taro was challenged but moved first: he is black.
    EXPECT_EQ(watched.summary().black, kTaro);
    EXPECT_EQ(watched.summary().white, kHana);
    EXPECT_TRUE(watched.summary().sidesKnown);
    EXPECT_EQ(watched.summary().moves, 5);
    EXPECT_EQ(watched.ignoredMessages(), 0);
}

TEST(WatchedShogi, AMoveOutOfStepIsShownAndATakenKingEndsTheGame) {
    WatchedGame watched = begunGame(GameKind::Shogi);
    ShogiPlay play(watched);
    play.play(kShogiMoves[0]);
    // Black's program sends again, its gold on white's king.
    shogi::ShogiPosition seen;
    seen.Ban = play.game().board();
    seen.Ban.set(sq(5, 1), seen.Ban.at(sq(6, 9)));
    seen.Ban.set(sq(6, 9), shogi::Cell::empty());
    const WatchedGame::Change change =
        play.relay(records::Player::First, shogi::BuildMoveMsg(seen, 2));
    EXPECT_TRUE(change.moved);
    EXPECT_TRUE(change.ended);
    EXPECT_EQ(shogiAt(watched, 2).board, seen.Ban);
    EXPECT_EQ(shogiAt(watched, 2).last, (ShogiLast{sq(5, 1), sq(6, 9)}));
    EXPECT_EQ(watched.summary().result, (GameResult{EndHow::KingTaken, Colour::Black}));
    EXPECT_EQ(watched.summary().ended, at(30));
    // Its end-of-game message comes after: the game is over already.
    play.relay(records::Player::First, QStringLiteral("SYOUGI_MSG5:あなたの負けです。"));
    EXPECT_EQ(watched.ignoredMessages(), 1);
}

TEST(WatchedGame, TheProgramsEndsAndTheServersAreRecognised) {
    const QString resign = QStringLiteral("投了です。あなたの勝ちです。有り難うございました。");
    struct Case {
        GameKind kind;
        QString sender;
        QString text;
        GameResult result;
        QString shown;
    };
    const Case cases[] = {
        {GameKind::Shogi,
         kHana,
         "SYOUGI_MSG6:" + resign,
         {EndHow::Resignation, Colour::Black},
         "後手の投了で先手の勝ち"},
        {GameKind::Shogi,
         kTaro,
         "SYOUGI_MSG5:あなたの負けです。",
         {EndHow::KingTaken, Colour::Black},
         "先手が玉を取って先手の勝ち"},
        {GameKind::Go,
         kTaro,
         "SYOUGI_MSG5:" + resign,
         {EndHow::Resignation, Colour::White},
         "黒の投了で白の勝ち"},
        {GameKind::Go,
         kHana,
         "SYOUGI_MSG5:終局",
         {EndHow::Ended, std::nullopt},
         "対局は終わりました"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        WatchedGame watched = begunGame(c.kind);
        if (c.kind == GameKind::Shogi)
            ShogiPlay(watched).play(kShogiMoves[0]);
        else
            GoPlay(watched).place(go::Stone::Black, {3, 3});
        EXPECT_TRUE(watched.relayed(c.sender, c.text, at(40)).ended);
        EXPECT_EQ(watched.summary().result, c.result);
        EXPECT_EQ(resultText(c.kind, c.result), c.shown);
        // The server's end afterwards changes nothing.
        EXPECT_FALSE(watched.end(EndCause::ProgramGone, at(50)));
        EXPECT_EQ(watched.summary().result, c.result);
        EXPECT_EQ(watched.summary().ended, at(40));
    }
    const std::pair<EndCause, EndHow> causes[] = {{EndCause::ProgramGone, EndHow::PlayerGone},
                                                  {EndCause::PlayerLeft, EndHow::PlayerGone},
                                                  {EndCause::ServerClosed, EndHow::Ended},
                                                  {EndCause::NewGame, EndHow::Ended}};
    for (const auto& [cause, how] : causes) {
        WatchedGame watched = begunGame(GameKind::Go);
        EXPECT_TRUE(watched.end(cause, at(5)));
        EXPECT_EQ(watched.summary().result, (GameResult{how, std::nullopt}));
    }
    EXPECT_EQ(resultText(GameKind::Go, {EndHow::PlayerGone, std::nullopt}),
              "対局者の接続が切れました");
}

TEST(WatchedGame, WhatItCannotReadOrIsNoneOfItsBusinessIsDroppedAndCounted) {
    WatchedGame watched = begunGame(GameKind::Shogi);
    shogi::ShogiPosition start;
    const std::pair<QString, QString> dropped[] = {
        {kTaro, QStringLiteral("SYOUGI_MSG4:私の王は無敵")},
        {kTaro, QStringLiteral("SYOUGI_MSG3:SEND_OK")},
        {kTaro, QStringLiteral("SYOUGI_MSG2:11,12:END")},
        {kTaro, go::BuildMoveMsg(go::Ban(), {3, 3}, 1, 0)},
        {QStringLiteral("jiro"), shogi::BuildMoveMsg(start, 1)},
        {kHana, QStringLiteral("hello")},
    };
    for (const auto& [from, text] : dropped)
        EXPECT_FALSE(watched.relayed(from, text).moved) << text.toStdString();
    // A greeting is read, and not kept.
    EXPECT_FALSE(watched.relayed(kHana, QStringLiteral("SYOUGI_MSG6:宜しくお願いします。")).ended);
    EXPECT_EQ(watched.ignoredMessages(), 6);
    EXPECT_EQ(watched.positions().size(), 1u);
    // Broken moves of the second player tell nobody's side.
    EXPECT_FALSE(watched.summary().sidesKnown);
    EXPECT_EQ(watched.summary().black, kHana);
    EXPECT_FALSE(watched.isOver());
    watched.end(EndCause::PlayerLeft);
    EXPECT_FALSE(watched.relayed(kTaro, shogi::BuildMoveMsg(start, 1)).moved);
    EXPECT_EQ(watched.ignoredMessages(), 7);
}

TEST(WatchedGo, StonesCapturesAndTheLastStoneFollowTheGameInBlacksView) {
    WatchedGame watched = begunGame(GameKind::Go);
    GoPlay play(watched);
    std::size_t n = 0;
    for (const auto& [colour, p] : kGoStones) {
        SCOPED_TRACE(++n);
        EXPECT_TRUE(play.place(colour, p).moved);
        EXPECT_EQ(goAt(watched, n).board, play.game().board());
        EXPECT_EQ(goAt(watched, n).last, GoLast{p});
    }
    EXPECT_EQ(goAt(watched, 5).board.at({0, 0}), go::Stone::Empty);
    EXPECT_EQ(goAt(watched, 5).blackCaptures, 1);
    EXPECT_EQ(goAt(watched, 5).whiteCaptures, 0);
    EXPECT_EQ(watched.summary().black, kTaro);
    // White sends the board as it was: a pass.
    const go::Ban seen = GoPlay::turned(play.game().board());
    EXPECT_TRUE(watched.relayed(kHana, go::BuildMoveMsg(seen, {9, 9}, 6, 0)).moved);
    EXPECT_EQ(goAt(watched, 6).last, GoLast{});
    EXPECT_EQ(watched.positions().back().turn, Colour::Black);
}

// The players begin another game in the same pairing (which sends nothing):
// its first move is told apart from a move of the game that was running.
TEST(WatchedGame, TheFirstMoveOfAnotherGameIsToldApart) {
    WatchedGame shogi = begunGame(GameKind::Shogi);
    ShogiPlay shogiPlay(shogi);
    ShogiMoves again;
    const QString firstAgain = again.play(kShogiMoves[0]);
    EXPECT_FALSE(shogi.beginsAnotherGame(firstAgain)) << "the game's own first move";
    shogiPlay.play(kShogiMoves[0]);
    shogiPlay.play(kShogiMoves[1]);
    EXPECT_TRUE(shogi.beginsAnotherGame(firstAgain));
    // Relayed, it is told so and leaves this game as it was.
    const WatchedGame::Change relayed = shogi.relayed(kHana, firstAgain);
    EXPECT_TRUE(relayed.anotherGame && !relayed.moved && !relayed.ended);
    EXPECT_EQ(shogi.positions().size(), 3u);
    EXPECT_EQ(shogi.ignoredMessages(), 0);
    EXPECT_FALSE(shogi.beginsAnotherGame(again.play(kShogiMoves[1])));
    EXPECT_FALSE(shogi.beginsAnotherGame(QStringLiteral("SYOUGI_MSG4:もう一局")));

    // Go's move count runs on over the session: a board with one stone tells.
    WatchedGame go = begunGame(GameKind::Go);
    GoPlay goPlay(go);
    GoMoves goAgain;
    const QString stoneAgain = goAgain.place(go::Stone::Black, {3, 3});
    goPlay.place(go::Stone::Black, {15, 15});
    EXPECT_FALSE(go.beginsAnotherGame(goAgain.place(go::Stone::White, {15, 3})));
    EXPECT_TRUE(go.beginsAnotherGame(stoneAgain));
    EXPECT_TRUE(go.relayed(kTaro, stoneAgain).anotherGame);
    EXPECT_EQ(go.positions().size(), 2u);
    EXPECT_TRUE(WatchedGame::isFirstMove(GameKind::Go, stoneAgain));
    EXPECT_FALSE(WatchedGame::isFirstMove(GameKind::Shogi, stoneAgain));
}

}  // namespace
}  // namespace web::test
