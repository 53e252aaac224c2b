#include "watchedgame.h"

#include <utility>

#include "gamemessage.h"
#include "goposition.h"
#include "gorules/movemessage.h"
#include "gorules/positionstring.h"
#include "shogiposition.h"
#include "shogirules/movemessage.h"

namespace web {

namespace {

using gamecommon::GameMsgType;

// What "投了" of both game programs (and the computer opponent) sends: the
// sender resigns.
constexpr QStringView kResignText = u"投了です。あなたの勝ちです。有り難うございました。";
// What the shogi program sends after the move that took the opponent's king.
constexpr QStringView kKingTakenText = u"あなたの負けです。";

// Field 1 of a message of types 3 to 7, the text the receiving program shows.
QString shownText(QStringView text) {
    return gamecommon::gameMsgText(text).section(u':', 0, 0);
}

}  // namespace

void WatchedGame::begin(quint64 id, GameKind kind, const QString& idA, const QString& idB,
                        const QDateTime& started) {
    record_ = {};
    ignored_ = 0;
    GameSummary& s = record_.summary;
    s.id = id;
    s.kind = kind;
    s.black = idA;
    s.white = idB;
    s.started = started.toUTC();
    record_.positions.push_back(startPosition(kind));
}

std::optional<Colour> WatchedGame::colourOf(QStringView id) const {
    if (id == record_.summary.black) return Colour::Black;
    if (id == record_.summary.white) return Colour::White;
    return std::nullopt;
}

WatchedGame::Change WatchedGame::relayed(QStringView fromId, QStringView text,
                                         const QDateTime& at) {
    const auto sender = colourOf(fromId);
    if (isOver() || record_.positions.empty()) return ignore();
    const GameMsgType type = gamecommon::classifyGameMsg(text);
    // A shogi move tells its number as it is read (move()); a go board, or
    // a move from someone else, is looked at first.
    if (type == GameMsgType::Move && (!sender || record_.summary.kind == GameKind::Go) &&
        beginsAnotherGame(text))
        return anotherGame();
    if (!sender) return ignore();
    switch (type) {
        case GameMsgType::Move:
            return move(*sender, text, at);
        case GameMsgType::EndOfGame:
            return endOfGame(*sender, shownText(text), at);
        case GameMsgType::Conversation:
            // Greetings and remarks are no business of onlookers; only the
            // shogi resignation travels as one.
            if (shownText(text) == kResignText)
                return finish(EndHow::Resignation, otherColour(*sender), at);
            return {};
        default:
            return ignore();
    }
}

WatchedGame::Change WatchedGame::move(Colour sender, QStringView text, const QDateTime& at) {
    GameSummary& s = record_.summary;
    if (s.moves >= kMaxMoves) return beginsAnotherGame(text) ? anotherGame() : ignore();
    // The first move tells who is black: whoever makes it.
    const Colour mover = s.sidesKnown ? sender : Colour::Black;
    const Position& before = record_.positions.back();
    Position after;
    after.turn = otherColour(mover);
    bool kingGone = false;
    if (const auto* shogi = std::get_if<ShogiState>(&before.state)) {
        qint32 number = 0;
        const auto state = shogiStateAfter(*shogi, mover, text, &number);
        if (!state) return ignore();
        if (number == 1 && record_.positions.size() >= 2) return anotherGame();
        kingGone = kingTaken(*shogi, *state, otherColour(mover));
        after.state = *state;
    } else {
        const auto state = goStateAfter(std::get<GoState>(before.state), mover, text);
        if (!state) return ignore();
        after.state = *state;
    }
    if (!s.sidesKnown) {
        if (sender == Colour::White) std::swap(s.black, s.white);
        s.sidesKnown = true;
    }
    record_.positions.push_back(after);
    s.moves = static_cast<int>(record_.positions.size()) - 1;
    if (kingGone) return {true, finish(EndHow::KingTaken, mover, at).ended, false};
    return {true, false, false};
}

WatchedGame::Change WatchedGame::endOfGame(Colour sender, QStringView text, const QDateTime& at) {
    if (text == kResignText) return finish(EndHow::Resignation, otherColour(sender), at);
    if (record_.summary.kind == GameKind::Shogi && text == kKingTakenText)
        return finish(EndHow::KingTaken, sender, at);
    // The programs stop their clocks at any end-of-game message: the game is
    // over, but this one does not say who won.
    return finish(EndHow::Ended, std::nullopt, at);
}

bool WatchedGame::beginsAnotherGame(QStringView text) const {
    return record_.positions.size() >= 2 && isFirstMove(record_.summary.kind, text);
}

bool WatchedGame::isFirstMove(GameKind kind, QStringView text) {
    if (gamecommon::classifyGameMsg(text) != GameMsgType::Move) return false;
    if (kind == GameKind::Shogi) {
        // Each move passes here: the whole is read only for a first one.
        if (shogi::moveNumberOf(text) != 1) return false;
        const auto move = shogi::parseMoveMsg(text);
        return move && move->moveNo == 1;
    }
    const auto move = go::parseMoveMsg(text);
    const auto seen = move ? go::readPosition(move->positionString) : std::nullopt;
    if (!seen) return false;
    int stones = 0;
    for (int k = 0; k < go::kPointCount; ++k) {
        const go::Stone s = seen->ban.at(go::Point::fromNumber(k));
        if (s == go::Stone::Black || s == go::Stone::White) ++stones;
    }
    return stones == 1;
}

bool WatchedGame::end(EndCause cause, const QDateTime& at) {
    if (isOver() || record_.positions.empty()) return false;
    const EndHow how = cause == EndCause::ServerClosed || cause == EndCause::NewGame
                           ? EndHow::Ended
                           : EndHow::PlayerGone;
    return finish(how, std::nullopt, at).ended;
}

WatchedGame::Change WatchedGame::finish(EndHow how, std::optional<Colour> winner,
                                        const QDateTime& at) {
    record_.summary.result = GameResult{how, winner};
    record_.summary.ended = at.toUTC();
    return {false, true, false};
}

WatchedGame::Change WatchedGame::anotherGame() {
    Change change;
    change.anotherGame = true;
    return change;
}

WatchedGame::Change WatchedGame::ignore() {
    ++ignored_;
    return {};
}

}  // namespace web
