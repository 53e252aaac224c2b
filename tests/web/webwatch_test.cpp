// The watch page of a real `Brellow --headless --web 0` in a headless
// chromium while scripted players play a shogi and a go game through the
// server as game programs do (one message, then its acknowledgement): after
// each move the page draws the game's board, hands or captures and the last
// move; once its picture shows the pieces; then how the game ended, and a
// step back through the finished game.
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "brellowprocess.h"
#include "gamemessage.h"
#include "headlessbrowser.h"
#include "relayedgames.h"
#include "serverport.h"
#include "shoginames.h"
#include "webclient.h"
#include "wireplayer.h"

namespace {

using bot::test::WirePlayer;
using testsupport::HeadlessBrowser;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

const QStringList kUsers = {"1,taro,pw,taro@example.jp,", "2,hana,pw,hana@example.jp,",
                            "3,ken,pw,ken@example.jp,", "4,yuki,pw,yuki@example.jp,"};

const QString kResign = QStringLiteral("投了です。あなたの勝ちです。有り難うございました。");

// What the page shows, read from its DOM: occupied squares or points as
// "place:content", sorted and joined.
const QString kShogiSquares = QStringLiteral(
    "[...document.querySelectorAll('[data-square]')].filter(e => e.dataset.piece)"
    ".map(e => e.dataset.square + ':' + e.dataset.piece).sort().join()");
const QString kShogiHands = QStringLiteral(
    "[...document.querySelectorAll('[data-hand] .hand-piece')].map(e => "
    "e.closest('[data-hand]').dataset.hand + ':' + e.dataset.piece + "
    "e.dataset.count).sort().join()");
const QString kShogiLast = QStringLiteral(
    "[...document.querySelectorAll('[data-last]')].map(e => e.dataset.square + ':' + "
    "e.dataset.last).sort().join()");
const QString kGoPoints = QStringLiteral(
    "[...document.querySelectorAll('[data-stone]')].filter(e => e.dataset.stone)"
    ".map(e => e.dataset.x + '-' + e.dataset.y + ':' + e.dataset.stone).sort().join()");
const QString kGoLast = QStringLiteral(
    "[...document.querySelectorAll('[data-last]')].map(e => e.dataset.x + '-' + "
    "e.dataset.y).join()");
const QString kGoCaptures = QStringLiteral(
    "document.querySelector('[data-captures=\"black\"]').textContent + '/' + "
    "document.querySelector('[data-captures=\"white\"]').textContent");

std::string sortedJoin(QStringList items) {
    items.sort();
    return items.join(u',').toStdString();
}

// The same, from the game the test played; black is the first player.
std::string shogiSquares(const records::ShogiGame& game) {
    QStringList squares;
    for (int file = 1; file <= 9; ++file)
        for (int rank = 1; rank <= 9; ++rank) {
            const shogi::Cell cell = game.board().at(web::test::sq(file, rank));
            if (cell.isEmpty()) continue;
            squares << QStringLiteral("%1%2:%3%4")
                           .arg(file)
                           .arg(rank)
                           .arg(cell.isOwnPiece() ? "b" : "w")
                           .arg(records::csaCode(cell.kind()));
        }
    return sortedJoin(squares);
}

std::string shogiHands(const records::ShogiGame& game) {
    QStringList held;
    for (const auto player : {records::Player::First, records::Player::Second})
        for (const shogi::HandEntry& entry : game.hand(player).entries)
            if (entry.count > 0)
                held << QStringLiteral("%1:%2%3")
                            .arg(player == records::Player::First ? "black" : "white")
                            .arg(records::csaCode(entry.code))
                            .arg(entry.count);
    return sortedJoin(held);
}

std::string goPoints(const go::Ban& board) {
    QStringList points;
    for (int x = 0; x < go::kBoardSize; ++x)
        for (int y = 0; y < go::kBoardSize; ++y) {
            const go::Stone stone = board.at({x, y});
            if (stone == go::Stone::Black || stone == go::Stone::White)
                points << QStringLiteral("%1-%2:%3")
                              .arg(x + 1)
                              .arg(y + 1)
                              .arg(stone == go::Stone::Black ? "b" : "w");
        }
    return sortedJoin(points);
}

class WatchPage : public ::testing::Test {
protected:
    void SetUp() override {
        if (HeadlessBrowser::program().isEmpty()) GTEST_SKIP() << "chromium is not installed";
        ASSERT_TRUE(server_.start({"--web", "0", "--archive", archive_.path()}) &&
                    server_.waitForLine(QStringLiteral(" Web ")))
            << server_.output().toStdString();
        web_ = net::announcedPort(server_.output(), net::kWebPlace);
        ASSERT_NE(web_, 0);
        qputenv("QUOR_PORT", QByteArray::number(server_.port));
        ASSERT_TRUE(browser_.start(kWidth, kHeight)) << browser_.error().toStdString();
    }

    // White challenges black; both game programs log in and greet each
    // other, so that both links stand. The game's ID on the web.
    qint64 pair(WirePlayer& black, WirePlayer& white) {
        EXPECT_TRUE(black.logIn() && white.logIn());
        const auto index = white.waitForUser(black.id(), true, 5000);
        EXPECT_TRUE(index && white.challenge(*index));
        EXPECT_TRUE(black.linkGame() && white.linkGame());
        const QString hello = gamecommon::conversationMsg(QStringLiteral("よろしくお願いします"));
        deliver(white, black, hello);
        deliver(black, white, hello);
        qint64 id = 0;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                for (const QJsonValue g :
                     webtest::get(web_, "/api/lobby").json()["games"].toArray())
                    if (g["black"] == black.id() || g["white"] == black.id())
                        id = g["id"].toInteger();
                return id != 0;
            },
            5000));
        return id;
    }

    // One message from one program to the other, acknowledged as the
    // programs acknowledge every message.
    static void deliver(WirePlayer& from, WirePlayer& to, const QString& text) {
        from.sendGame(text);
        EXPECT_EQ(to.nextGame(WirePlayer::said(), 5000), text);
        to.sendGame(QStringLiteral("SYOUGI_MSG3:SEND_OK"));
        EXPECT_TRUE(from.nextGame(WirePlayer::startsWith(u"SYOUGI_MSG3"), 5000));
    }

    // Pairs the two and opens their game's page at its start; the game's ID,
    // or 0 when any of it failed.
    qint64 watch(WirePlayer& black, WirePlayer& white) {
        const qint64 id = pair(black, white);
        if (id == 0) return 0;
        if (!browser_.open(
                QUrl(QStringLiteral("http://127.0.0.1:%1/games/%2").arg(web_).arg(id)))) {
            ADD_FAILURE() << browser_.error().toStdString();
            return 0;
        }
        return showsMove(0) ? id : 0;
    }
    // A text the page gives, as gtest prints it best.
    std::string text(const QString& expression) {
        const auto value = browser_.evaluate(expression);
        if (!value) ADD_FAILURE() << browser_.error().toStdString();
        return value.value_or(QJsonValue()).toString().toStdString();
    }
    bool showsMove(int n) {
        const bool shown = browser_.waitFor(
            QStringLiteral("document.getElementById('move-number').dataset.n === '%1'").arg(n));
        if (!shown)
            ADD_FAILURE() << "move " << n << " not shown: " << browser_.error().toStdString();
        return shown;
    }
    bool showsResult(const QString& result) {
        const bool shown = browser_.waitFor(
            QStringLiteral("document.getElementById('result').textContent === '%1' && "
                           "!document.getElementById('result').hidden && "
                           "document.getElementById('live').textContent === '終局'")
                .arg(result));
        if (!shown)
            ADD_FAILURE() << "not shown: " << result.toStdString() << " but "
                          << text("document.getElementById('result').textContent");
        return shown;
    }

    // How many pixels of the element's inside differ from its top left
    // corner in the page's picture.
    int inkIn(const QImage& picture, const QString& selector) {
        const auto box = browser_.evaluate(
            QStringLiteral("(r => [r.x, r.y, r.width, r.height])(document.querySelector('%1')"
                           ".getBoundingClientRect())")
                .arg(selector));
        if (!box) return -1;
        const QJsonArray r = box->toArray();
        const QRect inside =
            QRectF(r[0].toDouble(), r[1].toDouble(), r[2].toDouble(), r[3].toDouble())
                .toAlignedRect()
                .adjusted(3, 3, -3, -3)
                .intersected(picture.rect());
        if (inside.isEmpty()) return -1;
        const QRgb ground = picture.pixel(inside.topLeft());
        int ink = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                if (picture.pixel(x, y) != ground) ++ink;
        return ink;
    }

    QTemporaryDir archive_;
    testsupport::BrellowProcess server_{kUsers};
    quint16 web_ = 0;
    HeadlessBrowser browser_;
};

TEST_F(WatchPage, FollowsAShogiGameMoveByMoveToTheResignationAndStepsBack) {
    WirePlayer taro(QStringLiteral("taro"), 0);
    WirePlayer hana(QStringLiteral("hana"), 0);
    const qint64 id = watch(taro, hana);
    ASSERT_NE(id, 0);
    EXPECT_EQ(text("document.getElementById('live').textContent"), "中継中");

    // A move, a capture with promotion, a recapture and a drop of the piece
    // taken: each drawn as the game has it.
    web::test::ShogiMoves game;
    const std::vector<std::string> lastMarks = {"76:to,77:from", "33:from,34:to", "22:to,88:from",
                                                "22:to,31:from", "55:to"};
    std::vector<std::pair<std::string, std::string>> seen;  // squares and hands after each move
    for (std::size_t i = 0; i < web::test::kShogiMoves.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        SCOPED_TRACE(testing::Message() << "move " << n);
        const QString message = game.play(web::test::kShogiMoves[i]);
        if (n % 2 == 1)
            deliver(taro, hana, message);
        else
            deliver(hana, taro, message);
        ASSERT_TRUE(showsMove(n));
        seen.emplace_back(shogiSquares(game.game()), shogiHands(game.game()));
        EXPECT_EQ(text(kShogiSquares), seen.back().first);
        EXPECT_EQ(text(kShogiHands), seen.back().second);
        EXPECT_EQ(text(kShogiLast), lastMarks[i]);
        // The first move tells who is black.
        EXPECT_EQ(text("[...document.querySelectorAll('[data-player]')].map(e => "
                       "e.dataset.player + ':' + e.textContent).sort().join()"),
                  "black:taro,white:hana");

        if (n == 3) {
            // The picture too: the promoted bishop stands where the pawn
            // left an empty square's ground alone.
            const QTemporaryDir folder;
            const QString file = QDir(folder.path()).filePath("watch.png");
            ASSERT_TRUE(browser_.screenshot(file)) << browser_.error().toStdString();
            const QImage picture(file);
            ASSERT_EQ(picture.size(), QSize(kWidth, kHeight));
            EXPECT_GT(inkIn(picture, "[data-square=\"22\"]"), 30);
            EXPECT_EQ(inkIn(picture, "[data-square=\"55\"]"), 0);
        }
    }

    // hana (white) resigns as the programs do, in a conversation line.
    deliver(hana, taro, gamecommon::conversationMsg(kResign));
    ASSERT_TRUE(showsResult(QStringLiteral("後手の投了で先手の勝ち")));

    // The finished game steps back a move at a time.
    ASSERT_TRUE(browser_.pressKey(QStringLiteral("ArrowLeft")));
    ASSERT_TRUE(showsMove(4));
    EXPECT_EQ(text(kShogiSquares), seen[3].first);
    EXPECT_EQ(text(kShogiHands), seen[3].second);
    EXPECT_EQ(text(kShogiLast), lastMarks[3]);

    // They play again without leaving the pairing: another game of its own.
    web::test::ShogiMoves again;
    deliver(hana, taro, again.play(web::test::kShogiMoves[0]));
    QJsonArray games;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            games = webtest::get(web_, "/api/games").json()["games"].toArray();
            return games.size() == 2;
        },
        5000));
    const QJsonObject newest = games.at(0).toObject();
    const QJsonObject first = games.at(1).toObject();
    EXPECT_EQ(newest["moves"].toInt(), 1);
    EXPECT_EQ(newest["black"].toString().toStdString(), "hana");
    EXPECT_TRUE(newest["result"].isNull());
    EXPECT_EQ(first["id"].toInteger(), id);
    EXPECT_EQ(first["moves"].toInt(), 5);
    EXPECT_EQ(first["result"]["how"].toString().toStdString(), "resignation");
}

TEST_F(WatchPage, FollowsAGoGameStoneByStoneUntilAPlayerIsGone) {
    WirePlayer ken(QStringLiteral("ken"), 1);
    WirePlayer yuki(QStringLiteral("yuki"), 1);
    const qint64 id = watch(ken, yuki);
    ASSERT_NE(id, 0);

    // Black takes a white stone in the corner with his third stone.
    web::test::GoMoves game;
    const std::vector<std::string> captures = {"0/0", "0/0", "0/0", "0/0", "1/0"};
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < web::test::kGoStones.size(); ++i) {
        const int n = static_cast<int>(i) + 1;
        SCOPED_TRACE(testing::Message() << "stone " << n);
        const auto [colour, point] = web::test::kGoStones[i];
        const QString message = game.place(colour, point);
        if (colour == go::Stone::Black)
            deliver(ken, yuki, message);
        else
            deliver(yuki, ken, message);
        ASSERT_TRUE(showsMove(n));
        seen.push_back(goPoints(game.game().board()));
        EXPECT_EQ(text(kGoPoints), seen.back());
        EXPECT_EQ(text(kGoLast),
                  QStringLiteral("%1-%2").arg(point.x + 1).arg(point.y + 1).toStdString());
        EXPECT_EQ(text(kGoCaptures), captures[i]);
    }

    // ken's game program goes: the server ends the game, and the page says so.
    ken.closeGame();
    ASSERT_TRUE(showsResult(QStringLiteral("対局者の接続が切れました")));

    ASSERT_TRUE(browser_.pressKey(QStringLiteral("ArrowLeft")));
    ASSERT_TRUE(showsMove(4));
    EXPECT_EQ(text(kGoPoints), seen[3]);
    EXPECT_EQ(text(kGoCaptures), "0/0");
}

}  // namespace
