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
            [this](const lobby::PublicLobby& now) {
                add([now](WebService& s) { s.lobbyChanged(now); });
            });
    connect(&server_, &lobby::LobbyServer::gameBegan, this,
            [this](quint64 number, int kind, const QString& challenger, const QString& challenged) {
                add([=](WebService& s) { s.gameBegan(number, kind, challenger, challenged); });
            });
    connect(&server_, &lobby::LobbyServer::gameRelayed, this,
            [this](quint64 number, const QString& fromId, const QString& text) {
                add([=](WebService& s) { s.gameRelayed(number, fromId, text); });
            });
    connect(&server_, &lobby::LobbyServer::gameEnded, this,
            [this](quint64 number, lobby::GameEndCause cause) {
                add([=](WebService& s) { s.gameEnded(number, cause); });
            });
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
    QMetaObject::invokeMethod(&service_, [s = &service_, batch = std::move(pending_)] {
        s->holdEvents();
        for (const Item& item : batch)
            item(*s);
        s->releaseEvents();
    });
    pending_.clear();
}

void LobbyNews::stop() {
    disconnect(&server_, nullptr, this, nullptr);
}

}  // namespace webfront
