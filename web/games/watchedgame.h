#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include "gamerecord.h"

namespace web {

// Why the server ended a game (the front maps the server's own causes to
// these).
enum class EndCause {
    ProgramGone,   // a player's game program closed its connection
    PlayerLeft,    // a player logged out or his lobby connection went
    ServerClosed,  // the server stopped
    NewGame,       // the players began another game in the same pairing
};

// One game as an onlooker sees it, fed with what the server relays between
// the two game programs: the moves, the end-of-game messages and the
// conversation lines. It keeps every position in the first player's view and
// tells how the game ended: by a resignation (shogi sends it as a
// conversation line, go as the end of the game), a king taken, the programs'
// own end-of-game message, or the server ending it. It never keeps a text a
// player wrote or picked; a message it cannot read is counted and dropped.
// Once over it takes nothing more.
class WatchedGame {
public:
    void begin(quint64 id, GameKind kind, const QString& idA, const QString& idB,
               const QDateTime& started);

    // What a relayed message did: a new position, the end of the game, both
    // (a move that takes a king) or neither.
    struct Change {
        bool moved = false;
        bool ended = false;
        // The message is the first move of another game of the pairing
        // (see beginsAnotherGame); this game is left as it was.
        bool anotherGame = false;
    };
    Change relayed(QStringView fromId, QStringView text,
                   const QDateTime& at = QDateTime::currentDateTimeUtc());

    // The server ended the game; a game already over keeps its result. True
    // when this ended it.
    bool end(EndCause cause, const QDateTime& at = QDateTime::currentDateTimeUtc());

    // Whether a relayed message is the first move of another game in the same
    // pairing: the players started a new game (which sends nothing) after
    // moves of this one. A shogi move numbered 1; a go board that holds the
    // one stone of a first move (a capture leaves at least two).
    bool beginsAnotherGame(QStringView text) const;
    // Whether a relayed message is the first move of a game of `kind`.
    static bool isFirstMove(GameKind kind, QStringView text);

    const GameRecord& record() const { return record_; }
    const GameSummary& summary() const { return record_.summary; }
    const std::vector<Position>& positions() const { return record_.positions; }
    bool isOver() const { return record_.summary.result.has_value(); }
    // Messages from the players' programs that were no move, no end and no
    // conversation line, or came from someone else, or after the end.
    int ignoredMessages() const { return ignored_; }

    // The lobby's count of users watching the game.
    void setWatchers(int watchers) { record_.summary.watchers = watchers; }

private:
    Change move(Colour sender, QStringView text, const QDateTime& at);
    Change endOfGame(Colour sender, QStringView text, const QDateTime& at);
    Change finish(EndHow how, std::optional<Colour> winner, const QDateTime& at);
    Change ignore();
    static Change anotherGame();
    std::optional<Colour> colourOf(QStringView id) const;

    GameRecord record_;
    int ignored_ = 0;
};

}  // namespace web
