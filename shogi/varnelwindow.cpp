#include "varnelwindow.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

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
      folder_(options.folder.isEmpty() ? platform::programFolder() : options.folder),
      ownDialogs_(options.dialogs ? nullptr : std::make_unique<platform::WidgetDialogs>()),
      dialogs_(options.dialogs ? options.dialogs : ownDialogs_.get()),
      positionString_(kInitialPositionString.toString()) {
    setWindowTitle(kProgramTitle);
    board_ = new ShogiBoardView(folder_, position_, match_, *this, this);
    buildControls();
    buildMenus();
    // The window keeps the size it first showed with.
    connect(board_, &ShogiBoardView::firstPainted, this,
            [this] { gamecommon::WindowSizeLock::lock(this); });
}

VarnelWindow::~VarnelWindow() {
    fileExit();
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
    Timer1 = new QTimer(this);
    Timer2 = new QTimer(this);

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
    const QStringList classes = {QStringLiteral("入門"), QStringLiteral("初級"),
                                 QStringLiteral("中級"), QStringLiteral("中上級"),
                                 QStringLiteral("上級"), QStringLiteral("プロ級")};
    for (int i = 0; i < 6; ++i) {
        mnuSrtrong[static_cast<std::size_t>(i)] = item(mnuStrong, classes[i], true);
        mnuSrtrong[static_cast<std::size_t>(i)]->setCheckable(true);
    }
    mnuStrong->setEnabled(false);
    mnuInit = item(mnuFile, QStringLiteral("初期化"), true);
    mnuFile->addSeparator();
    mnuEnd = item(mnuFile, QStringLiteral("将棋終了(&Q)"), true);

    mnuConnect = bar->addMenu(QStringLiteral("接続"));
    LogIn = item(mnuConnect, QStringLiteral("ログイン(&R)"), true);
    mnuServer = item(mnuConnect, QStringLiteral("サーバー（後手&S）"), false);
    mnuConnect->addSeparator();
    mnuClose = item(mnuConnect, QStringLiteral("切断(&A)"), false);

    mnuTEnd = bar->addMenu(QStringLiteral("投了"));
    mnuToryou = item(mnuTEnd, QStringLiteral("投了"), true);
    mnuTEnd->setEnabled(false);

    mnuM = bar->addMenu(QStringLiteral("メッセージ"));
    mnuAisatsu = mnuM->addMenu(QStringLiteral("挨拶"));
    const QStringList greetings = {QStringLiteral("宜しくお願いします。"),
                                   QStringLiteral("ありがとうございました。"),
                                   QStringLiteral("それでは、始めます。")};
    for (int i = 0; i < 3; ++i)
        mnuAis[static_cast<std::size_t>(i)] = item(mnuAisatsu, greetings[i], true);
    mnuComment = mnuM->addMenu(QStringLiteral("コメント"));
    const QStringList comments = {QStringLiteral("長考中。しばらく考えさせてください。"),
                                  QStringLiteral("ちょっと（10分くらい？）中断します。"),
                                  QStringLiteral("それはいい手ですね。"),
                                  QStringLiteral("強いですね。"),
                                  QStringLiteral("いやー参りました。")};
    for (int i = 0; i < 5; ++i)
        mnuCom[static_cast<std::size_t>(i)] = item(mnuComment, comments[i], true);
    mnuKao = mnuM->addMenu(QStringLiteral("顔文字"));
    const QStringList faces = {
        QStringLiteral("(^_^) わ－い"),         QStringLiteral("m(_ _)m　申し訳ござらぬ。"),
        QStringLiteral("(T_T)　そんな－"),      QStringLiteral("(>_<)　アイタ！"),
        QStringLiteral("(^_^)v　イエ－イ"),     QStringLiteral("<(_ _)>　参り申した。"),
        QStringLiteral("(＾_^；　あの－・・・")};
    for (int i = 0; i < 7; ++i)
        mnuKaomoji[static_cast<std::size_t>(i)] = item(mnuKao, faces[i], true);
    mnuM->setEnabled(false);

    mnuKifu = bar->addMenu(QStringLiteral("棋譜再生"));
    mnuPlay = item(mnuKifu, QStringLiteral("起動"), false);

    // The version item is a menu title of its own that acts when clicked.
    mnuV = bar->addAction(QStringLiteral("バ－ジョン情報"));

    connect(mnuInit, &QAction::triggered, this, &VarnelWindow::resetGame);
    connect(mnuEnd, &QAction::triggered, this, [this] {
        fileExit();
        close();
    });
    connect(LogIn, &QAction::triggered, this, &VarnelWindow::openLoginDialog);
    connect(mnuV, &QAction::triggered, this,
            [this] { dialogs_->message(this, kProgramTitle, kVersionText); });
}

bool VarnelWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text2->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Text2->clear();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool VarnelWindow::showPosition(const QString& positionString) {
    Board check;
    if (check.load(positionString)) return false;
    positionString_ = positionString;
    board_->BanStart();
    board_->update();
    return true;
}

void VarnelWindow::resetGame() {
    positionString_ = kInitialPositionString.toString();
    position_.MyHand.clear();
    position_.OppHand.clear();
    board_->KomaHaiti();
    board_->BanStart();
    board_->update();
    match_.SendLock = false;
    match_.MyTurn = true;
    match_.MoveNo = 0;
}

void VarnelWindow::openLoginDialog() {
    gamecommon::LoginDialog dialog(gamecommon::loginFileIn(folder_), *dialogs_, this);
    dialog.exec();
}

void VarnelWindow::lockChat() {
    match_.SendLock = true;
}

void VarnelWindow::sendMove() {
    ++match_.MoveNo;
    if (!match_.IsConnected) match_.SendLock = false;
    if (match_.MoveNo == 1) match_.MySide = QStringLiteral("先手");
    setGameTitle();
}

void VarnelWindow::setGameTitle() {
    setWindowTitle(QStringLiteral("通信将棋：あなた=") + match_.MySide + QStringLiteral(":第") +
                   QLatin1Char(' ') + QString::number(match_.MoveNo) + QStringLiteral("手"));
}

void VarnelWindow::kingCaptured(const MoveOutcome& outcome) {
    Text2->setPlainText(outcome.resultText);
    Timer1->stop();
}

void VarnelWindow::showRuleMessage(const QString& text) {
    dialogs_->message(this, kProgramTitle, text);
}

bool VarnelWindow::askPromotion() {
    return dialogs_->askYesNo(this, kProgramTitle, kMsgPromote.toString());
}

void VarnelWindow::fileExit() {
    Timer1->stop();
}

}  // namespace shogi
