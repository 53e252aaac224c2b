#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "lobbyplayers.h"

namespace bench {

// A game played beside a measurement at a steady pace, as two people play
// (only faster): on a thread of its own, the two linked players of `a` and
// `b` exchange one move every `interval`, each move taken whole by the other
// side, and both lobby clients poll the user list now and then so that the
// server keeps them. Runs from start() until stop().
class PacedGame {
public:
    PacedGame(LobbyPlayer& a, LobbyPlayer& b, std::chrono::milliseconds interval);
    ~PacedGame();
    PacedGame(const PacedGame&) = delete;
    PacedGame& operator=(const PacedGame&) = delete;

    void start();
    // Stops after the move in flight; the moves played (the last move's
    // number), or -1 when a move or a poll went wrong (error() says which).
    int stop();
    QString error() const;

private:
    void play();

    LobbyPlayer& a_;
    LobbyPlayer& b_;
    std::chrono::milliseconds interval_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    int played_ = 0;
    mutable std::mutex mutex_;
    QString error_;
};

}  // namespace bench
