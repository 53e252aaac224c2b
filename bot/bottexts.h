#pragma once

#include <QString>
#include <QStringView>

namespace bot {

// What the bot says to its opponent, in the players' own words.

// The bot waits for the opponent's first move: the greeting says so.
inline constexpr QStringView kGreetingWaiting = u"よろしくお願いします。お先にどうぞ。";
// The bot challenged, so it moves first.
inline constexpr QStringView kGreetingMoving = u"よろしくお願いします。";

// The resignation, as "投了" of the game programs sends it: shogi as a
// conversation line, go as the end of the game.
inline constexpr QStringView kResignText = u"投了です。あなたの勝ちです。有り難うございました。";
QString shogiResignation();
QString goResignation();

// The go engine passed: the game programs have no pass, so the bot says it
// and leaves the board as it is; `score` is the engine's count, "W+6.5".
QString passLine(const QString& score);

// Why an engine can no longer play for the bot.
enum class EngineTrouble {
    Stopped,   // it could not start, or ended
    Silent,    // it gave no answer in time
    Nonsense,  // its answer was no move of this game, or one the rules refuse
    Position,  // it takes the position for the end of the game, or refuses it
};

// The chat line with which the bot resigns when its engine fails it.
QString troubleLine(EngineTrouble trouble);

}  // namespace bot
