#include "gamewindow.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "controlname.h"
#include "conversationlines.h"
#include "dialogs.h"
#include "programfolder.h"
#include "qtclock.h"
#include "recordmenus.h"
#include "socketmatchtransport.h"
#include "windowsizelock.h"

namespace gamecommon {

using platform::named;

namespace {

// How long the window is flashed when a move arrives: five flashes of half a
// second.
constexpr int kAlertMs = 2500;

// Passes every box on and says when it has closed, so that the activation
// its closing causes is known as the echo of a box of ours.
class EchoedDialogs : public platform::Dialogs {
public:
    EchoedDialogs(platform::Dialogs& boxes, std::function<void()> closed)
        : boxes_(boxes), closed_(std::move(closed)) {}

    void message(QWidget* parent, const QString& title, const QString& text) override {
        boxes_.message(parent, title, text);
        closed_();
    }
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override {
        const bool yes = boxes_.askYesNo(parent, title, text);
        closed_();
        return yes;
    }
    std::optional<QString> askText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& initial) override {
        auto answer = boxes_.askText(parent, title, prompt, initial);
        closed_();
        return answer;
    }

private:
    platform::Dialogs& boxes_;
    std::function<void()> closed_;
};

// The folders a test names, or the program's own.
platform::ProgramFolders foldersFor(const GameWindowOptions& options) {
    if (!options.folder.isEmpty()) return {options.folder, options.folder, false};
    return platform::programFolders(platform::programFolder());
}

}  // namespace

GameWindow::GameWindow(const GameWindowOptions& options, GameWindowTraits traits, QWidget* parent)
    : GameWindow(options, foldersFor(options), std::move(traits), parent) {}

GameWindow::GameWindow(const GameWindowOptions& options, const platform::ProgramFolders& folders,
                       GameWindowTraits traits, QWidget* parent)
    : QMainWindow(parent),
      activation_(this),
      ownClock_(options.clock ? nullptr : std::make_unique<platform::QtClock>()),
      clock_(options.clock ? options.clock : ownClock_.get()),
      transport_(options.transport ? options.transport
                                   : static_cast<MatchTransport*>(new SocketMatchTransport(this))),
      traits_(std::move(traits)),
      folder_(folders.data),
      assetFolder_(folders.assets),
      ownDialogs_(options.dialogs ? nullptr : std::make_unique<platform::WidgetDialogs>()),
      dialogs_(options.dialogs ? options.dialogs : ownDialogs_.get()) {
    setWindowTitle(traits_.title);
}

GameWindow::~GameWindow() = default;

void GameWindow::setUp(MatchFlow& match, BoardCanvas* board) {
    match_ = &match;
    board_ = board;
    buildControls(board);
    buildMenus();
    connectMenus();
    // The window keeps the size it first showed with.
    connect(board, &BoardCanvas::firstPainted, this, [this] { WindowSizeLock::lock(this); });
    match.startUp();
}

void GameWindow::setUpRecords(RecordBoard& board, RecordNames names) {
    recordDialogs_ = std::make_unique<EchoedDialogs>(*dialogs_, [this] { boxClosed_.start(); });
    records_ = new RecordMenus(
        std::move(names), folder_, *recordDialogs_, board,
        [this] { return match_ && match_->state().IsConnected; }, this);
    records_->attach(nmuFileOpen, mnuSave, mnuVSave, mnuPlay);
    if (match_) match_->setRecord(&records_->record());
}

void GameWindow::buildControls(BoardCanvas* board) {
    Text1 = named(new QLineEdit(this), QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text2 = named(new QPlainTextEdit(this), QStringLiteral("Text2"));
    Text2->setToolTip(tr("ダブルクリックで、テキストボックス内を消去できます。"));
    Text2->setFixedHeight(Text2->fontMetrics().lineSpacing() * 3 + 12);
    Text2->viewport()->installEventFilter(this);
    for (auto& box : Text3) {
        box = new QLineEdit(this);
        box->setReadOnly(true);
    }
    named(Text3, QStringLiteral("Text3"));
    Command5 = named(new QPushButton(tr("送　信"), this), QStringLiteral("Command5"));
    Command5->setToolTip(tr("メッセージを送信します。"));
    Command5->setEnabled(false);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(board, 0, Qt::AlignLeft | Qt::AlignTop);
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

void GameWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto item = [](QMenu* menu, const QString& caption, bool enabled) {
        QAction* action = menu->addAction(caption);
        action->setEnabled(enabled);
        return action;
    };

    mnuFile = bar->addMenu(tr("ファイル"));
    nmuFileOpen = item(mnuFile, tr("開く...(&F)"), false);
    mnuSave = item(mnuFile, tr("名前を付けて保存..."), false);
    mnuVSave = item(mnuFile, tr("全手保存"), false);
    mnuFile->addSeparator();
    mnuStrong = mnuFile->addMenu(tr("強さ"));
    for (std::size_t i = 0; i < mnuSrtrong.size(); ++i) {
        mnuSrtrong[i] = item(mnuStrong, conversationCaption(kStrengthClasses[i]), true);
        mnuSrtrong[i]->setCheckable(true);
    }
    mnuStrong->setEnabled(false);
    mnuInit = item(mnuFile, tr("初期化"), true);
    mnuFile->addSeparator();
    // Both programs have always called it so.
    mnuEnd = item(mnuFile, tr("将棋終了(&Q)"), true);

    mnuConnect = bar->addMenu(tr("接続"));
    if (traits_.hasLoginDialog) LogIn = item(mnuConnect, tr("ログイン(&R)"), true);
    if (traits_.canListen) mnuServer = item(mnuConnect, tr("サーバー（後手&S）"), true);
    if (LogIn || mnuServer) mnuConnect->addSeparator();
    mnuClose = item(mnuConnect, tr("切断(&A)"), false);

    mnuTEnd = bar->addMenu(tr("投了"));
    mnuToryou = item(mnuTEnd, tr("投了"), true);
    mnuTEnd->setEnabled(false);

    mnuM = bar->addMenu(tr("メッセージ"));
    mnuAisatsu = mnuM->addMenu(tr("挨拶"));
    for (std::size_t i = 0; i < mnuAis.size(); ++i)
        mnuAis[i] = item(mnuAisatsu, conversationCaption(kGreetingLines[i].caption), true);
    mnuComment = mnuM->addMenu(tr("コメント"));
    for (std::size_t i = 0; i < mnuCom.size(); ++i)
        mnuCom[i] = item(mnuComment, conversationCaption(kCommentLines[i].caption), true);
    mnuKao = mnuM->addMenu(tr("顔文字"));
    for (std::size_t i = 0; i < mnuKaomoji.size(); ++i)
        mnuKaomoji[i] = item(mnuKao, conversationCaption(kFaceLines[i].caption), true);
    mnuM->setEnabled(false);

    mnuKifu = bar->addMenu(tr("棋譜再生"));
    mnuPlay = item(mnuKifu, tr("起動"), false);

    // The version item is a menu title of its own that acts when clicked.
    mnuV = bar->addAction(tr("バ－ジョン情報"));

    nameMenus();
}

void GameWindow::nameMenus() {
    named(mnuFile, QStringLiteral("mnuFile"));
    named(nmuFileOpen, QStringLiteral("nmuFileOpen"));
    named(mnuSave, QStringLiteral("mnuSave"));
    named(mnuVSave, QStringLiteral("mnuVSave"));
    named(mnuStrong, QStringLiteral("mnuStrong"));
    named(mnuInit, QStringLiteral("mnuInit"));
    named(mnuEnd, QStringLiteral("mnuEnd"));
    named(mnuConnect, QStringLiteral("mnuConnect"));
    named(mnuClose, QStringLiteral("mnuClose"));
    named(mnuTEnd, QStringLiteral("mnuTEnd"));
    named(mnuToryou, QStringLiteral("mnuToryou"));
    named(mnuM, QStringLiteral("mnuM"));
    named(mnuAisatsu, QStringLiteral("mnuAisatsu"));
    named(mnuComment, QStringLiteral("mnuComment"));
    named(mnuKao, QStringLiteral("mnuKao"));
    named(mnuKifu, QStringLiteral("mnuKifu"));
    named(mnuPlay, QStringLiteral("mnuPlay"));
    named(mnuV, QStringLiteral("mnuV"));
    if (LogIn) named(LogIn, QStringLiteral("LogIn"));
    if (mnuServer) named(mnuServer, QStringLiteral("mnuServer"));
    named(mnuSrtrong, QStringLiteral("mnuSrtrong"));
    named(mnuAis, QStringLiteral("mnuAis"));
    named(mnuCom, QStringLiteral("mnuCom"));
    named(mnuKaomoji, QStringLiteral("mnuKaomoji"));
}

void GameWindow::connectMenus() {
    connect(mnuInit, &QAction::triggered, this, [this] { resetGame(); });
    connect(mnuEnd, &QAction::triggered, this, [this] {
        match_->fileExit();
        close();
    });
    if (LogIn) connect(LogIn, &QAction::triggered, this, [this] { openLoginDialog(); });
    if (mnuServer) connect(mnuServer, &QAction::triggered, match_, &MatchFlow::startListening);
    connect(mnuClose, &QAction::triggered, match_, &MatchFlow::disconnect);
    connect(mnuToryou, &QAction::triggered, match_, &MatchFlow::resign);
    connect(Command5, &QPushButton::clicked, match_, &MatchFlow::sendChat);
    connect(mnuV, &QAction::triggered, this, [this] { box(traits_.versionText); });
    // A pick sends the line of its table, whatever the menu item now reads.
    const auto sendsLine = [this](QAction* action, const ConversationLine& line) {
        connect(action, &QAction::triggered, this,
                [this, text = line.text.toString()] { match_->sendConversation(text); });
    };
    for (std::size_t i = 0; i < mnuAis.size(); ++i)
        sendsLine(mnuAis[i], kGreetingLines[i]);
    for (std::size_t i = 0; i < mnuCom.size(); ++i)
        sendsLine(mnuCom[i], kCommentLines[i]);
    for (std::size_t i = 0; i < mnuKaomoji.size(); ++i)
        sendsLine(mnuKaomoji[i], kFaceLines[i]);
    for (std::size_t i = 0; i < mnuSrtrong.size(); ++i) {
        connect(mnuSrtrong[i], &QAction::triggered, this,
                [this, i] { match_->chooseStrength(static_cast<int>(i)); });
    }
}

bool GameWindow::event(QEvent* event) {
    const bool result = QMainWindow::event(event);
    if (activation_.startsConnection(*event)) activated();
    return result;
}

void GameWindow::activated() {
    constexpr qint64 kBoxEchoMs = 500;
    if (!match_) return;
    if (boxClosed_.isValid() && boxClosed_.elapsed() < kBoxEchoMs) return;
    match_->onActivated();
}

void GameWindow::box(const QString& text) {
    dialogs_->message(this, traits_.title, text);
    boxClosed_.start();
}

bool GameWindow::eventFilter(QObject* watched, QEvent* event) {
    if (Text2 && watched == Text2->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        Text2->clear();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void GameWindow::setStatusText(const QString& text) {
    Text1->setText(text);
}

void GameWindow::setMessageText(const QString& text) {
    Text2->setPlainText(text);
}

QString GameWindow::messageText() const {
    return Text2->toPlainText();
}

void GameWindow::setPlayerBox(std::size_t box, const QString& text) {
    if (box < Text3.size()) Text3[box]->setText(text);
}

void GameWindow::setTitle(const QString& title) {
    setWindowTitle(title);
}

void GameWindow::showMessageBox(const QString& text) {
    box(text);
}

void GameWindow::setSendEnabled(bool enabled) {
    Command5->setEnabled(enabled);
}

void GameWindow::setServerMenuEnabled(bool enabled) {
    if (mnuServer) mnuServer->setEnabled(enabled);
}

void GameWindow::setCloseMenuEnabled(bool enabled) {
    mnuClose->setEnabled(enabled);
}

void GameWindow::setGameMenusEnabled(bool enabled) {
    mnuM->setEnabled(enabled);
    mnuTEnd->setEnabled(enabled);
}

void GameWindow::setStrengthMenuEnabled(bool enabled) {
    mnuStrong->setEnabled(enabled);
}

void GameWindow::showStrengthItems(const std::array<bool, 6>& checked,
                                   const std::array<bool, 6>& enabled) {
    for (std::size_t i = 0; i < mnuSrtrong.size(); ++i) {
        mnuSrtrong[i]->setChecked(checked[i]);
        mnuSrtrong[i]->setEnabled(enabled[i]);
    }
}

void GameWindow::repaintBoard() {
    if (board_) board_->update();
}

void GameWindow::alert() {
    QApplication::alert(this, kAlertMs);
}

}  // namespace gamecommon
