#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
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
// thread to the front's: at once after a quiet spell, and in batches while
// the news comes thick, at most one hand-over every `interval`. A game played
// as fast as the network allows then costs the server's thread an append per
// relayed message, not a wake-up of another thread, and the front writes each
// watcher once per batch, however many moves it holds.
class LobbyNews : public QObject {
public:
    LobbyNews(lobby::LobbyServer& server, WebService& service, std::chrono::milliseconds interval,
              QObject* parent = nullptr);

    // Hands over what is gathered now (before the front stops, say); with
    // nothing gathered the news is quiet again.
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
    static void tell(WebService& service, const Batch& batch, const Item& item);
    void add(Item item);

    lobby::LobbyServer& server_;
    WebService& service_;
    QTimer timer_;
    Batch pending_;
};

}  // namespace webfront
