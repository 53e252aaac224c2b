#include "shogimatch.h"

#include "shogiboardview.h"
#include "shogirules/movemessage.h"
#include "shogirules/moverules.h"
#include "shogirules/rulemessages.h"

namespace shogi {

namespace {

QString shogiText(const char* source) {
    return QCoreApplication::translate("shogi", source);
}

// The side this program plays (kept as "先手" or "後手") as the player reads it.
QString sideText(const QString& side) {
    if (side == u"先手") return shogiText(QT_TRANSLATE_NOOP("shogi", "先手"));
    if (side == u"後手") return shogiText(QT_TRANSLATE_NOOP("shogi", "後手"));
    return side;
}

}  // namespace

ShogiMatch::ShogiMatch(gamecommon::MatchView& view, QString loginFilePath,
                       gamecommon::MatchTransport& transport, gamecommon::FlowClock& clock,
                       QObject* parent)
    : MatchFlow(view, std::move(loginFilePath), transport, clock, parent),
      positionString_(kInitialPositionString.toString()) {}

bool ShogiMatch::setPositionString(const QString& positionString) {
    Board check;
    if (check.load(positionString)) return false;
    positionString_ = positionString;
    return true;
}

void ShogiMatch::reset() {
    positionString_ = kInitialPositionString.toString();
    position_.MyHand.clear();
    position_.OppHand.clear();
    newGame();
}

QString ShogiMatch::BuildMoveMsg() {
    ++state().MoveNo;
    return shogi::BuildMoveMsg(position_, state().MoveNo);
}

bool ShogiMatch::takeMove(QStringView moveText) {
    auto move = parseMoveMsg(moveText);
    if (!move) return false;
    // A watcher sees the game from the second player's side: the second
    // player's moves arrive in the first player's frame and are turned.
    if (state().WatchMode &&
        RotatePosition(move->moveNo, move->positionString, move->myHand, move->oppHand)) {
        return false;
    }
    positionString_ = move->positionString;
    (void)position_.Ban.load(positionString_);  // checked above
    position_.MyHand = move->myHand;
    position_.OppHand = move->oppHand;
    state().MoveNo = move->moveNo;
    return true;
}

bool ShogiMatch::takeOwnMove(QStringView moveText) {
    const auto move = parseMoveMsg(moveText);
    if (!move) return false;
    // Written for the opponent: his view turned back, and the hands the
    // other way round (the sender's own hand comes second).
    position_.Ban = move->board.rotated();
    positionString_ = position_.Ban.positionString();
    position_.MyHand = move->oppHand;
    position_.OppHand = move->myHand;
    state().MoveNo = move->moveNo;
    return true;
}

void ShogiMatch::showReceivedMove() {
    if (!board_) return;
    board_->BanStart();
    board_->update();
    board_->playPieceSound();
}

QString ShogiMatch::receivedMoveWarning() const {
    // A player whose king was just taken is not in check: he has lost.
    const bool check = ownKingSquare(position_.Ban) && InCheck(position_.Ban);
    return check ? shownRuleText(kMsgCheck.toString()) : QString();
}

QString ShogiMatch::gameTitle() const {
    const QString number = numberText(state().MoveNo);
    if (state().WatchMode)
        return shogiText(QT_TRANSLATE_NOOP("shogi", "通信将棋:第%1手")).arg(number);
    return shogiText(QT_TRANSLATE_NOOP("shogi", "通信将棋：あなた=%1:第%2手"))
        .arg(sideText(state().MySide), number);
}

void ShogiMatch::showPlayers(const QString& first, const QString& second) {
    view().setPlayerBox(0, shogiText(QT_TRANSLATE_NOOP("shogi", "先手：%1")).arg(first));
    view().setPlayerBox(1, shogiText(QT_TRANSLATE_NOOP("shogi", "後手：%1")).arg(second));
}

void ShogiMatch::kingCaptured(const MoveOutcome& outcome) {
    endGame(outcome.endOfGameMessage, shownRuleText(outcome.resultText));
}

}  // namespace shogi
