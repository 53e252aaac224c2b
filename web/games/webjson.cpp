#include "webjson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <map>
#include <utility>

#include "shoginames.h"

namespace web {

namespace {

QByteArray compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonValue idValue(quint64 id) {
    return static_cast<double>(id);
}

QString cellJson(shogi::Cell cell) {
    if (cell.isEmpty()) return {};
    return QString(cell.side() == shogi::Side::Own ? u'b' : u'w') + records::csaCode(cell.kind());
}

QJsonObject handJson(const shogi::Hand& hand) {
    QJsonObject o;
    for (const shogi::HandEntry& e : hand.entries)
        o.insert(records::csaCode(e.code), e.count);
    return o;
}

// [file, rank] as shogi counts them.
QJsonArray squareJson(shogi::Square s) {
    return {shogi::kBoardSize - s.x, s.y + 1};
}

void addShogi(QJsonObject& o, const ShogiState& s) {
    QJsonArray board;
    for (int k = 0; k < shogi::kCellCount; ++k)
        board.append(cellJson(s.board.atNumber(k)));
    o.insert(u"board", board);
    o.insert(u"hands", QJsonObject{{QStringLiteral("black"), handJson(s.black)},
                                   {QStringLiteral("white"), handJson(s.white)}});
    if (!s.last) {
        o.insert(u"last", QJsonValue::Null);
        return;
    }
    o.insert(u"last", QJsonObject{{QStringLiteral("to"), squareJson(s.last->to)},
                                  {QStringLiteral("from"),
                                   s.last->from ? QJsonValue(squareJson(*s.last->from))
                                                : QJsonValue::Null}});
}

QString stoneText(go::Stone s) {
    if (s == go::Stone::Black) return QStringLiteral("b");
    if (s == go::Stone::White) return QStringLiteral("w");
    return {};
}

void addGo(QJsonObject& o, const GoState& s) {
    QJsonArray board;
    for (int k = 0; k < go::kPointCount; ++k)
        board.append(stoneText(s.board.at(go::Point::fromNumber(k))));
    o.insert(u"board", board);
    o.insert(u"captures", QJsonObject{{QStringLiteral("black"), s.blackCaptures},
                                      {QStringLiteral("white"), s.whiteCaptures}});
    if (!s.last)
        o.insert(u"last", QJsonValue::Null);
    else if (!s.last->point)
        o.insert(u"last", QJsonObject{{QStringLiteral("pass"), true}});
    else
        o.insert(u"last", QJsonObject{{QStringLiteral("x"), s.last->point->x + 1},
                                      {QStringLiteral("y"), s.last->point->y + 1}});
}

// A JSON string as QJsonDocument writes it (the same escapes).
QByteArray jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// The position's JSON written out directly, byte for byte what
// compact(positionJson()) gives (keys in QJsonObject's sorted order): a move
// event is built for every move of every running game, and building the
// object took the web front half its time under a fast game. `players` adds
// "black" and "white".
QByteArray positionText(int n, const Position& position, const GameSummary* players) {
    QByteArray out;
    out.reserve(1024);
    out += players ? "{\"black\":" + jsonString(players->black) + ",\"board\":["
                   : QByteArray("{\"board\":[");
    const auto last = [&out](const QByteArray& body) { out += ",\"last\":" + body; };
    if (const auto* shogi = std::get_if<ShogiState>(&position.state)) {
        for (int k = 0; k < shogi::kCellCount; ++k) {
            const shogi::Cell cell = shogi->board.atNumber(k);
            out += k > 0 ? ",\"" : "\"";
            if (!cell.isEmpty()) {
                out += cell.side() == shogi::Side::Own ? 'b' : 'w';
                out += records::csaCode(cell.kind()).toLatin1();
            }
            out += '"';
        }
        // Each hand's entries by their codes, as the object sorts its keys.
        out += "],\"hands\":{";
        for (const auto& [side, hand] :
             {std::pair{"black", &shogi->black}, {"white", &shogi->white}}) {
            std::map<QByteArray, int> sorted;
            for (const shogi::HandEntry& e : hand->entries)
                sorted[records::csaCode(e.code).toLatin1()] = e.count;
            out += (side[0] == 'w' ? ",\"" : "\"") + QByteArray(side) + "\":{";
            bool first = true;
            for (const auto& [code, count] : sorted) {
                if (!std::exchange(first, false)) out += ',';
                out += '"' + code + "\":" + QByteArray::number(count);
            }
            out += '}';
        }
        out += '}';
        const auto square = [](shogi::Square s) {
            return '[' + QByteArray::number(shogi::kBoardSize - s.x) + ',' +
                   QByteArray::number(s.y + 1) + ']';
        };
        if (!shogi->last)
            last("null");
        else
            last("{\"from\":" +
                 (shogi->last->from ? square(*shogi->last->from) : QByteArray("null")) +
                 ",\"to\":" + square(shogi->last->to) + '}');
    } else {
        const GoState& go = std::get<GoState>(position.state);
        for (int k = 0; k < go::kPointCount; ++k) {
            const go::Stone s = go.board.at(go::Point::fromNumber(k));
            if (k > 0) out += ',';
            out += s == go::Stone::Black ? "\"b\"" : s == go::Stone::White ? "\"w\"" : "\"\"";
        }
        out += "],\"captures\":{\"black\":" + QByteArray::number(go.blackCaptures) +
               ",\"white\":" + QByteArray::number(go.whiteCaptures) + '}';
        if (!go.last)
            last("null");
        else if (!go.last->point)
            last("{\"pass\":true}");
        else
            last("{\"x\":" + QByteArray::number(go.last->point->x + 1) +
                 ",\"y\":" + QByteArray::number(go.last->point->y + 1) + '}');
    }
    out += ",\"n\":" + QByteArray::number(n) + ",\"turn\":\"" +
           colourName(position.turn).toLatin1() + '"';
    if (players) out += ",\"white\":" + jsonString(players->white);
    out += '}';
    return out;
}

QString userStateName(UserState state) {
    switch (state) {
        case UserState::Playing:
            return QStringLiteral("playing");
        case UserState::Watching:
            return QStringLiteral("watching");
        case UserState::Free:
            break;
    }
    return QStringLiteral("free");
}

}  // namespace

QJsonObject positionJson(int n, const Position& position) {
    QJsonObject o{{QStringLiteral("n"), n}, {QStringLiteral("turn"), colourName(position.turn)}};
    if (const auto* shogi = std::get_if<ShogiState>(&position.state))
        addShogi(o, *shogi);
    else
        addGo(o, std::get<GoState>(position.state));
    return o;
}

QJsonObject resultJson(GameKind kind, const GameResult& result) {
    return {{QStringLiteral("how"), howName(result.how)},
            {QStringLiteral("winner"),
             result.winner ? QJsonValue(colourName(*result.winner)) : QJsonValue::Null},
            {QStringLiteral("text"), resultText(kind, result)}};
}

QJsonObject summaryJson(const GameSummary& g) {
    return {{QStringLiteral("id"), idValue(g.id)},
            {QStringLiteral("game"), kindName(g.kind)},
            {QStringLiteral("black"), g.black},
            {QStringLiteral("white"), g.white},
            {QStringLiteral("sides"),
             g.sidesKnown ? QStringLiteral("known") : QStringLiteral("unknown")},
            {QStringLiteral("moves"), g.moves},
            {QStringLiteral("watchers"), g.watchers},
            {QStringLiteral("started"), timeText(g.started)},
            {QStringLiteral("ended"), g.ended ? QJsonValue(timeText(*g.ended)) : QJsonValue::Null},
            {QStringLiteral("result"),
             g.result ? QJsonValue(resultJson(g.kind, *g.result)) : QJsonValue::Null}};
}

QJsonObject detailJson(const GameRecord& game) {
    QJsonObject o = summaryJson(game.summary);
    QJsonArray positions;
    for (std::size_t n = 0; n < game.positions.size(); ++n)
        positions.append(positionJson(static_cast<int>(n), game.positions[n]));
    o.insert(u"positions", positions);
    return o;
}

QByteArray lobbyJson(const std::vector<LobbyUser>& users, const std::vector<GameSummary>& games) {
    QJsonArray userList;
    for (const LobbyUser& u : users)
        userList.append(QJsonObject{{QStringLiteral("id"), u.id},
                                    {QStringLiteral("game"), kindName(u.kind)},
                                    {QStringLiteral("state"), userStateName(u.state)}});
    QJsonArray gameList;
    for (const GameSummary& g : games)
        gameList.append(QJsonObject{{QStringLiteral("id"), idValue(g.id)},
                                    {QStringLiteral("game"), kindName(g.kind)},
                                    {QStringLiteral("black"), g.black},
                                    {QStringLiteral("white"), g.white},
                                    {QStringLiteral("moves"), g.moves},
                                    {QStringLiteral("watchers"), g.watchers},
                                    {QStringLiteral("started"), timeText(g.started)}});
    return compact({{QStringLiteral("users"), userList}, {QStringLiteral("games"), gameList}});
}

QByteArray listJson(const std::vector<GameSummary>& games, std::optional<quint64> next) {
    QJsonArray list;
    for (const GameSummary& g : games)
        list.append(summaryJson(g));
    return compact({{QStringLiteral("games"), list},
                    {QStringLiteral("next"), next ? idValue(*next) : QJsonValue::Null}});
}

QByteArray detailText(const GameRecord& game) {
    return compact(detailJson(game));
}

QByteArray errorJson(const QString& text) {
    return compact({{QStringLiteral("error"), text}});
}

QByteArray moveEvent(int n, const Position& position, const GameSummary& game) {
    const GameSummary* players = n == 1 && game.sidesKnown ? &game : nullptr;
    return "id: " + QByteArray::number(n) +
           "\nevent: move\ndata: " + positionText(n, position, players) + "\n\n";
}

QByteArray endEvent(GameKind kind, const GameResult& result) {
    return "event: end\ndata: " + compact(resultJson(kind, result)) + "\n\n";
}

QByteArray keepAliveEvent() {
    return ": keep-alive\n\n";
}

}  // namespace web
