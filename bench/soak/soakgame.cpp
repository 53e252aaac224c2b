#include "soakgame.h"

#include <QStringList>
#include <QTimer>

#include "gamemessage.h"
#include "gorules/movemessage.h"
#include "lobbymessages.h"
#include "shogirules/movemessage.h"
#include "soakpeer.h"

namespace soak {

namespace {

const QString kAck = gamecommon::kAckMsg.toString();

}  // namespace

SoakGame::SoakGame(bool go, int moves, std::function<int()> thinkMs, QObject* parent)
    : QObject(parent), go_(go), moves_(moves), thinkMs_(std::move(thinkMs)) {}

void SoakGame::attach(Side side, SoakPeer* program) {
    player_[side].program = program;
    connect(program, &SoakPeer::message, this,
            [this, side](const QString& text) { fromPlayer(side, text); });
}

void SoakGame::reattach(Side side, SoakPeer* program) {
    Player& p = player_[side];
    if (p.program) disconnect(p.program, nullptr, this, nullptr);
    p.sentBeforeCut = p.sent;
    p.rejoining = true;
    attach(side, program);
    // A server that gives nothing (no move relayed yet) leaves the side to
    // play on after a while.
    QTimer::singleShot(3000, this, [this, side] { player_[side].rejoining = false; });
}

void SoakGame::addWatcher(SoakPeer* program, const QString& first, const QString& second) {
    Watcher w;
    w.program = program;
    w.first = first;
    w.second = second;
    watching_.push_back(w);
    connect(program, &SoakPeer::message, this, [this, program](const QString& text) {
        for (Watcher& w : watching_)
            if (w.program == program) fromWatch(w, text);
    });
}

void SoakGame::forgetWatcher(SoakPeer* program) {
    for (Watcher& w : watching_)
        if (w.program == program) w.program = nullptr;
}

void SoakGame::start() {
    move(A);
}

// The moves are as long as the programs' own: a shogi move with the whole
// board, both hands and the number twice, a go move with all 361 points, the
// number and the capture count. A receiver knows what move n must be, so
// any change on the way shows.
QString SoakGame::moveText(int n) const {
    if (go_) {
        go::Ban ban;
        const go::Point last = go::Point::fromNumber(n % go::kPointCount);
        ban.set(last, n % 2 ? go::Stone::Black : go::Stone::White);
        return go::BuildMoveMsg(ban, last, n, n / 7);
    }
    shogi::ShogiPosition position;
    position.MyHand.entries[static_cast<std::size_t>(n % 7)].count = n % 19;
    position.OppHand.entries[static_cast<std::size_t>(n / 7 % 7)].count = n % 3;
    return shogi::BuildMoveMsg(position, n);
}

// The number a move carries (the third field of a shogi move, the second of
// a go move), or -1 when the text is not exactly that move.
int SoakGame::moveNumber(const QString& text) const {
    const QStringList fields = text.split(u':');
    const int at = go_ ? 2 : 3;
    if (fields.size() <= at) return -1;
    bool ok = false;
    const int n = fields[at].trimmed().toInt(&ok);
    return ok && text == moveText(n) ? n : -1;
}

void SoakGame::move(Side side) {
    Player& p = player_[side];
    if (stopped_ || !p.program) return;
    const int number = 2 * p.sent + (side == A ? 1 : 2);
    if (number > moves_) return;
    // A program on its way back moves once it has the game again; one whose
    // connection is cut sends into the void, as a program does that does
    // not know yet (the move goes again after the return).
    if (p.rejoining || (!p.program->isConnected() && !p.program->wasCut())) {
        QTimer::singleShot(200, this, [this, side] { move(side); });
        return;
    }
    p.program->send(moveText(number));
    ++p.sent;
}

bool SoakGame::resume(Side side, const QString& text) {
    Player& p = player_[side];
    if (!p.rejoining) return false;
    p.rejoining = false;
    resumed_ = true;
    if (const auto own = lobby::moveOfOwnMoveMessage(text)) {
        // Its own last move had arrived.
        if (p.sent == 0 || moveNumber(*own) != ownNumber(side, p.sent)) ++players_.unreadable;
        return true;
    }
    const int number = moveNumber(text);
    if (number < 1 || !p.got.count(number)) return false;  // a move it has not seen: taken
    // A move it had: its answer, sent on the connection that was cut, never
    // arrived, and goes again.
    if (p.sentBeforeCut > 0 && ownNumber(side, p.sentBeforeCut) == number + 1) {
        p.program->send(moveText(number + 1));
        ++sentAgain_;
    }
    return true;
}

void SoakGame::fromPlayer(Side side, const QString& text) {
    Player& p = player_[side];
    if (text == kAck) {
        if (++p.acks > p.sent) ++players_.duplicated;
        return;
    }
    using gamecommon::GameMsgType;
    const GameMsgType type = gamecommon::classifyGameMsg(text);
    // Every message but an acknowledgement is acknowledged, as the programs do.
    if (type == GameMsgType::Chat) {
        // The server's line: the opponent's connection went, or came back.
        p.program->send(kAck);
        ++serverLines_;
        return;
    }
    if (type == GameMsgType::SentAway) {
        p.program->send(kAck);
        return;
    }
    if (type != GameMsgType::Move && type != GameMsgType::OwnMove) {
        stray_ << text.left(60);
        return;
    }
    p.program->send(kAck);
    if (resume(side, text)) return;
    if (type == GameMsgType::OwnMove) {
        stray_ << text.left(60);
        return;
    }
    const int number = moveNumber(text);
    if (number < 1 || number > moves_ || (number % 2 == 1) != (side == B)) {
        ++players_.unreadable;
        return;
    }
    if (!p.got.insert(number).second) {
        ++players_.duplicated;
        return;
    }
    ++players_.received;
    if (number < p.last) ++players_.outOfOrder;
    p.last = std::max(p.last, number);
    // The opponent's answer to our move comes after his acknowledgement of it.
    if (p.acks < p.sent) ++acksMissing_;
    QTimer::singleShot(thinkMs_(), this, [this, side] { move(side); });
}

void SoakGame::fromWatch(Watcher& w, const QString& text) {
    using gamecommon::GameMsgType;
    const GameMsgType type = gamecommon::classifyGameMsg(text);
    if (type == GameMsgType::SentAway) {
        w.program->send(kAck);  // its user left: the server sends it away
        return;
    }
    if (type != GameMsgType::WatchMove && type != GameMsgType::WatchPlayers) {
        stray_ << text.left(60);
        return;
    }
    w.program->send(kAck);
    if (type == GameMsgType::WatchPlayers) {
        const QString expected = lobby::watchDataMessage(w.first, w.second);
        if (w.toldPlayers || !w.got.empty() || text != expected) stray_ << text.left(60);
        w.toldPlayers = true;
        return;
    }
    const int number = moveNumber(gamecommon::unwrapWatchMove(text));
    if (number < 1 || number > moves_) {
        ++watchers_.unreadable;
        return;
    }
    // The players' names come before the first move.
    if (!w.toldPlayers) stray_ << QStringLiteral("a move before the players' names");
    if (!w.got.insert(number).second) {
        ++watchers_.duplicated;
        return;
    }
    ++watchers_.received;
    if (number < w.last) ++watchers_.outOfOrder;
    w.last = std::max(w.last, number);
}

bool SoakGame::finished() const {
    return player_[A].got.size() + player_[B].got.size() == static_cast<std::size_t>(moves_);
}

void SoakGame::settle() {
    if (stopped_) return;
    const int sent = player_[A].sent + player_[B].sent;
    const int got = static_cast<int>(player_[A].got.size() + player_[B].got.size());
    players_.lost += sent - got;
    for (const Watcher& w : watching_)
        if (w.program) watchers_.lost += sent - static_cast<int>(w.got.size());
}

}  // namespace soak
