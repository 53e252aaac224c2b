#include "lobbyclient.h"

#include "socketerrortext.h"

#include "gameprogram.h"
#include "lobbyclassify.h"
#include "lobbymessages.h"
#include "lobbynumbers.h"
#include "userlines.h"

namespace lobbyclient {

namespace {

constexpr int kPollMs = 5000;
constexpr std::chrono::milliseconds kLoginTimeout{10000};

}  // namespace

LobbyClient::LobbyClient(LobbyView& view, QString folder, ProgramStarter starter,
                         ClientTransport& transport, ClientClock& clock, QObject* parent)
    : QObject(parent),
      view_(view),
      folder_(std::move(folder)),
      starter_(std::move(starter)),
      transport_(transport),
      Timer1_(clock.makeTimer([this] { pollUsers(); })),
      loginTimeout_(kLoginTimeout),
      loginTimer_(clock.makeTimer([this] { onLoginTimeout(); })) {
    transport_.setHandler(
        [this](net::SocketHandle s, int event, int error) { onSocketEvent(s, event, error); });
}

LobbyClient::~LobbyClient() {
    ThisExit();
    // The transport outlives the client: nothing may reach it any more.
    transport_.setHandler({});
}

QString LobbyClient::startUp() {
    return transport_.StartUp();
}

QString LobbyClient::gameName(int kind) const {
    return kind >= 0 && kind < GameName().size() ? GameName()[kind] : QString();
}

void LobbyClient::send(const QString& text) {
    if (dataSock_ != 0) transport_.SendMsg(dataSock_, text);
}

void LobbyClient::Connect(const LoginRecord& record) {
    if (record.Kind < 0 || record.Kind >= GameName().size()) return;
    // One socket at a time: a press while the attempt or the login is under
    // way would only lose track of the first socket. A connection left over
    // from a logout that the server has not closed yet is closed here.
    if (loginPending_) return;
    if (dataSock_ != 0) closeDataSock();
    pending_ = record;
    const net::ConnectResult result = transport_.ConnectServer(record.Server);
    view_.setStatusText(record.Server);
    if (!result.errorText.isEmpty()) {
        view_.showMessageBox(net::shownSocketText(result.errorText));
        return;
    }
    dataSock_ = result.socket;
    connected_ = false;
    loginPending_ = dataSock_ != 0;
    if (loginPending_) loginTimer_->start(static_cast<int>(loginTimeout_.count()));
    KindText_ = lobby::plainNumber(record.Kind);
    loginMessage_ = lobby::loginRequest(record.ID, record.PASS, record.MAIL, record.Kind);
}

void LobbyClient::onSocketEvent(net::SocketHandle socket, int event, int error) {
    if (socket != dataSock_ || dataSock_ == 0) return;
    switch (event) {
        case net::FD_CONNECT:
            if (error != 0) {
                // A failed attempt shows nothing; the next "送　信" may try again.
                closeDataSock();
                return;
            }
            connected_ = true;
            send(loginMessage_);
            view_.addLogLine(tr("SERVER:>接続が完了しました。"));
            break;
        case net::FD_READ: {
            const net::ReceivedMessage message = transport_.RecvMsg(dataSock_);
            if (message.byteCount < 0) view_.setStatusText(tr("受信失敗"));
            ClientDispatch(message.text);
            break;
        }
        case net::FD_CLOSE:
            view_.addLogLine(QStringLiteral("SERVER:>CLOSE"));
            closeDataSock();
            break;
        default:
            break;
    }
}

void LobbyClient::closeDataSock() {
    transport_.closeSocket(dataSock_);
    dataSock_ = 0;
    connected_ = false;
    endLoginAttempt();
}

void LobbyClient::endLoginAttempt() {
    loginPending_ = false;
    loginTimer_->stop();
}

std::chrono::milliseconds LobbyClient::loginTimeout() const {
    return loginTimeout_;
}

void LobbyClient::setLoginTimeout(std::chrono::milliseconds timeout) {
    loginTimeout_ = timeout;
}

void LobbyClient::onLoginTimeout() {
    loginTimer_->stop();  // it times out once
    if (!loginPending_) return;
    // The socket goes before the box opens: the box lets events run, and an
    // answer arriving now must find nothing to log in on.
    closeDataSock();
    view_.showMessageBox(tr("サ－バ－から応答がありません。"));
}

void LobbyClient::abandonLogin() {
    if (loginPending_) closeDataSock();
}

void LobbyClient::ClientDispatch(const QString& text) {
    using lobby::ClientReply;
    const QStringList fields = lobby::splitFields(text);
    const auto field = [&](int n) { return n < fields.size() ? fields[n] : QString(); };
    switch (lobby::classifyClientMessage(text)) {
        case ClientReply::Login:
            onLogin(text);
            break;
        case ClientReply::AddFriends:
            // A list whose records do not come in whole fives cannot be read;
            // the last good one stays.
            if (auto users = lobby::parseUserList(text)) {
                users_ = std::move(*users);
                view_.setUserLines(userLines(users_, MyIndex_));
            }
            break;
        case ClientReply::GameMsg:
            onGameMsg(text);
            break;
        case ClientReply::HisNone:
            view_.addLogLine(tr("SERVER:>相手が離籍してしまいました。"));
            InBattle_ = false;
            break;
        case ClientReply::LogOut:
            view_.addLogLine(tr("SERVER:>サ－バ－から切断されました。"));
            InBattle_ = false;
            break;
        case ClientReply::Dead:
            view_.showMessageBox(
                tr("タイムオ－バ－のため、サ－バ－から切断されました。再度ログインしてください。"));
            ThisExit();
            view_.endProgram();
            break;
        case ClientReply::NoLogin:
            endLoginAttempt();
            view_.showMessageBox(tr("既にログインしています。再ログインが拒否されました。"));
            break;
        case ClientReply::GameEnd:
            view_.addLogLine(tr("SERVER:>相手は、離籍しました。"));
            InBattle_ = false;
            break;
        case ClientReply::GameSetOk:
            view_.addLogLine(tr("SERVER:>%1はゲ－ムを起動しました。").arg(field(1)));
            break;
        case ClientReply::Gmok:
        case ClientReply::Unknown:
            break;
    }
}

void LobbyClient::onLogin(const QString& text) {
    const auto reply = lobby::parseLoginReply(text);
    if (!reply) return;
    endLoginAttempt();
    if (!reply->accepted) {
        const QStringList fields = lobby::splitFields(text);
        view_.showMessageBox(tr("満員のためログインが拒否されました。%1")
                                 .arg(fields.size() > 1 ? fields[1] : QString()));
        if (dataSock_ != 0) {
            transport_.closeSocket(dataSock_);
            dataSock_ = 0;
        }
        connected_ = false;
        return;
    }
    view_.addLogLine(tr("SERVER:>LOGINが許可されました。"));
    view_.setLoggedInCaption(true);
    fLog_ = false;
    view_.setSendEnabled(true);
    Timer1_->start(kPollMs);
    view_.setListEnabled(true);
    view_.setGameLabel(gameName(lobby::lenientNumber(KindText_)));
    loginRecord_ = pending_;
    view_.closeLoginDialog();
    MyIndex_ = reply->index;
}

void LobbyClient::onGameMsg(const QString& text) {
    const QStringList fields = lobby::splitFields(text);
    const QString line = fields.size() > 1 ? fields[1] : QString();
    view_.addLogLine(line);
    if (line == u"Battle") {
        InBattle_ = true;
        view_.setStartEnabled(true);
    } else if (line == u"ShutDown") {
        InBattle_ = false;
        view_.setStartEnabled(false);
    } else if (line == u"NotStart") {
        view_.addLogLine(
            tr("SERVER:>%1ソフトを立ち上げてください。").arg(gameName(loginRecord_.Kind)));
        return;
    } else if (line == lobby::kAlreadyPlayingText || line == lobby::kOpponentLoggedOutText ||
               line == lobby::kOpponentPlayingText) {
        // The server refused our challenge: no match, so another one may follow.
        InBattle_ = false;
        return;
    }
    send(lobby::chatAck());
}

void LobbyClient::logout() {
    view_.setStartEnabled(false);
    fLog_ = true;
    send(lobby::logoutRequest(loginRecord_.ID));
    view_.setLoggedInCaption(false);
    Timer1_->stop();
    view_.setSendEnabled(false);
    InBattle_ = false;
}

void LobbyClient::pollUsers() {
    send(lobby::userListRequest(loginRecord_.ID, loginRecord_.PASS, MyIndex_));
}

const lobby::UserListEntry* LobbyClient::userOfLine(const QString& line) const {
    if (line.isEmpty()) return nullptr;
    const int index = lobby::lenientNumber(linePieces(line).value(1));
    for (const lobby::UserListEntry& user : users_)
        if (user.index == index) return &user;
    return nullptr;
}

void LobbyClient::challenge(const QString& selectedLine) {
    const lobby::UserListEntry* user = userOfLine(selectedLine);
    if (!user) {
        view_.showMessageBox(tr("相手が選択されていません。"));
    } else if (InBattle_) {
        view_.showMessageBox(tr("あなたは既に対戦中です。"));
    } else if (user->index == MyIndex_) {
        view_.showMessageBox(tr("自分は対戦相手にできません。"));
    } else if (user->kind != loginRecord_.Kind) {
        view_.showMessageBox(tr("ゲ－ム種別が間違っています。"));
    } else if (user->playing) {
        view_.showMessageBox(tr("そのユ－ザ－は既に対戦中です。"));
    } else {
        send(lobby::challengeRequest(loginRecord_.ID, loginRecord_.PASS, user->index));
        InBattle_ = true;
    }
}

void LobbyClient::watch(const QString& selectedLine) {
    const lobby::UserListEntry* user = userOfLine(selectedLine);
    if (InBattle_) {
        view_.showMessageBox(tr("あなたは、対戦中です。"));
    } else if (!user) {
        return;
    } else if (user->index == MyIndex_) {
        view_.showMessageBox(tr("自分を選択できません。"));
    } else if (!user->playing) {
        view_.showMessageBox(tr("選択できません。"));
    } else {
        send(lobby::watchRequest(user->index));
        view_.setStartEnabled(true);
    }
}

void LobbyClient::sendChat(const QString& text) {
    // A "|" would shift the fields of the message; it goes out full-width.
    QString typed = text;
    typed.replace(u'|', u'｜');
    send(lobby::chatMessage(loginRecord_.ID, typed));
    view_.addLogLine(loginRecord_.ID + u'>' + typed);
}

void LobbyClient::startGame() {
    view_.setStartEnabled(false);
    const GameProgram program = findGameProgram(folder_, loginRecord_.Kind);
    if (!program.error.isEmpty()) {
        view_.showMessageBox(program.error);
        return;
    }
    if (!starter_ || !starter_(program.path, program.folder)) {
        view_.showMessageBox(tr("%1を起動できません。").arg(program.path));
    }
}

void LobbyClient::ThisExit() {
    if (dataSock_ != 0 && connected_) send(lobby::logoutRequest(loginRecord_.ID));
    Timer1_->stop();
    closeDataSock();
}

}  // namespace lobbyclient
