#include <gtest/gtest.h>

#include "diagram.h"
#include "shogirules/moveattempt.h"
#include "shogirules/rulemessages.h"

namespace shogi {
namespace {

using test::boardFromDiagram;

// Stands in for the window: answers the promotion question and records what
// the move attempt asked of it, in order.
struct Window {
    bool answer = false;
    QStringList calls;

    MoveAttemptHooks hooks() {
        return {[this] { calls << QStringLiteral("lock"); },
                [this] {
                    calls << kMsgPromote.toString();
                    return answer;
                }};
    }
};

DragRelease boardDrag(const ShogiPosition& p, Square from, std::optional<Square> to) {
    return {p.Ban.at(from), false, from, to};
}

DragRelease handDrag(Kind kind, std::optional<Square> to) {
    return {Cell::own(kind), true, {0, 0}, to};
}

TEST(AttemptMove, ReleasesThatAreRefusedWithoutAWord) {
    ShogiPosition p;
    const ShogiPosition before = p;
    Window w;
    const DragRelease refused[] = {
        boardDrag(p, {2, 6}, std::nullopt),  // off the board
        boardDrag(p, {2, 6}, Square{2, 6}),  // back onto its own cell
        boardDrag(p, {1, 8}, Square{0, 6}),  // knight onto its own pawn
        boardDrag(p, {1, 8}, Square{2, 6}),
        boardDrag(p, {1, 7}, Square{0, 6}),  // the bishop is boxed in by its own pieces
        boardDrag(p, {1, 7}, Square{2, 6}),
        boardDrag(p, {1, 7}, Square{0, 8}),
        boardDrag(p, {1, 7}, Square{2, 8}),
        boardDrag(p, {7, 7}, Square{1, 7}),                  // the rook stops at its own bishop
        boardDrag(p, {2, 6}, Square{2, 4}),                  // a pawn does not run
        boardDrag(p, {2, 6}, Square{9, 4}),                  // past the edge
        {Cell::own(Kind::Fu), false, {4, 4}, Square{4, 3}},  // nothing stands on the origin
        {Cell::opp(Kind::Fu), false, {2, 2}, Square{2, 3}},  // not the player's piece
    };
    for (const auto& r : refused) {
        const MoveOutcome o = AttemptMove(p, r, w.hooks());
        EXPECT_EQ(o.result, MoveResult::Refused);
        EXPECT_TRUE(o.messages.isEmpty());
        EXPECT_EQ(p, before);
    }
    EXPECT_TRUE(w.calls.isEmpty());
}

TEST(AttemptMove, PawnStepMovesAndLocksTheChat) {
    ShogiPosition p;
    Window w;
    const MoveOutcome o = AttemptMove(p, boardDrag(p, {2, 6}, Square{2, 5}), w.hooks());
    EXPECT_EQ(o.result, MoveResult::Moved);
    EXPECT_EQ(w.calls, QStringList{QStringLiteral("lock")});
    EXPECT_EQ(p.Ban.at({2, 5}), Cell::own(Kind::Fu));
    EXPECT_TRUE(p.Ban.at({2, 6}).isEmpty());
    EXPECT_FALSE(o.captured);
    EXPECT_TRUE(o.endOfGameMessage.isEmpty());
}

TEST(AttemptMove, PromotionIsOfferedEnteringOrLeavingTheZone) {
    const Board b = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .  Ki1  . ",
        " .  Gi1  .   .   .   .   .   .   . ",
        "To1  .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Ka1  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    struct Case {
        Square from, to;
        bool offered;
    } cases[] = {
        {{1, 2}, {2, 3}, true},   // silver leaving the zone
        {{1, 2}, {1, 1}, true},   // silver inside the zone
        {{4, 5}, {7, 2}, true},   // bishop from row 5 to row 2
        {{4, 5}, {6, 3}, false},  // bishop outside the zone
        {{7, 1}, {7, 0}, false},  // gold never
        {{0, 3}, {0, 2}, false},  // nor a promoted pawn
    };
    for (const Case& c : cases) {
        for (bool yes : {true, false}) {
            ShogiPosition p;
            p.Ban = b;
            Window w{yes, {}};
            const Cell piece = p.Ban.at(c.from);
            const MoveOutcome o = AttemptMove(p, boardDrag(p, c.from, c.to), w.hooks());
            ASSERT_EQ(o.result, MoveResult::Moved) << c.from.x << c.from.y;
            EXPECT_EQ(w.calls.contains(kMsgPromote.toString()), c.offered);
            EXPECT_EQ(w.calls.first(), u"lock");  // the lock comes before the question
            const bool promoted = c.offered && yes;
            EXPECT_EQ(o.promoted, promoted);
            EXPECT_EQ(p.Ban.at(c.to), promoted ? *PromotedCode(piece) : piece);
        }
    }
}

TEST(AttemptMove, DeclinedPromotionOnTheLastRowLeavesADeadPawn) {
    ShogiPosition p;
    p.Ban = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        "Fu1  .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    Window w{false, {}};
    ASSERT_EQ(AttemptMove(p, boardDrag(p, {0, 1}, Square{0, 0}), w.hooks()).result,
              MoveResult::Moved);
    EXPECT_EQ(p.Ban.at({0, 0}), Cell::own(Kind::Fu));
    for (int k = 0; k < kCellCount; ++k) {
        ShogiPosition trial = p;
        EXPECT_FALSE(
            AttemptMove(trial, boardDrag(trial, {0, 0}, Square::fromCellNumber(k))).accepted());
    }
}

TEST(AttemptMove, CaptureFillsTheHandUnpromoted) {
    ShogiPosition p;
    p.Ban = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .  Ry2  .   .  Hi1  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    const MoveOutcome o = AttemptMove(p, boardDrag(p, {4, 4}, Square{1, 4}));
    ASSERT_EQ(o.result, MoveResult::Moved);
    EXPECT_EQ(o.captured, Cell::opp(Kind::Ry));
    EXPECT_FALSE(o.kingCaptured);
    EXPECT_EQ(p.MyHand.count(Kind::Hi), 1);
    EXPECT_EQ(p.Ban.at({1, 4}), Cell::own(Kind::Hi));
}

TEST(AttemptMove, TakingTheKingEndsTheGame) {
    ShogiPosition p;
    p.Ban = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Ky1  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    Window w{false, {}};
    const MoveOutcome o = AttemptMove(p, boardDrag(p, {4, 3}, Square{4, 0}), w.hooks());
    ASSERT_EQ(o.result, MoveResult::Moved);
    EXPECT_TRUE(o.kingCaptured);
    EXPECT_EQ(o.endOfGameMessage, u"SYOUGI_MSG5:あなたの負けです。");
    EXPECT_EQ(o.resultText, u"あなたの勝ちです。");
    EXPECT_EQ(p.MyHand, Hand{});
    EXPECT_EQ(p.Ban.at({4, 0}), Cell::own(Kind::Ky));
}

TEST(AttemptMove, IllegalBoardMoveKeepsThePositionAndSaysWhy) {
    ShogiPosition p;
    p.Ban = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .  Hi2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gi1  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    const ShogiPosition before = p;
    Window w;
    const MoveOutcome o = AttemptMove(p, boardDrag(p, {4, 4}, Square{5, 3}), w.hooks());
    EXPECT_EQ(o.result, MoveResult::Refused);
    EXPECT_EQ(o.messages, QStringList{kMsgMoveLeavesCheck.toString()});
    EXPECT_TRUE(w.calls.isEmpty());
    EXPECT_EQ(p, before);
}

TEST(AttemptMove, DropsTakeFromTheHand) {
    ShogiPosition p;
    p.Ban = boardFromDiagram({
        " .   .   .   .  Ou2  .   .   .   . ",
        " .   .   .   .  Hi2  .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        "Fu1  .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .  Gy1  .   .   .   . ",
    });
    p.MyHand.find(Kind::Fu)->count = 2;
    p.MyHand.find(Kind::Ke)->count = 1;
    Window w;

    // The king stays in check: drops are not tested for that.
    MoveOutcome o = AttemptMove(p, handDrag(Kind::Fu, Square{2, 5}), w.hooks());
    EXPECT_EQ(o.result, MoveResult::Dropped);
    EXPECT_EQ(p.Ban.at({2, 5}), Cell::own(Kind::Fu));
    EXPECT_EQ(p.MyHand.count(Kind::Fu), 1);
    EXPECT_TRUE(w.calls.isEmpty());  // a drop does not lock the chat

    // Two pawns, and a pawn into row 0 as well: both messages, in order.
    const ShogiPosition before = p;
    o = AttemptMove(p, handDrag(Kind::Fu, Square{0, 0}));
    EXPECT_EQ(o.result, MoveResult::Refused);
    EXPECT_EQ(o.messages, (QStringList{kMsgCannotDropThere.toString(), kMsgTwoPawns.toString()}));
    EXPECT_EQ(p, before);

    // An occupied cell is refused, but the drop rules still speak.
    o = AttemptMove(p, handDrag(Kind::Ke, Square{4, 1}));
    EXPECT_EQ(o.result, MoveResult::Refused);
    EXPECT_EQ(o.messages, QStringList{kMsgCannotDropThere.toString()});
    o = AttemptMove(p, handDrag(Kind::Ke, Square{4, 8}));
    EXPECT_EQ(o.result, MoveResult::Refused);
    EXPECT_TRUE(o.messages.isEmpty());
    EXPECT_EQ(p, before);

    // Released off the board, or a kind the hand does not hold.
    EXPECT_FALSE(AttemptMove(p, handDrag(Kind::Ke, std::nullopt)).accepted());
    EXPECT_FALSE(AttemptMove(p, handDrag(Kind::Ka, Square{6, 4})).accepted());
    EXPECT_FALSE(AttemptMove(p, handDrag(Kind::To, Square{6, 4})).accepted());
    EXPECT_EQ(p, before);

    o = AttemptMove(p, handDrag(Kind::Ke, Square{3, 2}));
    EXPECT_EQ(o.result, MoveResult::Dropped);
    EXPECT_EQ(p.MyHand.count(Kind::Ke), 0);
}

}  // namespace
}  // namespace shogi
