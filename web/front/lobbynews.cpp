#include "lobbynews.h"

#include <QMetaObject>
#include <utility>

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
                const qsizetype at = pending_.texts.size();
                pending_.texts += fromId;
                pending_.texts += text;
                add(Relayed{number, at, fromId.size(), text.size()});
            });
    connect(&server_, &lobby::LobbyServer::gameEnded, this,
            [this](quint64 number, lobby::GameEndCause cause) {
                add(Ended{number, cause});
            });
}

void LobbyNews::tell(WebService& service, const Batch& batch, const Item& item) {
    if (const auto* lobby = std::get_if<lobby::PublicLobby>(&item)) {
        service.lobbyChanged(*lobby);
    } else if (const auto* began = std::get_if<Began>(&item)) {
        service.gameBegan(began->number, began->kind, began->challenger, began->challenged);
    } else if (const auto* relayed = std::get_if<Relayed>(&item)) {
        const QStringView texts = batch.texts;
        service.gameRelayed(relayed->number, texts.sliced(relayed->at, relayed->idSize),
                            texts.sliced(relayed->at + relayed->idSize, relayed->textSize));
    } else if (const auto* ended = std::get_if<Ended>(&item)) {
        service.gameEnded(ended->number, ended->cause);
    }
}

void LobbyNews::add(Item item) {
    pending_.items.push_back(std::move(item));
    // After a quiet spell the news goes at once; within `interval` of the
    // last hand-over it waits for the next.
    if (!timer_.isActive()) flush();
}

void LobbyNews::flush() {
    if (pending_.items.empty()) {
        timer_.stop();
        return;
    }
    timer_.start();
    Batch batch = std::exchange(pending_, {});
    // The next batch is likely as long as this one.
    pending_.items.reserve(batch.items.size());
    pending_.texts.reserve(batch.texts.size());
    QMetaObject::invokeMethod(&service_, [s = &service_, batch = std::move(batch)] {
        s->holdEvents();
        for (const Item& item : batch.items)
            tell(*s, batch, item);
        s->releaseEvents();
    });
}

void LobbyNews::stop() {
    disconnect(&server_, nullptr, this, nullptr);
}

}  // namespace webfront
