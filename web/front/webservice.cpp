#include "webservice.h"

#include <QDateTime>
#include <utility>

#include "httpresponse.h"
#include "recordexport.h"
#include "webjson.h"

namespace webfront {

namespace {

// A game's ID as a URL writes it: digits only, no sign, no leading zero,
// within range.
std::optional<quint64> idFromText(QStringView text) {
    if (text.isEmpty() || text.size() > 18 || text.front() == u'0') return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return std::nullopt;
    return text.toULongLong();
}

QByteArray streamKey(quint64 id) {
    return QByteArray::number(id);
}

web::EndCause endCause(lobby::GameEndCause cause) {
    switch (cause) {
        case lobby::GameEndCause::ProgramGone:
            return web::EndCause::ProgramGone;
        case lobby::GameEndCause::PlayerLeft:
            return web::EndCause::PlayerLeft;
    }
    return web::EndCause::PlayerLeft;
}

web::UserState userState(lobby::PublicUser::State state) {
    switch (state) {
        case lobby::PublicUser::State::Free:
            return web::UserState::Free;
        case lobby::PublicUser::State::Playing:
            return web::UserState::Playing;
        case lobby::PublicUser::State::Watching:
            return web::UserState::Watching;
    }
    return web::UserState::Free;
}

web::GameKind gameKind(int kind) {
    return kind == 1 ? web::GameKind::Go : web::GameKind::Shogi;
}

}  // namespace

WebService::WebService(WebSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), site_(settings_.siteFolder) {}

WebService::~WebService() {
    close();
}

QString WebService::open() {
    archive_ = std::make_unique<web::GameArchive>(settings_.archiveFolder);
    if (!archive_->isWritable())
        return QStringLiteral("the archive folder %1 cannot be written")
            .arg(settings_.archiveFolder);
    web::raiseOpenFileLimit();
    server_ = std::make_unique<web::HttpServer>(static_cast<web::HttpHandler&>(*this));
    server_->setTrustedProxy(settings_.proxy);
    if (!server_->listen(settings_.address, settings_.port)) {
        const QString why = server_->errorString();
        server_.reset();
        return QStringLiteral("the web front cannot listen on %1 port %2: %3")
            .arg(settings_.address.toString())
            .arg(settings_.port)
            .arg(why);
    }
    return {};
}

void WebService::close() {
    for (auto& [id, live] : live_) {
        if (!live.game.end(web::EndCause::ServerClosed)) continue;
        if (archive_) archive_->record(live.game);
    }
    live_.clear();
    idOfNumber_.clear();
    pairings_.clear();
    server_.reset();
    archive_.reset();
}

quint16 WebService::port() const {
    return server_ ? server_->port() : 0;
}

void WebService::lobbyChanged(const lobby::PublicLobby& lobby) {
    lobby_ = lobby;
    for (const lobby::PublicGame& g : lobby_.games) {
        const auto id = idOfNumber_.find(g.number);
        if (id == idOfNumber_.end()) continue;
        if (const auto live = live_.find(id->second); live != live_.end())
            live->second.lobbyWatchers = g.watchers;
    }
}

void WebService::gameBegan(quint64 number, int kind, const QString& challenger,
                           const QString& challenged) {
    if (!archive_ || pairings_.count(number)) return;
    pairings_[number] = {gameKind(kind), challenger, challenged};
    beginGame(number);
}

void WebService::beginGame(quint64 number) {
    const Pairing& pairing = pairings_.at(number);
    const quint64 id = archive_->newGameId();
    Live& live = live_[id];
    live.streamKey = streamKey(id);
    live.game.begin(id, pairing.kind, pairing.challenger, pairing.challenged,
                    QDateTime::currentDateTimeUtc());
    idOfNumber_[number] = id;
    archive_->record(live.game);
}

void WebService::gameRelayed(quint64 number, QStringView fromId, QStringView text) {
    const auto pairing = pairings_.find(number);
    if (pairing == pairings_.end()) return;
    if (const auto id = idOfNumber_.find(number); id != idOfNumber_.end()) {
        const quint64 gameId = id->second;
        Live& live = live_.at(gameId);
        const web::WatchedGame::Change relayed = live.game.relayed(fromId, text);
        if (!relayed.anotherGame) {
            publish(gameId, live, relayed);
            return;
        }
        // The players began another game without ending this one (a new
        // game sends nothing): this one is over, and forgotten.
        web::WatchedGame::Change change;
        change.ended = live.game.end(web::EndCause::NewGame);
        publish(gameId, live, change);
    }
    // After a game of the pairing, the first move of the next one begins
    // another game of its own.
    if (idOfNumber_.count(number) || !web::WatchedGame::isFirstMove(pairing->second.kind, text))
        return;
    beginGame(number);
    const quint64 gameId = idOfNumber_.at(number);
    Live& live = live_.at(gameId);
    publish(gameId, live, live.game.relayed(fromId, text));
}

void WebService::gameEnded(quint64 number, lobby::GameEndCause cause) {
    pairings_.erase(number);
    const auto id = idOfNumber_.find(number);
    if (id == idOfNumber_.end()) return;
    const quint64 gameId = id->second;
    Live& live = live_.at(gameId);
    web::WatchedGame::Change change;
    change.ended = live.game.end(endCause(cause));
    publish(gameId, live, change);
    // Over either way (publish forgot it if this ended it): the server keeps
    // nothing of it any more.
    live_.erase(gameId);
    idOfNumber_.erase(number);
}

void WebService::publish(quint64 id, Live& live, const web::WatchedGame::Change& change) {
    if (!change.moved && !change.ended) return;
    // A game that ends is written at once (it is forgotten below).
    if (holding_ && !change.ended) {
        unsaved_.insert(id);
    } else if (archive_) {
        archive_->record(live.game);
        unsaved_.erase(id);
    }
    // A game nobody follows now needs no event: who comes later is given
    // the moves from the record.
    if (change.moved && server_ && server_->events().streams(live.streamKey) > 0) {
        const auto& positions = live.game.positions();
        const int n = static_cast<int>(positions.size()) - 1;
        sendEvent(id, web::moveEvent(n, positions.back(), live.game.summary()));
    }
    if (change.ended && live.game.summary().result) {
        sendEvent(id, web::endEvent(live.game.summary().kind, *live.game.summary().result));
        endStreams(id);
        for (auto it = idOfNumber_.begin(); it != idOfNumber_.end(); ++it) {
            if (it->second != id) continue;
            idOfNumber_.erase(it);
            break;
        }
        live_.erase(id);  // `live` is gone from here on
    }
}

void WebService::sendEvent(quint64 id, const QByteArray& text) {
    if (holding_)
        heldEvents_[id] += text;
    else if (server_)
        server_->events().send(streamKey(id), text);
}

void WebService::endStreams(quint64 id) {
    if (holding_)
        heldEnds_.push_back(id);
    else if (server_)
        server_->events().close(streamKey(id));
}

void WebService::holdEvents() {
    holding_ = true;
}

void WebService::releaseEvents() {
    holding_ = false;
    for (const quint64 id : std::exchange(unsaved_, {}))
        if (const auto live = live_.find(id); live != live_.end() && archive_)
            archive_->record(live->second.game);
    for (const auto& [id, text] : std::exchange(heldEvents_, {}))
        sendEvent(id, text);
    for (const quint64 id : std::exchange(heldEnds_, {}))
        endStreams(id);
}

web::GameSummary WebService::summaryOf(quint64 id, const Live& live) const {
    web::GameSummary summary = live.game.summary();
    summary.watchers =
        live.lobbyWatchers + (server_ ? int(server_->events().streams(streamKey(id))) : 0);
    return summary;
}

std::optional<web::GameRecord> WebService::gameRecord(quint64 id) const {
    if (const auto live = live_.find(id); live != live_.end()) {
        web::GameRecord record = live->second.game.record();
        record.summary = summaryOf(id, live->second);
        return record;
    }
    if (!archive_) return std::nullopt;
    return archive_->game(id);
}

web::HttpResponse WebService::answer(const web::HttpRequest& request) {
    const QString& path = request.path;
    if (path == u"/") return site_.answerFile(u"index.html", request);
    if (path == u"/games" || path == u"/games/") return site_.answerFile(u"games.html", request);
    if (path.startsWith(u"/games/")) {
        const auto id = idFromText(QStringView(path).mid(7));
        if (!id || !gameRecord(*id)) return web::errorResponse(404);
        return site_.answerFile(u"game.html", request);
    }
    if (auto file = site_.answer(request)) return *file;
    if (path == u"/api/lobby") return lobbyAnswer();
    if (path == u"/api/games") return listAnswer(request);
    if (path.startsWith(u"/api/games/")) return gameAnswer(QStringView(path).mid(11), request);
    return web::errorResponse(404);
}

web::HttpResponse WebService::lobbyAnswer() const {
    std::vector<web::LobbyUser> users;
    for (const lobby::PublicUser& u : lobby_.users)
        users.push_back({u.id, gameKind(u.gameKind), userState(u.state)});
    std::vector<web::GameSummary> games;
    for (const auto& [id, live] : live_)
        games.push_back(summaryOf(id, live));
    return web::jsonResponse(web::lobbyJson(users, games));
}

web::HttpResponse WebService::listAnswer(const web::HttpRequest& request) const {
    if (!archive_) return web::errorResponse(503);
    std::optional<quint64> before;
    const QString beforeText = request.queryValue(u"before");
    if (!beforeText.isNull()) {
        before = idFromText(beforeText);
        if (!before) return web::errorResponse(400);
    }
    int limit = 20;
    const QString limitText = request.queryValue(u"limit");
    if (!limitText.isNull()) {
        const auto n = idFromText(limitText);
        if (!n || *n > quint64(web::GameArchive::kMaxPageSize)) return web::errorResponse(400);
        limit = int(*n);
    }
    web::GameArchive::Page page = archive_->list(before, limit);
    for (web::GameSummary& s : page.games)
        if (const auto live = live_.find(s.id); live != live_.end())
            s = summaryOf(s.id, live->second);
    return web::jsonResponse(web::listJson(page.games, page.next));
}

web::HttpResponse WebService::gameAnswer(QStringView rest, const web::HttpRequest& request) const {
    const qsizetype slash = rest.indexOf(u'/');
    const qsizetype dot = rest.indexOf(u'.');
    const qsizetype end = slash >= 0 ? slash : dot >= 0 ? dot : rest.size();
    const auto id = idFromText(rest.left(end));
    if (!id) return web::errorResponse(404);
    if (slash >= 0) {
        if (rest.mid(slash) != u"/stream") return web::errorResponse(404);
        return streamAnswer(*id, request);
    }
    if (dot >= 0) return recordAnswer(*id, rest.mid(dot + 1));
    const auto record = gameRecord(*id);
    if (!record) return web::errorResponse(404);
    return web::jsonResponse(web::detailText(*record));
}

web::HttpResponse WebService::streamAnswer(quint64 id, const web::HttpRequest& request) const {
    const auto record = gameRecord(id);
    if (!record) return web::errorResponse(404);
    // The moves after the one the client saw last: ?after=N, or the
    // Last-Event-ID of a reconnecting EventSource; none when it names none.
    QString after = request.queryValue(u"after");
    if (after.isNull()) after = QString::fromLatin1(request.header("last-event-id"));
    qsizetype from = qsizetype(record->positions.size());
    if (after == u"0") {
        from = 1;
    } else if (!after.isEmpty()) {
        const auto n = idFromText(after);
        if (!n) return web::errorResponse(400);
        from = qsizetype(std::min<quint64>(*n, record->positions.size())) + 1;
    }
    QByteArray backlog;
    for (qsizetype n = from; n < qsizetype(record->positions.size()); ++n)
        backlog += web::moveEvent(int(n), record->positions[std::size_t(n)], record->summary);
    const bool over = record->summary.result.has_value();
    if (over) backlog += web::endEvent(record->summary.kind, *record->summary.result);
    return web::streamResponse(streamKey(id), backlog, over);
}

web::HttpResponse WebService::recordAnswer(quint64 id, QStringView extension) const {
    const auto format = web::recordFormatOfExtension(extension);
    if (!format) return web::errorResponse(404);
    const auto record = gameRecord(id);
    if (!record) return web::errorResponse(404);
    auto file = web::recordFile(*record, *format);
    if (!file) return web::errorResponse(404);
    web::HttpResponse response;
    response.contentType = web::recordContentType(*format);
    response.body = std::move(*file);
    response.headers.emplaceBack(
        "Content-Disposition",
        "attachment; filename=\"" + web::recordFileName(id, *format).toLatin1() + '"');
    return response;
}

}  // namespace webfront
