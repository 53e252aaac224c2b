#include "matchflow.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

#include "clocktext.h"
#include "conversationlines.h"
#include "gamemessage.h"
#include "lobbymessages.h"
#include "loginsettings.h"
#include "programfolder.h"
#include "runningrecord.h"
#include "socketerrortext.h"

namespace gamecommon {

namespace {

constexpr int kTickMs = 1000;
constexpr int kWatchdogTicks = 3;

}  // namespace

MatchFlow::MatchFlow(MatchView& view, QString loginFilePath, MatchTransport& transport,
                     FlowClock& clock, QObject* parent, Watchdog watchdog)
    : QObject(parent),
      view_(view),
      loginFilePath_(std::move(loginFilePath)),
      transport_(transport),
      timer1_(clock.makeTimer([this] { clockTick(); })),
      timer2_(clock.makeTimer([this] { watchdogTick(); })),
      watchdog_(watchdog),
      rejoinTimer_(clock.makeTimer([this] { rejoinTick(); })),
      silence_(clock.makeTimer([this] { silenceTick(); })) {
    transport_.setHandler(
        [this](net::SocketHandle s, int event, int error) { onSocketEvent(s, event, error); });
}

MatchFlow::~MatchFlow() {
    fileExit();
    // The transport outlives the flow: nothing may reach it any more.
    transport_.setHandler({});
}

void MatchFlow::startUp() {
    view_.setSendEnabled(false);
    state_.MyTurn = true;
    if (watchdog_ == Watchdog::Login) timer2_->start(kTickMs);
    const QString failed = transport_.StartUp();
    if (!failed.isEmpty()) view_.setMessageText(failed);
}

void MatchFlow::onActivated() {
    // One data socket at a time: while connected, connecting or listening
    // (or connecting again by itself) there is nothing to start.
    if (dataSock_ != 0 || listenSock_ != 0 || rejoinActive_) return;
    // Looked up anew each time: the lobby client may have written the file
    // since, under a name of another case.
    const QFileInfo file(loginFilePath_);
    const auto login = readLoginSettings(platform::fileInFolder(file.path(), file.fileName()));
    if (!login) {
        view_.showMessageBox(QStringLiteral("File Error"));
        return;
    }
    state_.LoginLine = lobby::gameLoginRequest(login->id, login->password, login->mail);
    state_.ServerName = login->server;
    view_.setServerMenuEnabled(false);
    view_.setCloseMenuEnabled(true);
    const net::ConnectResult result = transport_.ConnectServer(state_.ServerName);
    dataSock_ = result.socket;
    peerAccepted_ = false;
    state_.MoveNo = 0;
    if (!result.errorText.isEmpty()) view_.showMessageBox(net::shownSocketText(result.errorText));
}

void MatchFlow::startListening() {
    stopRejoin();
    view_.setServerMenuEnabled(false);
    view_.setCloseMenuEnabled(true);
    const net::ListenResult result = transport_.SetSERVER();
    view_.setStatusText(result.ownAddress);
    if (!result.errorBoxText.isEmpty())
        view_.showMessageBox(net::shownSocketText(result.errorBoxText));
    view_.setMessageText(net::shownSocketText(result.stateText));
    listenSock_ = result.socket;
    listenPort_ = result.ok() ? result.port : 0;
    state_.MoveNo = 0;
}

void MatchFlow::disconnect() {
    sayLeaving();
    stopRejoin();
    silence_->stop();
    view_.setServerMenuEnabled(true);
    view_.setCloseMenuEnabled(false);
    view_.setSendEnabled(false);
    transport_.closeSocket(listenSock_);
    transport_.closeSocket(dataSock_);
    listenSock_ = 0;
    dataSock_ = 0;
    peerAccepted_ = false;
    view_.setStatusText(tr("切断しました"));
    view_.setMessageText(QString());
    state_.IsConnected = false;
    timer1_->stop();
}

void MatchFlow::sendChat() {
    if (state_.SendLock) return;
    state_.SendLock = true;
    view_.setSendEnabled(false);
    sendText(chatMsg(view_.messageText()));
}

QString MatchFlow::resignMessage() const {
    return conversationMsg(kResignText.toString());
}

void MatchFlow::resign() {
    sendText(resignMessage());
    view_.setMessageText(tr("あなたの負けです。"));
    timer1_->stop();
}

void MatchFlow::sendConversation(const QString& text) {
    sendText(conversationMsg(text));
}

void MatchFlow::chooseStrength(int i) {
    if (i < 0 || i >= 6 || strengthChecked_[static_cast<std::size_t>(i)]) {
        showStrength();  // a click on the ticked item must not untick it
        return;
    }
    for (std::size_t j = 0; j < 6; ++j) {
        strengthChecked_[j] = j == static_cast<std::size_t>(i);
        strengthEnabled_[j] = j == static_cast<std::size_t>(i);
    }
    showStrength();
    strengthCount_ = 5;
    // Told in Japanese, whatever language the window speaks.
    sendConversation(QStringLiteral("私の強さは") +
                     QString::fromUtf8(kStrengthClasses[static_cast<std::size_t>(i)]) +
                     QStringLiteral("クラスです。"));
}

void MatchFlow::showStrength() {
    view_.showStrengthItems(strengthChecked_, strengthEnabled_);
}

void MatchFlow::newGame() {
    state_.SendLock = false;
    state_.MyTurn = true;
    state_.MoveNo = 0;
}

void MatchFlow::fileExit() {
    sayLeaving();
    stopRejoin();
    silence_->stop();
    timer1_->stop();
    timer2_->stop();
    transport_.closeSocket(listenSock_);
    transport_.closeSocket(dataSock_);
    listenSock_ = 0;
    dataSock_ = 0;
}

void MatchFlow::SendMove() {
    const QString message = BuildMoveMsg();
    lastSentMove_ = message;
    lastSentMoveNo_ = state_.MoveNo;
    awaitingResume_ = false;
    if (state_.IsConnected) {
        sendText(message);
        if (state_.MoveNo == 1) {
            state_.Clocks = {0, 0};
            timer1_->start(kTickMs);
        }
        state_.MyTurn = false;
        view_.setStatusText(tr("相手は考え中"));
    } else {
        state_.SendLock = false;
    }
    if (state_.MoveNo == 1) state_.MySide = QStringLiteral("先手");
    view_.setTitle(gameTitle());
    recordPosition(true);
}

void MatchFlow::recordPosition(bool ownMove) {
    if (!record_ || !record_->isOn()) return;
    const RecordProblem problem =
        record_->append(ownMove ? ownMoveRecordLine() : receivedRecordLine());
    if (problem != RecordProblem::None)
        view_.showMessageBox(problemText(problem, record_->names().runningFile));
}

void MatchFlow::endGame(const QString& message, const QString& localText) {
    sendText(message);
    view_.setMessageText(localText);
    timer1_->stop();
}

void MatchFlow::sendText(const QString& text) {
    if (dataSock_ == 0) return;
    transport_.SendMsg(dataSock_, text);
    watchSilence(text);
}

void MatchFlow::watchSilence(const QString& sent) {
    switch (classifyGameMsg(sent)) {
        case GameMsgType::Move:
        case GameMsgType::Chat:
        case GameMsgType::EndOfGame:
        case GameMsgType::Conversation:
            if (!silence_->isActive() && silenceLimitMs_ > 0) silence_->start(silenceLimitMs_);
            return;
        default:
            return;
    }
}

void MatchFlow::silenceTick() {
    silence_->stop();
    // Nothing answered what went out: the connection is as good as gone.
    if (mayRejoin()) onRemoteClose();
}

void MatchFlow::sayLeaving() {
    if (dataSock_ != 0 && state_.IsConnected) sendText(lobby::gameLeaveMessage());
}

bool MatchFlow::mayRejoin() const {
    return dataSock_ != 0 && state_.LoginDone && !peerAccepted_ && !state_.WatchMode && !sentAway_;
}

void MatchFlow::startRejoin() {
    rejoinActive_ = true;
    rejoinLoggedIn_ = false;
    rejoinWaitedMs_ = 0;
    rejoinPauseMs_ = kFirstRejoinPauseMs;
    view_.setCloseMenuEnabled(true);
    view_.setStatusText(tr("接続が切れました。つなぎ直しています"));
    rejoinTimer_->start(rejoinPauseMs_);
}

void MatchFlow::scheduleRejoin() {
    rejoinPauseMs_ = std::min(rejoinPauseMs_ * 2, kLongestRejoinPauseMs);
    if (rejoinWaitedMs_ + rejoinPauseMs_ > kRejoinForMs) {
        stopRejoin();
        view_.setCloseMenuEnabled(false);
        view_.setStatusText(tr("つなぎ直せませんでした"));
        return;
    }
    rejoinTimer_->start(rejoinPauseMs_);
}

void MatchFlow::stopRejoin() {
    rejoinActive_ = false;
    rejoinLoggedIn_ = false;
    rejoinTimer_->stop();
}

void MatchFlow::rejoinTick() {
    rejoinTimer_->stop();
    if (!rejoinActive_) return;
    if (rejoinLoggedIn_) {
        // Logged in again, in a read of its own: now the position.
        stopRejoin();
        if (dataSock_ != 0 && state_.IsConnected) sendText(lobby::gameRejoinRequest());
        return;
    }
    rejoinWaitedMs_ += rejoinPauseMs_;
    if (dataSock_ != 0) return scheduleRejoin();  // an attempt is still on its way
    const net::ConnectResult result = transport_.ConnectServer(state_.ServerName);
    dataSock_ = result.socket;
    peerAccepted_ = false;
    if (dataSock_ == 0) scheduleRejoin();
}

void MatchFlow::clockTick() {
    ++state_.Clocks[state_.MyTurn ? 1 : 0];
    view_.drawClocks(Jikan(state_.Clocks[0]), Jikan(state_.Clocks[1]));
}

void MatchFlow::watchdogTick() {
    if (watchdog_ == Watchdog::None) return;
    if (++state_.WatchdogTicks < kWatchdogTicks) return;
    state_.WatchdogTicks = 0;
    // Only a connection to the server must log in; a peer that connected to
    // our own listener is never cut off, nor a game connecting again.
    if (state_.LoginDone || peerAccepted_ || rejoinActive_) return;
    view_.setMessageText(QStringLiteral("CLOSE"));
    closeDataSock();
    timer2_->stop();
}

void MatchFlow::onSocketEvent(net::SocketHandle socket, int event, int error) {
    if (event == net::FD_ACCEPT && socket == listenSock_) {
        onAccept();
    } else if (socket != dataSock_ || dataSock_ == 0) {
        return;
    } else if (event == net::FD_READ) {
        onRead();
    } else if (event == net::FD_CONNECT) {
        if (error == 0) {
            onConnect(error);
        } else {
            // A failed attempt says nothing (the watchdog tells), but it must
            // not hold the one data socket: the next activation tries again.
            closeDataSock();
            if (rejoinActive_) scheduleRejoin();
        }
    } else if (event == net::FD_CLOSE) {
        onRemoteClose();
    }
}

void MatchFlow::closeDataSock() {
    transport_.closeSocket(dataSock_);
    dataSock_ = 0;
}

void MatchFlow::onConnect(int) {
    view_.setMessageText(tr("サーバーと接続が完了しました。"));
    view_.setSendEnabled(true);
    state_.IsConnected = true;
    sentAway_ = false;
    OnConnected();
    sendText(state_.LoginLine);
    state_.LoginDone = true;
    if (rejoinActive_) {
        // The server gives the last position at once when it saw the
        // connection go, else when asked.
        rejoinLoggedIn_ = true;
        awaitingResume_ = true;
        view_.setStatusText(state_.MyTurn ? tr("あなたの番") : tr("相手は考え中"));
        rejoinTimer_->start(kRejoinAskDelayMs);
    }
}

void MatchFlow::onAccept() {
    const net::AcceptResult result = transport_.AcceptPeer(listenSock_);
    listenSock_ = 0;
    if (result.socket == 0) {
        view_.showMessageBox(net::shownSocketText(result.errorText));
        return;
    }
    // One data socket at a time: a connection still open (to the lobby
    // server) is closed first, so that its far end sees it go rather than
    // keep a connection nobody reads any more.
    transport_.closeSocket(dataSock_);
    dataSock_ = result.socket;
    peerAccepted_ = true;
    view_.setMessageText(tr("接続しました。"));
    state_.IsConnected = true;
    OnConnected();
}

void MatchFlow::OnConnected() {
    view_.setSendEnabled(true);
    view_.setGameMenusEnabled(true);
    for (int i = 0; i <= strengthCount_ && i < 6; ++i) {
        strengthChecked_[static_cast<std::size_t>(i)] = false;
        strengthEnabled_[static_cast<std::size_t>(i)] = true;
    }
    showStrength();
    view_.setStrengthMenuEnabled(true);
}

void MatchFlow::onRemoteClose() {
    const bool lost = mayRejoin();
    silence_->stop();
    view_.setMessageText(QStringLiteral("CLOSE"));
    closeDataSock();
    peerAccepted_ = false;
    view_.setSendEnabled(false);
    view_.setServerMenuEnabled(true);
    view_.setCloseMenuEnabled(false);
    view_.setStrengthMenuEnabled(true);
    timer1_->stop();
    state_.SendLock = false;
    state_.IsConnected = false;
    state_.LoginDone = false;
    if (lost) startRejoin();
}

void MatchFlow::onRead() {
    silence_->stop();  // the connection lives
    messageReceived(transport_.RecvMsg(dataSock_).text);
}

void MatchFlow::messageReceived(const QString& text) {
    const net::SocketHandle socket = dataSock_;
    const bool suppressed = HandleGameMsg(text);
    // The handling may have shown a box during which the connection ended.
    if (!suppressed && dataSock_ == socket) {
        view_.repaintBoard();
        sendText(kAckMsg.toString());
    }
    if (!warning_.isEmpty()) view_.showMessageBox(std::exchange(warning_, QString()));
}

bool MatchFlow::HandleGameMsg(const QString& text) {
    switch (classifyGameMsg(text)) {
        case GameMsgType::WatchMove:
            receiveMove(unwrapWatchMove(text), true);
            return false;
        case GameMsgType::Move:
            if (awaitingResume_ && resumedMove(text)) return false;
            receiveMove(text, false);
            return false;
        case GameMsgType::OwnMove:
            ownMoveReceived(text);
            return false;
        case GameMsgType::SentAway:
            sentAway_ = true;
            return false;
        case GameMsgType::Ack:
            state_.SendLock = false;
            view_.setSendEnabled(true);
            return true;
        case GameMsgType::Chat:
        case GameMsgType::Conversation:
            view_.setMessageText(gameMsgText(text));
            return false;
        case GameMsgType::EndOfGame:
            view_.setMessageText(gameMsgText(text));
            timer1_->stop();
            return false;
        case GameMsgType::WatchPlayers: {
            const QStringList names = watchPlayers(text);
            showPlayers(names[0], names[1]);
            return false;
        }
        case GameMsgType::Notice:
            noticeReceived(text);
            return false;
        case GameMsgType::Type1:
        case GameMsgType::Unknown:
            return false;
    }
    return false;
}

void MatchFlow::receiveMove(QStringView moveText, bool watched) {
    // A watched move makes this program a watcher for good, but only once it
    // has proved to be a move: a malformed one changes nothing.
    const bool wasWatching = state_.WatchMode;
    state_.WatchMode = wasWatching || watched;
    if (!takeMove(moveText)) {
        state_.WatchMode = wasWatching;
        return;
    }
    if (!state_.WatchMode && state_.MoveNo == 1) state_.MySide = QStringLiteral("後手");
    // A program started again in the middle of a game learns its side from
    // the number of the move it is given.
    if (!state_.WatchMode && state_.MySide.isEmpty())
        state_.MySide = state_.MoveNo % 2 == 0 ? QStringLiteral("先手") : QStringLiteral("後手");
    if (!watched) lastReceivedMove_ = moveText.toString();
    view_.setTitle(gameTitle());
    showReceivedMove();
    view_.alert();
    if (state_.MoveNo == 1) {
        state_.Clocks = {0, 0};
        timer1_->start(kTickMs);
    } else if (!timer1_->isActive() && awaitingResume_) {
        timer1_->start(kTickMs);  // a game taken up again: the clocks go on
    }
    awaitingResume_ = false;
    state_.MyTurn = true;
    recordPosition(false);
    view_.setStatusText(tr("あなたの番"));
    // Shown once the move is acknowledged: a box the player leaves open
    // must not keep the opponent's program waiting for the answer.
    warning_ = receivedMoveWarning();
}

bool MatchFlow::resumedMove(QStringView moveText) {
    if (state_.WatchMode || moveText != lastReceivedMove_) return false;
    awaitingResume_ = false;
    if (lastSentMoveNo_ > 0 && lastSentMoveNo_ == state_.MoveNo) {
        // The server's last move is the one this program answered: the
        // answer was lost with the connection and goes again. (It goes with
        // the acknowledgement in one pass: only our own lobby server gives
        // the last move again, and it reads whole messages off the stream.)
        sendText(lastSentMove_);
        return true;
    }
    // The move this program has already: only the turn is said again.
    state_.MyTurn = true;
    view_.setStatusText(tr("あなたの番"));
    return true;
}

void MatchFlow::ownMoveReceived(QStringView text) {
    awaitingResume_ = false;
    const std::optional<QString> move = lobby::moveOfOwnMoveMessage(text);
    if (!move || state_.WatchMode) return;
    if (*move != lastSentMove_) {
        // Started again from nothing: the board, the side and the number
        // come back from the server.
        if (!takeOwnMove(*move)) return;
        state_.MySide = state_.MoveNo % 2 == 1 ? QStringLiteral("先手") : QStringLiteral("後手");
        lastSentMove_ = *move;
        lastSentMoveNo_ = state_.MoveNo;
        view_.setTitle(gameTitle());
        showReceivedMove();
        if (!timer1_->isActive()) timer1_->start(kTickMs);
    }
    state_.MyTurn = false;
    view_.setStatusText(tr("相手は考え中"));
}

}  // namespace gamecommon
