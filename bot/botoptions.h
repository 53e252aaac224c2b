#pragma once

#include <QString>
#include <QStringList>
#include <variant>

namespace bot {

// The two games the lobby plays; the value is the lobby's game kind.
enum class GameKind { Shogi = 0, Go = 1 };

// How a bot is started: who it is in the lobby, where the lobby is, how long
// it may think, and which engine it asks.
struct BotOptions {
    GameKind game = GameKind::Shogi;
    QString id;
    QString password;
    QString mail;
    QString server = QStringLiteral("127.0.0.1");
    int seconds = 3;    // per move, from the opponent's move to the reply
    QString challenge;  // a user this bot challenges once he is free; empty: none
    QString engine;     // the engine program; empty: the game's usual one

    static constexpr int kMinSeconds = 1;
    static constexpr int kMaxSeconds = 600;
};

// The command line without the program name. A bad line gives the sentence
// that says what is wrong.
std::variant<BotOptions, QString> parseBotOptions(const QStringList& arguments);

// What `QuorBot --help` and a bad command line print.
QString usageText();

}  // namespace bot
