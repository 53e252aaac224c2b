#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

#include "gamerecord.h"

namespace web {

// The JSON of the web API and its event stream, compact, in UTF-8. Only
// what the pages show leaves here: IDs, moves, times and results; never a
// text a player wrote.

QJsonObject positionJson(int n, const Position& position);
QJsonObject resultJson(GameKind kind, const GameResult& result);
QJsonObject summaryJson(const GameSummary& game);
// The summary and "positions".
QJsonObject detailJson(const GameRecord& game);

// A user on line as the lobby page lists him.
enum class UserState { Free, Playing, Watching };
struct LobbyUser {
    QString id;
    GameKind kind = GameKind::Shogi;
    UserState state = UserState::Free;
};

// {"users": [...], "games": [...]}: the games going on, as their summaries
// give them.
QByteArray lobbyJson(const std::vector<LobbyUser>& users, const std::vector<GameSummary>& games);
// {"games": [summary...], "next": ID|null}
QByteArray listJson(const std::vector<GameSummary>& games, std::optional<quint64> next);
QByteArray detailText(const GameRecord& game);
// {"error": text}
QByteArray errorJson(const QString& text);

// The events of a game's stream: "id: N\nevent: move\ndata: {...}\n\n", the
// end "event: end\ndata: {...}\n\n", and the comment that keeps it open.
// The first move decides who is black, so its event also names the players
// ("black", "white") for a page that opened before it.
QByteArray moveEvent(int n, const Position& position, const GameSummary& game);
QByteArray endEvent(GameKind kind, const GameResult& result);
QByteArray keepAliveEvent();

}  // namespace web
