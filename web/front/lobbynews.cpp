#include "lobbynews.h"

#include <QMetaObject>
#include <QTimer>
#include <utility>

#include "lobbyserver.h"
#include "webservice.h"

namespace webfront {

LobbyNews::LobbyNews(lobby::LobbyServer& server, WebService& service,
                     std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), server_(server), service_(service), interval_(interval) {
    connect(&server_, &lobby::LobbyServer::lobbyChanged, this,
            [this](const lobby::PublicLobby& now) { add([&](Batch&) { return Item(now); }); });
    connect(&server_, &lobby::LobbyServer::gameBegan, this,
            [this](quint64 number, int kind, const QString& challenger, const QString& challenged) {
                add([&](Batch&) { return Item(Began{number, kind, challenger, challenged}); });
            });
    connect(&server_, &lobby::LobbyServer::gameRelayed, this,
            [this](quint64 number, const QString& fromId, const QString& text) {
                add([&](Batch& batch) {
                    const qsizetype at = batch.texts.size();
                    batch.texts += fromId;
                    batch.texts += text;
                    return Item(Relayed{number, at, fromId.size(), text.size()});
                });
            });
    connect(&server_, &lobby::LobbyServer::gameEnded, this,
            [this](quint64 number, lobby::GameEndCause cause) {
                add([&](Batch&) { return Item(Ended{number, cause}); });
            });
}

template <typename Make>
void LobbyNews::add(Make make) {
    bool wake = false;
    {
        const std::lock_guard hold(inbox_->lock);
        Batch& batch = inbox_->batch;
        batch.items.push_back(make(batch));
        wake = !std::exchange(inbox_->fetching, true);
    }
    if (!wake) return;
    QMetaObject::invokeMethod(&service_, [s = &service_, inbox = inbox_, interval = interval_] {
        fetch(*s, inbox, interval, true);
    });
}

void LobbyNews::fetch(WebService& service, const std::shared_ptr<Inbox>& inbox,
                      std::chrono::milliseconds interval, bool again) {
    Batch batch;
    {
        const std::lock_guard hold(inbox->lock);
        batch = std::exchange(inbox->batch, std::exchange(inbox->spare, Batch()));
        if (batch.items.empty() && again) inbox->fetching = false;
    }
    const bool news = !batch.items.empty();
    if (news) {
        service.holdEvents();
        for (const Item& item : batch.items)
            tell(service, batch, item);
        service.releaseEvents();
    }
    // Emptied, the batch's room is where the server's thread writes the
    // batch after next: memory this thread only read, which that thread
    // takes back at little cost (and no allocation while it gathers).
    batch.items.clear();
    batch.texts.resize(0);
    {
        const std::lock_guard hold(inbox->lock);
        inbox->spare = std::move(batch);
    }
    if (news && again)
        QTimer::singleShot(interval, &service,
                           [s = &service, inbox, interval] { fetch(*s, inbox, interval, true); });
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

void LobbyNews::flush() {
    QMetaObject::invokeMethod(&service_, [s = &service_, inbox = inbox_, interval = interval_] {
        fetch(*s, inbox, interval, false);
    });
}

void LobbyNews::stop() {
    disconnect(&server_, nullptr, this, nullptr);
}

}  // namespace webfront
