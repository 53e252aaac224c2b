#include "lobbywindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "clientlogindialog.h"
#include "controlname.h"
#include "dialogs.h"
#include "programfolder.h"
#include "qtclock.h"
#include "socketclienttransport.h"
#include "startprogram.h"

namespace lobbyclient {

using platform::named;

namespace {

const QString kTitle = QStringLiteral("Client");

}  // namespace

LobbyWindow::LobbyWindow(const LobbyWindowOptions& options, QWidget* parent)
    : QMainWindow(parent),
      folder_(options.folder.isEmpty() ? platform::programFolders(platform::programFolder()).data
                                       : options.folder),
      programsFolder_(options.folder.isEmpty() ? platform::programFolder() : options.folder),
      ownDialogs_(options.dialogs ? nullptr : std::make_unique<platform::WidgetDialogs>()),
      dialogs_(options.dialogs ? options.dialogs : ownDialogs_.get()),
      starter_(options.starter ? options.starter
                               : ProgramStarter([](const QString& path, const QString& folder) {
                                     return platform::startProgram(path, folder);
                                 })),
      ownTransport_(options.transport ? nullptr : std::make_unique<SocketClientTransport>()),
      ownClock_(options.clock ? nullptr : std::make_unique<platform::QtClock>()),
      client_(std::make_unique<LobbyClient>(static_cast<LobbyView&>(*this), folder_, starter_,
                                            options.transport ? *options.transport : *ownTransport_,
                                            options.clock ? *options.clock : *ownClock_)) {
    setWindowTitle(kTitle);
    buildControls();
    const QString failed = client_->startUp();
    if (!failed.isEmpty()) {
        Status->setText(failed);
    } else {
        Start->setEnabled(false);
    }
}

LobbyWindow::~LobbyWindow() {
    client_->ThisExit();
}

void LobbyWindow::buildControls() {
    Status = named(new QLineEdit(this), QStringLiteral("Status"));
    Status->installEventFilter(this);
    SendBTN = named(new QPushButton(tr("送　信"), this), QStringLiteral("SendBTN"));
    SendBTN->setEnabled(false);
    Msg = named(new QPlainTextEdit(this), QStringLiteral("Msg"));
    Msg->setReadOnly(true);
    Msg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    List1 = named(new QListWidget(this), QStringLiteral("List1"));
    List1->setToolTip(tr("ダブルクリックして相手を選択してください。"));
    List1->setEnabled(false);
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    // A double-click anywhere in the list challenges the selected user, or
    // says that nobody is selected.
    List1->viewport()->installEventFilter(this);
    Label1 = named(new QLabel(this), QStringLiteral("Label1"));
    Start = named(new QPushButton(tr("起　動"), this), QStringLiteral("Start"));
    LOGINbtn = named(new QPushButton(tr("ログイン"), this), QStringLiteral("LOGINbtn"));
    EndBTN = named(new QPushButton(QStringLiteral("END"), this), QStringLiteral("EndBTN"));
    mnu_Menu = named(new QMenu(tr("右クリックメニュ－"), this), QStringLiteral("mnu_Menu"));
    mnu_Watch = named(mnu_Menu->addAction(QStringLiteral("Watch")), QStringLiteral("mnu_Watch"));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* chat = new QHBoxLayout;
    chat->addWidget(Status, 1);
    chat->addWidget(SendBTN);
    layout->addLayout(chat);
    auto* middle = new QHBoxLayout;
    middle->addWidget(Msg, 3);
    middle->addWidget(List1, 2);
    layout->addLayout(middle, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label1, 1);
    buttons->addWidget(Start);
    buttons->addWidget(LOGINbtn);
    buttons->addWidget(EndBTN);
    layout->addLayout(buttons);
    setCentralWidget(central);
    resize(640, 420);

    connect(SendBTN, &QPushButton::clicked, this, [this] { client_->sendChat(Status->text()); });
    connect(List1, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnu_Menu->popup(List1->viewport()->mapToGlobal(at)); });
    connect(mnu_Watch, &QAction::triggered, this, [this] { client_->watch(selectedLine()); });
    connect(Start, &QPushButton::clicked, this, [this] { client_->startGame(); });
    connect(LOGINbtn, &QPushButton::clicked, this, [this] {
        if (client_->fLog()) {
            showLoginDialog();
        } else {
            client_->logout();
        }
    });
    connect(EndBTN, &QPushButton::clicked, this, &LobbyWindow::MeEnd);
}

QString LobbyWindow::selectedLine() const {
    const QListWidgetItem* item = List1->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

bool LobbyWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Status && event->type() == QEvent::MouseButtonDblClick) {
        if (!Status->text().isEmpty()) Status->clear();
        return true;
    }
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        client_->challenge(selectedLine());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void LobbyWindow::showLoginDialog() {
    if (dialog_) {
        dialog_->raise();
        return;
    }
    auto* dialog =
        new ClientLoginDialog(platform::fileInFolder(folder_, QStringLiteral("LOGIN.TXT")), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &ClientLoginDialog::sendRequested, this,
            [this](const LoginRecord& record) { client_->Connect(record); });
    connect(dialog, &ClientLoginDialog::saveFailed, this,
            [this] { showMessageBox(tr("LOGIN.TXTを保存できません。")); });
    // Closing the dialog gives up a login still waiting for its answer.
    connect(dialog, &QDialog::finished, this, [this] { client_->abandonLogin(); });
    // "END" says goodbye on an open connection before the dialog's close
    // would give it up.
    connect(dialog, &ClientLoginDialog::endRequested, this, [this] {
        MeEnd();
        if (dialog_) dialog_->close();
    });
    connect(dialog, &ClientLoginDialog::setupToolRequested, this, &LobbyWindow::startSetupTool);
    dialog_ = dialog;
    dialog->open();
}

void LobbyWindow::startSetupTool() {
    const QString path = platform::fileInFolder(programsFolder_, QStringLiteral("Quenlis"));
    if (!starter_(path, folder_)) showMessageBox(tr("%1を起動できません。").arg(path));
}

void LobbyWindow::MeEnd() {
    client_->ThisExit();
    ended_ = true;
    close();
}

void LobbyWindow::closeEvent(QCloseEvent* event) {
    client_->ThisExit();
    ended_ = true;
    event->accept();
}

void LobbyWindow::addLogLine(const QString& line) {
    const QString old = Msg->toPlainText();
    Msg->setPlainText(old.isEmpty() ? line : line + u'\n' + old);
}

void LobbyWindow::setStatusText(const QString& text) {
    Status->setText(text);
}

void LobbyWindow::setUserLines(const QStringList& lines) {
    List1->clear();
    List1->addItems(lines);
}

void LobbyWindow::setListEnabled(bool enabled) {
    List1->setEnabled(enabled);
}

void LobbyWindow::setGameLabel(const QString& name) {
    Label1->setText(name);
}

void LobbyWindow::setStartEnabled(bool enabled) {
    Start->setEnabled(enabled);
}

void LobbyWindow::setSendEnabled(bool enabled) {
    SendBTN->setEnabled(enabled);
}

void LobbyWindow::setLoggedInCaption(bool loggedIn) {
    LOGINbtn->setText(loggedIn ? tr("ログアウト") : tr("ログイン"));
}

void LobbyWindow::showMessageBox(const QString& text) {
    QWidget* parent = dialog_ ? static_cast<QWidget*>(dialog_) : this;
    dialogs_->message(parent, kTitle, text);
}

void LobbyWindow::closeLoginDialog() {
    if (dialog_) dialog_->close();
}

void LobbyWindow::endProgram() {
    MeEnd();
}

}  // namespace lobbyclient
