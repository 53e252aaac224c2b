#include "lobbynews.h"

#include <QMetaObject>

#include "lobbyserver.h"
#include "webservice.h"

namespace webfront {

LobbyNews::LobbyNews(lobby::LobbyServer& server, WebService& service,
                     std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), server_(server), service_(service) {
    timer_.setSingleShot(true);
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &LobbyNews::flush);
    connect(&server_, &lobby::LobbyServer::lobbyChanged, this,
            [this](const lobby::PublicLobby& now) { add(now); });
    connect(&server_, &lobby::LobbyServer::gameBegan, this,
            [this](quint64 number, int kind, const QString& challenger, const QString& challenged) {
                add(Began{number, kind, challenger, challenged});
            });
    connect(&server_, &lobby::LobbyServer::gameRelayed, this,
            [this](quint64 number, const QString& fromId, const QString& text) {
                add(Relayed{number, fromId, text});
            });
    connect(&server_, &lobby::LobbyServer::gameEnded, this,
            [this](quint64 number, lobby::GameEndCause cause) {
                add(Ended{number, cause});
            });
}

void LobbyNews::tell(WebService& service, const Item& item) {
    if (const auto* lobby = std::get_if<lobby::PublicLobby>(&item))
        service.lobbyChanged(*lobby);
    else if (const auto* began = std::get_if<Began>(&item))
        service.gameBegan(began->number, began->kind, began->challenger, began->challenged);
    else if (const auto* relayed = std::get_if<Relayed>(&item))
        service.gameRelayed(relayed->number, relayed->fromId, relayed->text);
    else if (const auto* ended = std::get_if<Ended>(&item))
        service.gameEnded(ended->number, ended->cause);
}

void LobbyNews::add(Item item) {
    pending_.push_back(std::move(item));
    // After a quiet spell the news goes at once; within `interval` of the
    // last hand-over it waits for the next.
    if (!timer_.isActive()) flush();
}

void LobbyNews::flush() {
    if (pending_.empty()) {
        timer_.stop();
        return;
    }
    timer_.start();
    std::vector<Item> batch;
    batch.swap(pending_);
    // The next batch is likely as long as this one.
    pending_.reserve(batch.size());
    QMetaObject::invokeMethod(&service_, [s = &service_, batch = std::move(batch)] {
        s->holdEvents();
        for (const Item& item : batch)
            tell(*s, item);
        s->releaseEvents();
    });
}

void LobbyNews::stop() {
    disconnect(&server_, nullptr, this, nullptr);
}

}  // namespace webfront
