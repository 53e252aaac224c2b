#include "varnelwindow.h"

#include "dialogs.h"
#include "logindialog.h"
#include "loginsettings.h"
#include "shogirules/rulemessages.h"

namespace shogi {

namespace {

QString translated(const char* source) {
    return QCoreApplication::translate("shogi", source);
}

gamecommon::GameWindowTraits varnelTraits() {
    return {QStringLiteral("Varnel"),
            translated(QT_TRANSLATE_NOOP("shogi", "Varnel for Quor　Ver1.10")), true, true};
}

}  // namespace

VarnelWindow::VarnelWindow(const VarnelOptions& options, QWidget* parent)
    : GameWindow(options, varnelTraits(), parent),
      match_(std::make_unique<ShogiMatch>(static_cast<gamecommon::MatchView&>(*this),
                                          gamecommon::loginFileIn(folder()), transport(),
                                          clock())) {
    board_ = new ShogiBoardView(assetFolder(), match_->position(), match_->state(), *this, this);
    match_->setBoard(board_);
    setUp(*match_, board_);
    setUpRecords(*this, gamecommon::shogiRecordNames());
}

VarnelWindow::~VarnelWindow() {
    match_->fileExit();
    match_->setBoard(nullptr);
}

bool VarnelWindow::showPosition(const QString& positionString) {
    if (!match_->setPositionString(positionString)) return false;
    board_->BanStart();
    board_->update();
    return true;
}

bool VarnelWindow::isPosition(QStringView line) const {
    Board check;
    return !check.load(line);
}

void VarnelWindow::showRecordedPosition(const QString& line) {
    showPosition(line);
}

void VarnelWindow::resetGame() {
    match_->reset();
    board_->BanStart();
    board_->update();
}

void VarnelWindow::openLoginDialog() {
    gamecommon::LoginDialog dialog(gamecommon::loginFileIn(folder()), dialogs(), this);
    dialog.exec();
}

void VarnelWindow::drawClocks(const QString& oppClock, const QString& ownClock) {
    board_->drawClocks(oppClock, ownClock);
}

void VarnelWindow::lockChat() {
    match_->state().SendLock = true;
}

void VarnelWindow::sendMove() {
    match_->SendMove();
}

void VarnelWindow::kingCaptured(const MoveOutcome& outcome) {
    match_->kingCaptured(outcome);
}

void VarnelWindow::showRuleMessage(const QString& text) {
    box(shownRuleText(text));
}

bool VarnelWindow::askPromotion() {
    const bool yes =
        dialogs().askYesNo(this, windowTitleForBoxes(), shownRuleText(kMsgPromote.toString()));
    boxClosedNow();
    return yes;
}

}  // namespace shogi
