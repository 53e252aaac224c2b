#include "shogirules/moveattempt.h"

#include "gamemessage.h"

#include "shogirules/moverules.h"
#include "shogirules/rulemessages.h"

namespace shogi {

namespace {

MoveOutcome boardMove(ShogiPosition& position, const DragRelease& release, Square t,
                      const MoveAttemptHooks& hooks) {
    MoveOutcome outcome;
    const Square f = release.from;
    if (!IsLegalMove(position.Ban, t, f, release.piece, &outcome.messages)) return outcome;

    if (hooks.setSendLock) hooks.setSendLock();

    const auto promoted = PromotedCode(release.piece);
    const bool zone = t.inPromotionZone() || f.inPromotionZone();
    if (promoted && zone && hooks.askPromotion) {
        // While the question is open the program goes on: a move may arrive
        // and replace the board. A move judged on the old board is void then.
        const Board asked = position.Ban;
        const bool yes = hooks.askPromotion();
        if (position.Ban != asked) return MoveOutcome{};
        if (yes) {
            position.Ban.set(f, *promoted);
            outcome.promoted = true;
        }
    }

    const Cell target = position.Ban.at(t);
    if (target.isOppPiece()) {
        outcome.captured = target;
        outcome.kingCaptured = position.CapturePiece(target);
    }

    position.Ban.set(t, position.Ban.at(f));
    position.Ban.set(f, Cell::empty());
    outcome.result = MoveResult::Moved;

    if (outcome.kingCaptured) {
        outcome.endOfGameMessage = gamecommon::endOfGameMsg(kMsgYouLose.toString());
        outcome.resultText = kMsgYouWin.toString();
    }
    return outcome;
}

MoveOutcome drop(ShogiPosition& position, const DragRelease& release, Square t) {
    MoveOutcome outcome;
    // Both tests always run, so the drop messages appear even on an occupied cell.
    const bool empty = position.Ban.at(t).isEmpty();
    const bool legal = IsLegalDrop(position.Ban, t, release.piece, &outcome.messages);
    HandEntry* entry = position.MyHand.find(release.piece.kind());
    if (!empty || !legal || !entry || entry->count <= 0) return outcome;

    position.Ban.set(t, Cell::own(release.piece.kind()));
    --entry->count;
    outcome.result = MoveResult::Dropped;
    return outcome;
}

}  // namespace

MoveOutcome AttemptMove(ShogiPosition& position, const DragRelease& release,
                        const MoveAttemptHooks& hooks) {
    if (!release.to || !release.to->isOnBoard()) return {};
    const Square t = *release.to;
    if (release.fromHand) return drop(position, release, t);

    const Square f = release.from;
    // Only the own piece that stands on the origin can be moved.
    if (!f.isOnBoard() || !release.piece.isOwnPiece() || position.Ban.at(f) != release.piece) {
        return {};
    }
    if (t == f || position.Ban.at(t).isOwnPiece()) return {};
    return boardMove(position, release, t, hooks);
}

}  // namespace shogi
