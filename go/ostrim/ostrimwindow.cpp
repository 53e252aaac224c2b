#include "ostrimwindow.h"

#include <QCoreApplication>

#include "loginsettings.h"

namespace go {

namespace {

QString translated(const char* source) {
    return QCoreApplication::translate("go", source);
}

gamecommon::GameWindowTraits ostrimTraits() {
    return {QStringLiteral("Ostrim"), translated(QT_TRANSLATE_NOOP("go", "Ostrim　Ver1.01")), false,
            false};
}

}  // namespace

OstrimWindow::OstrimWindow(const OstrimOptions& options, QWidget* parent)
    : GameWindow(options, ostrimTraits(), parent),
      match_(std::make_unique<GoMatch>(static_cast<gamecommon::MatchView&>(*this),
                                       gamecommon::loginFileIn(folder()), transport(), clock())) {
    board_ = new GoBoardView(assetFolder(), match_->position(), match_->state(), *this, this);
    match_->setBoard(board_);
    setUp(*match_, board_);
    setUpRecords(*this, gamecommon::goRecordNames());
}

OstrimWindow::~OstrimWindow() {
    match_->fileExit();
    match_->setBoard(nullptr);
}

bool OstrimWindow::showPosition(const QString& positionString) {
    if (!match_->setPositionString(positionString)) return false;
    board_->BanStart();
    board_->update();
    return true;
}

bool OstrimWindow::isPosition(QStringView line) const {
    return readPosition(line).has_value();
}

void OstrimWindow::showRecordedPosition(const QString& line) {
    showPosition(line);
}

void OstrimWindow::resetGame() {
    match_->reset();
    board_->BanStart();
    board_->update();
}

void OstrimWindow::drawClocks(const QString& oppClock, const QString& ownClock) {
    board_->drawClocks(oppClock, ownClock);
}

void OstrimWindow::sendMove() {
    match_->SendMove();
}

}  // namespace go
