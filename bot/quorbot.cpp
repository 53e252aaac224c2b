#include "quorbot.h"

#include <QTimer>
#include <utility>

#include "bottexts.h"
#include "gamelink.h"
#include "gamemessage.h"
#include "goplayer.h"
#include "lobbyseat.h"
#include "shogiplayer.h"

namespace bot {

using gamecommon::GameMsgType;

QuorBot::QuorBot(BotOptions options, const QString& engine, LogWriter writer, QObject* parent)
    : QObject(parent),
      options_(std::move(options)),
      log_(std::move(writer)),
      lobby_(new LobbySeat(options_, this)),
      link_(new GameLink(options_, this)),
      player_(options_.game == GameKind::Shogi
                  ? static_cast<BotPlayer*>(new ShogiPlayer(engine, options_.seconds, this))
                  : new GoPlayer(engine, options_.seconds, this)),
      leaveTimer_(new QTimer(this)),
      firstMoveTimer_(new QTimer(this)) {
    firstMoveTimer_->setSingleShot(true);
    firstMoveTimer_->setInterval(kFirstMoveDelayMs);
    connect(firstMoveTimer_, &QTimer::timeout, player_, &BotPlayer::playFirstMove);
    leaveTimer_->setSingleShot(true);
    leaveTimer_->setInterval(kLeaveDelayMs);
    connect(leaveTimer_, &QTimer::timeout, this, &QuorBot::leaveGame);

    connect(lobby_, &LobbySeat::loggedIn, this, [this](int index) {
        log(QStringLiteral("logged in as %1 (index %2)").arg(options_.id).arg(index));
    });
    connect(lobby_, &LobbySeat::refused, this, [this](const QString& why) {
        log(QStringLiteral("no login: ") + why);
        emit finished(1);
    });
    connect(lobby_, &LobbySeat::lost, this, [this](const QString& why) {
        log(QStringLiteral("the lobby is gone: ") + why);
        emit finished(1);
    });
    connect(lobby_, &LobbySeat::usersListed, this, &QuorBot::onUsersListed);
    connect(lobby_, &LobbySeat::paired, this, &QuorBot::onPaired);
    connect(lobby_, &LobbySeat::opponentProgramUp, this, &QuorBot::onOpponentProgramUp);
    connect(lobby_, &LobbySeat::matchOver, this, &QuorBot::onMatchOver);
    connect(lobby_, &LobbySeat::challengeRefused, this, [this](const QString& why) {
        challengeSent_ = false;
        log(QStringLiteral("challenge refused: ") + why);
    });
    connect(lobby_, &LobbySeat::chatReceived, this, &QuorBot::onLobbyChat);

    connect(link_, &GameLink::linked, this, &QuorBot::onLinked);
    connect(link_, &GameLink::messageReceived, this, &QuorBot::onGameMessage);
    connect(link_, &GameLink::closed, this, &QuorBot::onLinkClosed);
    connect(player_, &BotPlayer::answered, this, &QuorBot::onAnswered);
}

QuorBot::~QuorBot() {
    player_->stopGame();
}

void QuorBot::start() {
    lobby_->start();
}

void QuorBot::log(const QString& line) {
    if (log_) log_(line);
}

void QuorBot::onUsersListed(const std::vector<lobby::UserListEntry>& users) {
    if (options_.challenge.isEmpty() || challengeDone_ || challengeSent_ || state_ != State::Idle)
        return;
    for (const lobby::UserListEntry& u : users) {
        if (u.id != options_.challenge || u.index == lobby_->ownIndex()) continue;
        if (u.kind != static_cast<int>(options_.game) || u.playing) return;
        challengeSent_ = true;
        log(QStringLiteral("challenges %1").arg(u.id));
        lobby_->challenge(u.index);
        return;
    }
}

void QuorBot::onPaired(const QString& opponentId, int opponentIndex) {
    if (state_ != State::Idle) leaveGame();
    botFirst_ = challengeSent_ && opponentId == options_.challenge;
    challengeDone_ = challengeDone_ || botFirst_;
    challengeSent_ = false;
    opponentId_ = opponentId;
    linked_ = false;
    opponentLinked_ = false;
    held_ = BotAnswer{};
    greetings_.reset();
    state_ = State::Linking;
    log(QStringLiteral("paired with %1 (index %2); the bot plays %3")
            .arg(opponentId)
            .arg(opponentIndex)
            .arg(botFirst_ ? QStringLiteral("first") : QStringLiteral("second")));
    player_->startGame(botFirst_);
    link_->open();
}

void QuorBot::onLinked() {
    if (state_ != State::Linking) return;
    linked_ = true;
    state_ = State::Playing;
    if (opponentLinked_) startPlaying();
}

void QuorBot::onOpponentProgramUp(const QString& opponentId) {
    if (state_ == State::Idle || state_ == State::Leaving || opponentId != opponentId_) return;
    const bool first = !opponentLinked_;
    opponentLinked_ = true;
    if (first && linked_) startPlaying();
}

void QuorBot::startPlaying() {
    // Both programs are linked: what the bot says now reaches the opponent.
    link_->send(gamecommon::chatMsg((botFirst_ ? kGreetingMoving : kGreetingWaiting).toString()));
    const BotAnswer held = std::exchange(held_, BotAnswer{});
    if (!held.messages.isEmpty() || held.gameOver) return onAnswered(held);
    if (botFirst_) firstMoveTimer_->start();
}

void QuorBot::onGameMessage(const QString& text) {
    if (state_ != State::Playing) return;
    switch (gamecommon::classifyGameMsg(text)) {
        case GameMsgType::Move:
            // A move proves the opponent's program is there, also when it
            // was linked before the pairing and the lobby never said so.
            if (!opponentLinked_) {
                opponentLinked_ = true;
                startPlaying();
            }
            player_->moveReceived(text);
            return;
        case GameMsgType::Chat:
        case GameMsgType::Conversation: {
            const QString said = gamecommon::gameMsgText(text);
            log(QStringLiteral("%1 says: %2").arg(opponentId_, said));
            answerGreeting(said);
            if (said == kResignText) endGame(QStringLiteral("the opponent resigns"));
            return;
        }
        case GameMsgType::EndOfGame: {
            const QString said = gamecommon::gameMsgText(text);
            log(QStringLiteral("%1 ends the game: %2").arg(opponentId_, said));
            answerGreeting(said);
            endGame(QStringLiteral("the game is over"));
            return;
        }
        default:
            return;
    }
}

void QuorBot::answerGreeting(const QString& text) {
    if (const auto answer = greetings_.answer(text))
        link_->send(gamecommon::conversationMsg(*answer));
}

void QuorBot::onLobbyChat(const QString& line) {
    log(QStringLiteral("lobby chat: ") + line);
    if (state_ == State::Idle || !line.startsWith(opponentId_ + u'>')) return;
    if (const auto answer = greetings_.answer(line.mid(opponentId_.size() + 1)))
        lobby_->sendChat(*answer);
}

void QuorBot::onAnswered(const BotAnswer& answer) {
    if (!answer.logLine.isEmpty()) log(answer.logLine);
    if (state_ == State::Linking) {
        held_.messages += answer.messages;
        held_.gameOver = held_.gameOver || answer.gameOver;
        return;
    }
    if (state_ != State::Playing) return;
    for (const QString& message : answer.messages)
        link_->send(message);
    if (answer.gameOver) endGame(QStringLiteral("the game is over"));
}

void QuorBot::endGame(const QString& why) {
    if (state_ == State::Idle || state_ == State::Leaving) return;
    log(why);
    state_ = State::Leaving;
    firstMoveTimer_->stop();
    player_->stopGame();
    leaveTimer_->start();
}

void QuorBot::leaveGame() {
    leaveTimer_->stop();
    firstMoveTimer_->stop();
    player_->stopGame();
    link_->close();
    if (state_ != State::Idle) log(QStringLiteral("leaves the game with %1").arg(opponentId_));
    state_ = State::Idle;
    linked_ = false;
    opponentLinked_ = false;
}

void QuorBot::onMatchOver(const QString& why) {
    if (state_ == State::Idle) return;
    log(why);
    leaveGame();
}

void QuorBot::onLinkClosed(const QString& why) {
    if (state_ == State::Idle) return;
    log(why);
    leaveGame();
}

}  // namespace bot
