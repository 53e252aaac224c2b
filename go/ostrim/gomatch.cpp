#include "gomatch.h"

#include <QCoreApplication>

#include "gamemessage.h"
#include "goboardview.h"
#include "gorules/movemessage.h"

namespace go {

namespace {

const QString kResignMsg = gamecommon::endOfGameMsg(gamecommon::kResignText.toString());

QString goText(const char* source) {
    return QCoreApplication::translate("go", source);
}

// The side this program plays (kept as "先手" or "後手") as the player reads it.
QString sideText(const QString& side) {
    if (side == u"先手") return goText(QT_TRANSLATE_NOOP("go", "先手"));
    if (side == u"後手") return goText(QT_TRANSLATE_NOOP("go", "後手"));
    return side;
}

}  // namespace

GoMatch::GoMatch(gamecommon::MatchView& view, QString loginFilePath,
                 gamecommon::MatchTransport& transport, gamecommon::FlowClock& clock,
                 QObject* parent)
    : MatchFlow(view, std::move(loginFilePath), transport, clock, parent, Watchdog::None) {}

bool GoMatch::setPositionString(const QString& positionString) {
    if (!readPosition(positionString)) return false;
    position_.positionString = positionString;
    return true;
}

void GoMatch::reset() {
    position_.positionString = emptyBoardText();
    state().SendLock = false;
    state().MoveNo = 0;
}

QString GoMatch::ownMoveRecordLine() const {
    return recordLine(position_.ban);
}

QString GoMatch::BuildMoveMsg() {
    ++state().MoveNo;
    lastMoveOwn_ = true;
    return go::BuildMoveMsg(position_.ban, position_.MyLastMove, state().MoveNo,
                            position_.MyCaptured);
}

bool GoMatch::takeMove(QStringView moveText) {
    const auto move = parseMoveMsg(moveText);
    if (!move) return false;
    // A watcher sees the game from the first player's side: the first
    // player's moves arrive turned for his opponent and are turned back, and
    // his count is the one this program keeps as its own.
    const bool turn = state().WatchMode && move->moveNo % 2 == 1;
    QString positionString = move->positionString;
    if (turn) {
        const auto turned = turnPosition(positionString);
        if (!turned) return false;
        positionString = *turned;
    }
    const qint32 previousOpp = position_.OppCaptured;
    position_.positionString = positionString;
    state().MoveNo = move->moveNo;
    position_.OppCaptured = move->captured;
    if (turn) {
        position_.MyCaptured = move->captured;
        position_.OppCaptured = previousOpp;
    }
    if (!state().WatchMode && move->moveNo == 1) position_.ownColour = Stone::White;
    lastMoveOwn_ = false;
    return true;
}

bool GoMatch::takeOwnMove(QStringView moveText) {
    const auto move = parseMoveMsg(moveText);
    if (!move) return false;
    // Written for the opponent: turned back, and without the cross, which
    // marks the opponent's last stone only.
    auto turned = turnPosition(move->positionString);
    if (!turned) return false;
    turned->replace(u'8', u'1').replace(u'9', u'0');
    position_.positionString = *turned;
    position_.MyCaptured = move->captured;
    position_.ownColour = move->moveNo % 2 == 1 ? Stone::Black : Stone::White;
    state().MoveNo = move->moveNo;
    lastMoveOwn_ = true;
    return true;
}

void GoMatch::showReceivedMove() {
    if (!board_) return;
    board_->BanStart();
    board_->update();
    board_->playStoneSound();
}

QString GoMatch::gameTitle() const {
    const QString number = numberText(state().MoveNo);
    if (state().WatchMode) return goText(QT_TRANSLATE_NOOP("go", "通信将棋:第%1手")).arg(number);
    const QString title = lastMoveOwn_
                              ? goText(QT_TRANSLATE_NOOP("go", "通信将棋：あなた=%1:第%2手"))
                              : goText(QT_TRANSLATE_NOOP("go", "通信囲碁：あなた=%1:第%2手"));
    return title.arg(sideText(state().MySide), number);
}

QString GoMatch::resignMessage() const {
    return kResignMsg;
}

void GoMatch::showPlayers(const QString& first, const QString& second) {
    firstPlayer_ = first;
    secondPlayer_ = second;
    view().setPlayerBox(0,
                        goText(QT_TRANSLATE_NOOP("go", "先手：%1　　後手：%2")).arg(first, second));
}

void GoMatch::noticeReceived(const QString& text) {
    // Only the first field is the notice; anything after another ":" is not
    // shown.
    const QString notice = text.section(u':', 1, 1);
    view().setMessageText(notice);
    view().showMessageBox(goText(QT_TRANSLATE_NOOP("go", "%1です。")).arg(notice));
}

}  // namespace go
