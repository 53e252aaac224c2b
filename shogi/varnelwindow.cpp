#include "varnelwindow.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "conversationlines.h"
#include "dialogs.h"
#include "logindialog.h"
#include "loginsettings.h"
#include "programfolder.h"
#include "rulemessages.h"
#include "windowsizelock.h"

namespace shogi {

namespace {

const QString kProgramTitle = QStringLiteral("Varnel");
const QString kVersionText = QStringLiteral("Varnel for Quor　Ver1.10");

}  // namespace

VarnelWindow::VarnelWindow(const VarnelOptions& options, QWidget* parent)
    : QMainWindow(parent),
      activation_(this),
      folder_(options.folder.isEmpty() ? platform::programFolder() : options.folder),
      ownDialogs_(options.dialogs ? nullptr : std::make_unique<platform::WidgetDialogs>()),
      dialogs_(options.dialogs ? options.dialogs : ownDialogs_.get()),
      match_(std::make_unique<ShogiMatch>(static_cast<gamecommon::MatchView&>(*this),
                                          gamecommon::loginFileIn(folder_))) {
    setWindowTitle(kProgramTitle);
    board_ = new ShogiBoardView(folder_, match_->position(), match_->state(), *this, this);
    match_->setBoard(board_);
    Timer1 = match_->Timer1;
    Timer2 = match_->Timer2;
    buildControls();
    buildMenus();
    connectMenus();
    // The window keeps the size it first showed with.
    connect(board_, &ShogiBoardView::firstPainted, this,
            [this] { gamecommon::WindowSizeLock::lock(this); });
    match_->startUp();
}

VarnelWindow::~VarnelWindow() {
    match_->fileExit();
    match_->setBoard(nullptr);
}

void VarnelWindow::buildControls() {
    Text1 = new QLineEdit(this);
    Text1->setReadOnly(true);
    Text2 = new QPlainTextEdit(this);
    Text2->setToolTip(QStringLiteral("ダブルクリックで、テキストボックス内を消去できます。"));
    Text2->setFixedHeight(Text2->fontMetrics().lineSpacing() * 3 + 12);
    Text2->viewport()->installEventFilter(this);
    for (auto& box : Text3) {
        box = new QLineEdit(this);
        box->setReadOnly(true);
    }
    Command5 = new QPushButton(QStringLiteral("送　信"), this);
    Command5->setToolTip(QStringLiteral("メッセージを送信します。"));
    Command5->setEnabled(false);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(board_, 0, Qt::AlignLeft | Qt::AlignTop);
    auto* players = new QHBoxLayout;
    players->addWidget(Text3[0]);
    players->addWidget(Text3[1]);
    layout->addLayout(players);
    auto* chat = new QHBoxLayout;
    chat->addWidget(Text2, 1);
    chat->addWidget(Command5, 0, Qt::AlignBottom);
    layout->addLayout(chat);
    layout->addWidget(Text1);
    setCentralWidget(central);
}

void VarnelWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto item = [this](QMenu* menu, const QString& caption, bool enabled) {
        QAction* action = menu->addAction(caption);
        action->setEnabled(enabled);
        return action;
    };

    mnuFile = bar->addMenu(QStringLiteral("ファイル"));
    nmuFileOpen = item(mnuFile, QStringLiteral("開く...(&F)"), false);
    mnuSave = item(mnuFile, QStringLiteral("名前を付けて保存..."), false);
    mnuVSave = item(mnuFile, QStringLiteral("全手保存"), false);
    mnuFile->addSeparator();
    mnuStrong = mnuFile->addMenu(QStringLiteral("強さ"));
    for (std::size_t i = 0; i < mnuSrtrong.size(); ++i) {
        mnuSrtrong[i] = item(mnuStrong, gamecommon::kStrengthClasses[i].toString(), true);
        mnuSrtrong[i]->setCheckable(true);
    }
    mnuStrong->setEnabled(false);
    mnuInit = item(mnuFile, QStringLiteral("初期化"), true);
    mnuFile->addSeparator();
    mnuEnd = item(mnuFile, QStringLiteral("将棋終了(&Q)"), true);

    mnuConnect = bar->addMenu(QStringLiteral("接続"));
    LogIn = item(mnuConnect, QStringLiteral("ログイン(&R)"), true);
    mnuServer = item(mnuConnect, QStringLiteral("サーバー（後手&S）"), true);
    mnuConnect->addSeparator();
    mnuClose = item(mnuConnect, QStringLiteral("切断(&A)"), false);

    mnuTEnd = bar->addMenu(QStringLiteral("投了"));
    mnuToryou = item(mnuTEnd, QStringLiteral("投了"), true);
    mnuTEnd->setEnabled(false);

    mnuM = bar->addMenu(QStringLiteral("メッセージ"));
    mnuAisatsu = mnuM->addMenu(QStringLiteral("挨拶"));
    for (std::size_t i = 0; i < mnuAis.size(); ++i)
        mnuAis[i] = item(mnuAisatsu, gamecommon::kGreetingLines[i].caption.toString(), true);
    mnuComment = mnuM->addMenu(QStringLiteral("コメント"));
    for (std::size_t i = 0; i < mnuCom.size(); ++i)
        mnuCom[i] = item(mnuComment, gamecommon::kCommentLines[i].caption.toString(), true);
    mnuKao = mnuM->addMenu(QStringLiteral("顔文字"));
    for (std::size_t i = 0; i < mnuKaomoji.size(); ++i)
        mnuKaomoji[i] = item(mnuKao, gamecommon::kFaceLines[i].caption.toString(), true);
    mnuM->setEnabled(false);

    mnuKifu = bar->addMenu(QStringLiteral("棋譜再生"));
    mnuPlay = item(mnuKifu, QStringLiteral("起動"), false);

    // The version item is a menu title of its own that acts when clicked.
    mnuV = bar->addAction(QStringLiteral("バ－ジョン情報"));
}

void VarnelWindow::connectMenus() {
    connect(mnuInit, &QAction::triggered, this, &VarnelWindow::resetGame);
    connect(mnuEnd, &QAction::triggered, this, [this] {
        match_->fileExit();
        close();
    });
    connect(LogIn, &QAction::triggered, this, &VarnelWindow::openLoginDialog);
    connect(mnuServer, &QAction::triggered, match_.get(), &ShogiMatch::startListening);
    connect(mnuClose, &QAction::triggered, match_.get(), &ShogiMatch::disconnect);
    connect(mnuToryou, &QAction::triggered, match_.get(), &ShogiMatch::resign);
    connect(Command5, &QPushButton::clicked, match_.get(), &ShogiMatch::sendChat);
    connect(mnuV, &QAction::triggered, this, [this] { box(kVersionText); });
    // A pick sends the line of its table, whatever the menu item now reads.
    const auto sendsLine = [this](QAction* action, const gamecommon::ConversationLine& line) {
        connect(action, &QAction::triggered, this,
                [this, text = line.text.toString()] { match_->sendConversation(text); });
    };
    for (std::size_t i = 0; i < mnuAis.size(); ++i)
        sendsLine(mnuAis[i], gamecommon::kGreetingLines[i]);
    for (std::size_t i = 0; i < mnuCom.size(); ++i)
        sendsLine(mnuCom[i], gamecommon::kCommentLines[i]);
    for (std::size_t i = 0; i < mnuKaomoji.size(); ++i)
        sendsLine(mnuKaomoji[i], gamecommon::kFaceLines[i]);
    for (std::size_t i = 0; i < mnuSrtrong.size(); ++i) {
        connect(mnuSrtrong[i], &QAction::triggered, this,
                [this, i] { match_->chooseStrength(static_cast<int>(i)); });
    }
}

bool VarnelWindow::event(QEvent* event) {
    const bool result = QMainWindow::event(event);
    if (activation_.startsConnection(*event)) activated();
    return result;
}

void VarnelWindow::activated() {
    constexpr qint64 kBoxEchoMs = 500;
    if (boxClosed_.isValid() && boxClosed_.elapsed() < kBoxEchoMs) return;
    match_->onActivated();
}

void VarnelWindow::box(const QString& text) {
    dialogs_->message(this, kProgramTitle, text);
    boxClosed_.start();
}

bool VarnelWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text2->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Text2->clear();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool VarnelWindow::showPosition(const QString& positionString) {
    if (!match_->setPositionString(positionString)) return false;
    board_->BanStart();
    board_->update();
    return true;
}

void VarnelWindow::resetGame() {
    match_->reset();
    board_->BanStart();
    board_->update();
}

void VarnelWindow::openLoginDialog() {
    gamecommon::LoginDialog dialog(gamecommon::loginFileIn(folder_), *dialogs_, this);
    dialog.exec();
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
    box(text);
}

bool VarnelWindow::askPromotion() {
    const bool yes = dialogs_->askYesNo(this, kProgramTitle, kMsgPromote.toString());
    boxClosed_.start();
    return yes;
}

void VarnelWindow::setStatusText(const QString& text) {
    Text1->setText(text);
}

void VarnelWindow::setMessageText(const QString& text) {
    Text2->setPlainText(text);
}

QString VarnelWindow::messageText() const {
    return Text2->toPlainText();
}

void VarnelWindow::setPlayerNames(const QString& first, const QString& second) {
    Text3[0]->setText(first);
    Text3[1]->setText(second);
}

void VarnelWindow::setTitle(const QString& title) {
    setWindowTitle(title);
}

void VarnelWindow::showMessageBox(const QString& text) {
    box(text);
}

void VarnelWindow::setSendEnabled(bool enabled) {
    Command5->setEnabled(enabled);
}

void VarnelWindow::setServerMenuEnabled(bool enabled) {
    mnuServer->setEnabled(enabled);
}

void VarnelWindow::setCloseMenuEnabled(bool enabled) {
    mnuClose->setEnabled(enabled);
}

void VarnelWindow::setGameMenusEnabled(bool enabled) {
    mnuM->setEnabled(enabled);
    mnuTEnd->setEnabled(enabled);
}

void VarnelWindow::setStrengthMenuEnabled(bool enabled) {
    mnuStrong->setEnabled(enabled);
}

void VarnelWindow::showStrengthItems(const std::array<bool, 6>& checked,
                                     const std::array<bool, 6>& enabled) {
    for (std::size_t i = 0; i < mnuSrtrong.size(); ++i) {
        mnuSrtrong[i]->setChecked(checked[i]);
        mnuSrtrong[i]->setEnabled(enabled[i]);
    }
}

void VarnelWindow::drawClocks(const QString& oppClock, const QString& ownClock) {
    board_->drawClocks(oppClock, ownClock);
}

void VarnelWindow::repaintBoard() {
    board_->update();
}

void VarnelWindow::alert() {
    QApplication::alert(this, 2500);
}

}  // namespace shogi
