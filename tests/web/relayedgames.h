#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include "chslines.h"
#include "gorules/movemessage.h"
#include "gorules/positionstring.h"
#include "shogigame.h"
#include "shogirules/movemessage.h"
#include "watchedgame.h"

// Two game programs playing through the server, as an onlooker's game is fed
// with what it relays: each move built by the sender's program from its own
// view, as the programs build it. The game itself is kept by the record
// library in the first player's view, which is what the web shows.

namespace web::test {

inline const QString kTaro = QStringLiteral("taro");
inline const QString kHana = QStringLiteral("hana");

inline QDateTime at(int minute) {
    return QDateTime(QDate(2026, 12, 8), QTime(21, minute), QTimeZone::utc());
}

// hana challenged taro; taro moves first and is black.
inline WatchedGame begunGame(GameKind kind, quint64 id = 1) {
    WatchedGame game;
    game.begin(id, kind, kHana, kTaro, at(0));
    return game;
}

// A shogi game played move by move, each move as its mover's program sends
// it: built from the mover's own view.
class ShogiMoves {
public:
    // Plays the move on the board; the message its mover sends.
    QString play(records::ShogiMove move) {
        const records::Player mover = game_.toMove();
        move.player = mover;
        EXPECT_FALSE(game_.play(move).has_value());
        shogi::ShogiPosition seen;
        seen.Ban = records::boardSeenBy(game_.board(), mover);
        seen.MyHand = game_.hand(mover);
        seen.OppHand = game_.hand(records::otherPlayer(mover));
        return shogi::BuildMoveMsg(seen, static_cast<qint32>(game_.moves().size()));
    }

    const records::ShogiGame& game() const { return game_; }

private:
    records::ShogiGame game_;
};

class ShogiPlay {
public:
    explicit ShogiPlay(WatchedGame& watched) : watched_(watched) {}

    // Plays the move on the board and relays the mover's move message.
    WatchedGame::Change play(records::ShogiMove move) {
        const records::Player mover = moves_.game().toMove();
        return relay(mover, moves_.play(move));
    }

    WatchedGame::Change relay(records::Player sender, const QString& text) {
        return watched_.relayed(sender == records::Player::First ? kTaro : kHana, text, at(30));
    }

    const records::ShogiGame& game() const { return moves_.game(); }

private:
    WatchedGame& watched_;
    ShogiMoves moves_;
};

// (file, rank) as shogi counts them, to the record library's square.
constexpr shogi::Square sq(int file, int rank) {
    return {shogi::kBoardSize - file, rank - 1};
}

inline records::ShogiMove boardMove(shogi::Square from, shogi::Square to, shogi::Kind piece) {
    return {records::Player::First, from, to, piece, false, std::nullopt};
}

inline records::ShogiMove dropMove(shogi::Square to, shogi::Kind piece) {
    return {records::Player::First, std::nullopt, to, piece, false, std::nullopt};
}

// A move, a capture with promotion, a recapture and a drop of the piece taken.
inline const std::vector<records::ShogiMove> kShogiMoves{
    boardMove(sq(7, 7), sq(7, 6), shogi::Kind::Fu),
    boardMove(sq(3, 3), sq(3, 4), shogi::Kind::Fu),
    {records::Player::First, sq(8, 8), sq(2, 2), shogi::Kind::Ka, true, std::nullopt},
    boardMove(sq(3, 1), sq(2, 2), shogi::Kind::Gi),
    dropMove(sq(5, 5), shogi::Kind::Ka)};

// Black takes a white stone in the corner on his third stone.
inline const std::vector<std::pair<go::Stone, go::Point>> kGoStones{{go::Stone::Black, {1, 0}},
                                                                    {go::Stone::White, {0, 0}},
                                                                    {go::Stone::Black, {15, 3}},
                                                                    {go::Stone::White, {3, 15}},
                                                                    {go::Stone::Black, {0, 1}}};

// A go game played stone by stone, each stone as its player's program sends
// it: written from the sender's view (white's board is black's turned through
// 180 degrees). The count the message carries runs over a whole session: it
// starts high here, as in a second game.
class GoMoves {
public:
    // Places the stone; the message its player sends.
    QString place(go::Stone colour, go::Point p) {
        EXPECT_TRUE(game_.place(colour, p));
        go::Ban seen = game_.board();
        if (colour == go::Stone::White) {
            seen = turned(seen);
            p = {go::kLastLine - p.x, go::kLastLine - p.y};
        }
        return go::BuildMoveMsg(seen, p, ++moveNo_, 50);
    }

    const records::GoGame& game() const { return game_; }

    static go::Ban turned(const go::Ban& ban) {
        go::Ban out;
        for (int k = 0; k < go::kPointCount; ++k) {
            const go::Point p = go::Point::fromNumber(k);
            out.set({go::kLastLine - p.x, go::kLastLine - p.y}, ban.at(p));
        }
        return out;
    }

private:
    records::GoGame game_;
    int moveNo_ = 0;
};

class GoPlay {
public:
    explicit GoPlay(WatchedGame& watched) : watched_(watched) {}

    // Places the stone and relays its sender's move message.
    WatchedGame::Change place(go::Stone colour, go::Point p) {
        return watched_.relayed(colour == go::Stone::Black ? kTaro : kHana, moves_.place(colour, p),
                                at(30));
    }

    const records::GoGame& game() const { return moves_.game(); }

    static go::Ban turned(const go::Ban& ban) { return GoMoves::turned(ban); }

private:
    WatchedGame& watched_;
    GoMoves moves_;
};

}  // namespace web::test
