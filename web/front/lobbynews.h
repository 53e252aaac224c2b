#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>
#include <mutex>
#include <variant>
#include <vector>

#include "publiclobby.h"

namespace lobby {
class LobbyServer;
}

namespace webfront {

class WebService;

// What the lobby server tells the web front (who is on, a game begun, a
// message relayed, a game ended), in order, handed from the server's own
// thread to the front's. The server's thread only gathers it; the first
// piece after a quiet spell wakes the front's thread, which then comes back
// for more by itself every `interval` until it finds none. A game played as
// fast as the network allows thus costs the server's thread an append per
// relayed message and never a wake-up of another thread, and the front
// writes each watcher once per batch, however many moves it holds.
class LobbyNews : public QObject {
public:
    LobbyNews(lobby::LobbyServer& server, WebService& service, std::chrono::milliseconds interval,
              QObject* parent = nullptr);

    // Hands over what is gathered now (before the front stops, say).
    void flush();
    // Stops gathering; what was gathered and not handed over is kept for
    // flush().
    void stop();

private:
    // One piece of news, as plain values: a relayed message costs the
    // server's thread no allocation of its own.
    struct Began {
        quint64 number;
        int kind;
        QString challenger;
        QString challenged;
    };
    // The sender's ID and the message stand in the batch's text, one after
    // the other, from `at` on: the front's thread then frees one buffer a
    // batch, not each message the server's thread made (memory handed from
    // one thread to the other to free is slow to come back to the first).
    struct Relayed {
        quint64 number;
        qsizetype at;
        qsizetype idSize;
        qsizetype textSize;
    };
    struct Ended {
        quint64 number;
        lobby::GameEndCause cause;
    };
    using Item = std::variant<lobby::PublicLobby, Began, Relayed, Ended>;
    struct Batch {
        std::vector<Item> items;
        QString texts;
    };
    // What the two threads share: the news gathered and not yet taken, the
    // emptied batch that takes its place when it is, and whether the front's
    // thread comes back for it by itself.
    struct Inbox {
        std::mutex lock;
        Batch batch;
        Batch spare;
        bool fetching = false;
    };

    // Adds a piece of news (with `id` and `text` first, for a relayed
    // message) and wakes the front's thread when it does not come by itself.
    template <typename Make>
    void add(Make make);
    // On the front's thread: takes what was gathered and tells the service;
    // with `again`, comes back after `interval` while there was any.
    static void fetch(WebService& service, const std::shared_ptr<Inbox>& inbox,
                      std::chrono::milliseconds interval, bool again);
    static void tell(WebService& service, const Batch& batch, const Item& item);

    lobby::LobbyServer& server_;
    WebService& service_;
    std::chrono::milliseconds interval_;
    std::shared_ptr<Inbox> inbox_ = std::make_shared<Inbox>();
};

}  // namespace webfront
