// The web pages in a real browser (headless chromium) against a fake web
// front: what the lobby, archive and watch pages show, read back from their
// DOM.
#include <QDateTime>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "fakewebapi.h"
#include "headlessbrowser.h"

using testsupport::FakeWebApi;
using testsupport::HeadlessBrowser;

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

QByteArray json(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// A shogi position: pieces by square ("76" = file 7, rank 6), hands by kind.
QJsonObject shogiPosition(int n, const std::map<QString, QString>& pieces,
                          const QJsonObject& last = {},
                          const std::map<QString, QJsonObject>& hands = {}) {
    QJsonArray board;
    for (int i = 0; i < 81; ++i)
        board.append(QString());
    for (const auto& [square, piece] : pieces) {
        const int file = square[0].digitValue(), rank = square[1].digitValue();
        board[(rank - 1) * 9 + (9 - file)] = piece;
    }
    return {
        {"n", n},
        {"turn", n % 2 ? "white" : "black"},
        {"board", board},
        {"hands", QJsonObject{{"black", hands.count("black") ? hands.at("black") : QJsonObject{}},
                              {"white", hands.count("white") ? hands.at("white") : QJsonObject{}}}},
        {"last", last.isEmpty() ? QJsonValue() : QJsonValue(last)}};
}

QJsonObject shogiMove(int toFile, int toRank, int fromFile, int fromRank) {
    return {{"to", QJsonArray{toFile, toRank}}, {"from", QJsonArray{fromFile, fromRank}}};
}

// Black's pawn on file 7 after n moves of it (white passing in between is
// not the point here): rank 7 at the start, one up per move.
QJsonObject pawnWalk(int n) {
    return shogiPosition(n, {{QString("7%1").arg(7 - n), "bFU"}, {"59", "bOU"}, {"51", "wOU"}},
                         n ? shogiMove(7, 7 - n, 7, 8 - n) : QJsonObject{});
}

QJsonObject game(int id, const QString& kind, const QJsonArray& positions,
                 const QJsonValue& result = QJsonValue()) {
    const bool ended = result.isObject();
    return {{"id", id},
            {"game", kind},
            {"black", "taro"},
            {"white", "hana"},
            {"sides", "known"},
            {"moves", int(positions.size()) - 1},
            {"watchers", 1},
            {"started", "2026-12-08T21:00:00Z"},
            {"ended", ended ? QJsonValue("2026-12-08T21:30:00Z") : QJsonValue()},
            {"result", result},
            {"positions", positions}};
}

const QJsonObject kResignation{
    {"how", "resignation"}, {"winner", "black"}, {"text", "後手の投了で先手の勝ち"}};

class WebPagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (HeadlessBrowser::program().isEmpty()) return;
        browser_ = std::make_unique<HeadlessBrowser>();
        if (!browser_->start(kWidth, kHeight)) {
            startError_ = browser_->error();
            browser_.reset();
        }
    }
    static void TearDownTestSuite() { browser_.reset(); }

    void SetUp() override {
        if (HeadlessBrowser::program().isEmpty()) GTEST_SKIP() << "chromium is not installed";
        ASSERT_TRUE(browser_) << startError_.toStdString();
        ASSERT_TRUE(api_.listening());
    }

    void open(const QString& path) {
        ASSERT_TRUE(browser_->open(QUrl(api_.url(path)))) << browser_->error().toStdString();
    }
    QJsonValue js(const QString& expression) {
        const auto value = browser_->evaluate(expression);
        if (!value) ADD_FAILURE() << browser_->error().toStdString();
        return value.value_or(QJsonValue());
    }
    QString text(const QString& expression) { return js(expression).toString(); }
    bool waitFor(const QString& expression, int ms = 5000) {
        const bool ok = browser_->waitFor(expression, ms);
        if (!ok) ADD_FAILURE() << browser_->error().toStdString();
        return ok;
    }
    // The rows of a table, each as its cells' texts joined by "|".
    QStringList rows(const QString& table) {
        QStringList out;
        const QJsonArray all = js(QString("[...document.querySelectorAll('#%1 tbody tr')].map("
                                          "r => [...r.cells].map(c => c.textContent).join('|'))")
                                      .arg(table))
                                   .toArray();
        for (const auto& row : all)
            out << row.toString();
        return out;
    }
    QString pieceOn(const QString& square) {
        return text(
            QString("document.querySelector('[data-square=\"%1\"]').dataset.piece").arg(square));
    }

    static std::unique_ptr<HeadlessBrowser> browser_;
    static QString startError_;
    FakeWebApi api_{QStringLiteral(QUOR_WEB_SITE_DIR)};
};

std::unique_ptr<HeadlessBrowser> WebPagesTest::browser_;
QString WebPagesTest::startError_;

TEST_F(WebPagesTest, LobbyListsWhoIsOnAndTheGamesAndFollowsChanges) {
    auto lobby = [](int moves, bool withMari) {
        QJsonArray users{QJsonObject{{"id", "taro"}, {"game", "shogi"}, {"state", "playing"}},
                         QJsonObject{{"id", "hana"}, {"game", "shogi"}, {"state", "playing"}},
                         QJsonObject{{"id", "jiro"}, {"game", "go"}, {"state", "watching"}}};
        if (withMari) users.append(QJsonObject{{"id", "mari"}, {"game", "go"}, {"state", "free"}});
        const QJsonObject g{{"id", 7},
                            {"game", "shogi"},
                            {"black", "taro"},
                            {"white", "hana"},
                            {"moves", moves},
                            {"watchers", 1},
                            {"started", "2026-12-08T21:00:00Z"}};
        return json({{"users", users}, {"games", QJsonArray{g}}});
    };
    api_.setJson("/api/lobby", lobby(12, true));
    open("/");
    ASSERT_TRUE(waitFor("document.querySelectorAll('#users tbody tr').length === 4"));
    EXPECT_EQ(rows("users"), QStringList({"taro|将棋|対局中", "hana|将棋|対局中",
                                          "jiro|囲碁|観戦中", "mari|囲碁|空き"}));
    const QStringList games = rows("games");
    ASSERT_EQ(games.size(), 1);
    EXPECT_TRUE(games[0].startsWith("将棋|taro|hana|12|1|")) << games[0].toStdString();
    EXPECT_EQ(text("document.querySelector('#games a').getAttribute('href')"), "/games/7");

    api_.setJson("/api/lobby", lobby(13, false));
    EXPECT_TRUE(
        waitFor("document.querySelectorAll('#users tbody tr').length === 3 && "
                "document.querySelector('#games tbody td:nth-child(4)').textContent === '13'"));
}

TEST_F(WebPagesTest, WatchPageDrawsAShogiPosition) {
    const QJsonObject position = shogiPosition(
        3, {{"59", "bOU"}, {"51", "wOU"}, {"22", "bRY"}, {"87", "wTO"}}, shogiMove(2, 2, 2, 8),
        {{"black", QJsonObject{{"KA", 1}, {"FU", 2}, {"HI", 0}}},
         {"white", QJsonObject{{"HI", 1}}}});
    api_.setJson(
        "/api/games/5",
        json(game(5, "shogi", {pawnWalk(0), pawnWalk(1), pawnWalk(2), position}, kResignation)));
    open("/games/5");
    ASSERT_TRUE(waitFor("document.querySelectorAll('[data-square]').length === 81"));

    EXPECT_EQ(
        js("document.querySelectorAll('[data-piece^=\"b\"], [data-piece^=\"w\"]').length").toInt(),
        4);
    struct Shown {
        const char* square;
        const char* piece;
        const char* glyph;
        bool upsideDown;
        bool red;
    };
    for (const Shown& s : std::vector<Shown>{{"59", "bOU", "玉", false, false},
                                             {"51", "wOU", "王", true, false},
                                             {"22", "bRY", "龍", false, true},
                                             {"87", "wTO", "と", true, true}}) {
        SCOPED_TRACE(s.square);
        EXPECT_EQ(pieceOn(s.square), s.piece);
        const QString piece =
            QString("document.querySelector('[data-square=\"%1\"] .piece')").arg(s.square);
        EXPECT_EQ(text(piece + ".textContent"), s.glyph);
        EXPECT_EQ(text(QString("getComputedStyle(%1).transform").arg(piece)) != "none",
                  s.upsideDown);
        EXPECT_EQ(text(QString("getComputedStyle(%1).color").arg(piece)) == "rgb(196, 20, 16)",
                  s.red);
    }
    EXPECT_EQ(text("[...document.querySelectorAll('[data-last]')].map(e => e.dataset.square + "
                   "e.dataset.last).join()"),
              "22to,28from");
    EXPECT_EQ(
        text(
            "[...document.querySelectorAll('[data-hand] .hand-piece')].map("
            "e => e.closest('[data-hand]').dataset.hand + e.dataset.piece + e.textContent).join()"),
        "whiteHI飛1,blackFU歩2,blackKA角1");
    EXPECT_EQ(text("document.getElementById('move-number').textContent"), "第3手");
    EXPECT_EQ(text("document.getElementById('turn').textContent"), "後手の番");
    EXPECT_EQ(text("document.getElementById('last-move').textContent"), "☗２二龍");
    EXPECT_EQ(
        text("[...document.querySelectorAll('[data-player]')].map(e => e.textContent).join()"),
        "hana,taro");
    EXPECT_EQ(text("document.getElementById('result').textContent"), "後手の投了で先手の勝ち");
    EXPECT_EQ(text("[...document.querySelectorAll('[data-record]')].map(a => "
                   "a.getAttribute('href')).join()"),
              "/api/games/5.kif,/api/games/5.csa,/api/games/5.sho");
}

TEST_F(WebPagesTest, WatchPageDrawsAGoPosition) {
    QJsonArray board;
    for (int i = 0; i < 361; ++i)
        board.append(QString());
    board[3 * 19 + 3] = "b";    // (4, 4)
    board[15 * 19 + 15] = "w";  // (16, 16)
    board[9 * 19 + 9] = "b";    // (10, 10), the last stone
    const QJsonObject position{{"n", 3},
                               {"turn", "white"},
                               {"board", board},
                               {"captures", QJsonObject{{"black", 2}, {"white", 1}}},
                               {"last", QJsonObject{{"x", 10}, {"y", 10}}}};
    api_.setJson("/api/games/6", json(game(6, "go", {position})));
    open("/games/6");
    ASSERT_TRUE(waitFor("document.querySelectorAll('[data-stone]').length === 361"));

    EXPECT_EQ(text("[...document.querySelectorAll('[data-stone=\"b\"], [data-stone=\"w\"]')].map("
                   "p => p.dataset.x + ',' + p.dataset.y + p.dataset.stone + "
                   "p.querySelector('.stone').className).join(' ')"),
              "4,4bstone black 10,10bstone black 16,16wstone white");
    EXPECT_EQ(text("[...document.querySelectorAll('[data-last]')].map(p => p.dataset.x + ',' + "
                   "p.dataset.y).join()"),
              "10,10");
    EXPECT_EQ(text("document.querySelectorAll('.go-board .star').length + ''"), "9");
    EXPECT_EQ(text("document.querySelector('[data-captures=\"black\"]').textContent + '/' + "
                   "document.querySelector('[data-captures=\"white\"]').textContent"),
              "2/1");
    EXPECT_EQ(text("document.getElementById('turn').textContent"), "白の番");
    EXPECT_EQ(
        text("[...document.querySelectorAll('[data-record]')].map(a => a.dataset.record).join()"),
        "sgf,chs");
}

TEST_F(WebPagesTest, LiveMovesAreDrawnAsTheyComeAndTheEndShows) {
    api_.setJson("/api/games/9", json(game(9, "shogi", {pawnWalk(0), pawnWalk(1)})));
    open("/games/9");
    ASSERT_TRUE(waitFor("document.getElementById('move-number').dataset.n === '1'"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return api_.openStreams(9) == 1; }, 5000));
    EXPECT_EQ(api_.streamQueries(9), QStringList{"after=1"});
    EXPECT_EQ(text("document.getElementById('live').textContent"), "中継中");

    // The page's own clock stamps each drawing; the test's clock is the same one.
    // A move is drawn as its event comes, not at a poll: the quickest of three
    // within 100 ms. A machine busy with other tests may hold one back, but
    // not for a second.
    js("window.drawnAt = {}; new MutationObserver(() => { const n = document.getElementById("
       "'move-number').dataset.n; if (!(n in drawnAt)) drawnAt[n] = Date.now(); }).observe("
       "document.getElementById('move-number'), {attributes: true}); true");
    std::vector<double> delays;
    for (int n = 2; n <= 4; ++n) {
        SCOPED_TRACE(n);
        const qint64 sent = QDateTime::currentMSecsSinceEpoch();
        api_.sendEvent(
            9, QString("id: %1\nevent: move\ndata: ").arg(n).toUtf8() + json(pawnWalk(n)) + "\n\n");
        ASSERT_TRUE(waitFor(QString("drawnAt['%1'] !== undefined").arg(n)));
        delays.push_back(js(QString("drawnAt['%1']").arg(n)).toDouble() - double(sent));
        EXPECT_EQ(pieceOn(QString("7%1").arg(7 - n)), "bFU");
        EXPECT_EQ(pieceOn(QString("7%1").arg(8 - n)), "");
    }
    EXPECT_LE(*std::min_element(delays.begin(), delays.end()), 100.0);
    EXPECT_LE(*std::max_element(delays.begin(), delays.end()), 1000.0);
    api_.sendEvent(9, "event: end\ndata: " + json(kResignation) + "\n\n");
    api_.closeStreams(9);
    EXPECT_TRUE(
        waitFor("document.getElementById('result').textContent === '後手の投了で先手の勝ち' && "
                "!document.getElementById('result').hidden"));
    EXPECT_EQ(text("document.getElementById('live').textContent"), "終局");
}

TEST_F(WebPagesTest, FinishedGameReplaysWithButtonsAndArrowKeys) {
    api_.setJson("/api/games/11",
                 json(game(11, "shogi", {pawnWalk(0), pawnWalk(1), pawnWalk(2), pawnWalk(3)},
                           kResignation)));
    open("/games/11");
    ASSERT_TRUE(waitFor("document.getElementById('move-number').dataset.n === '3'"));
    EXPECT_EQ(api_.streamQueries(11), QStringList{});
    EXPECT_EQ(text("document.getElementById('live').textContent"), "終局");

    struct Step {
        const char* button;  // a button's data-step, or
        const char* key;     // a key
        int shows;
    };
    for (const Step& s : std::vector<Step>{{"first", nullptr, 0},
                                           {nullptr, "ArrowRight", 1},
                                           {"next", nullptr, 2},
                                           {nullptr, "ArrowLeft", 1},
                                           {nullptr, "End", 3},
                                           {"prev", nullptr, 2},
                                           {nullptr, "Home", 0},
                                           {nullptr, "ArrowLeft", 0}}) {
        SCOPED_TRACE(s.button ? s.button : s.key);
        if (s.button)
            js(QString("document.querySelector('[data-step=\"%1\"]').click(); true").arg(s.button));
        else
            ASSERT_TRUE(browser_->pressKey(s.key)) << browser_->error().toStdString();
        EXPECT_TRUE(waitFor(
            QString("document.getElementById('move-number').dataset.n === '%1'").arg(s.shows)));
        EXPECT_EQ(pieceOn(QString("7%1").arg(7 - s.shows)), "bFU");
    }
    EXPECT_EQ(text("document.getElementById('move-number').textContent"), "開始局面");
    EXPECT_EQ(text("[...document.querySelectorAll('[data-step]')].map(b => b.disabled).join()"),
              "true,true,false,false");
}

TEST_F(WebPagesTest, ArchiveListsGamesNewestFirstAPageAtATime) {
    const auto summary = [](int id, const QString& kind, const QJsonValue& result) {
        QJsonObject g = game(id, kind, {}, result);
        g.remove("positions");
        g["moves"] = 40;
        return g;
    };
    const QJsonObject goWin{
        {"how", "resignation"}, {"winner", "black"}, {"text", "白の投了で黒の勝ち"}};
    api_.setJson(
        "/api/games?limit=20",
        json({{"games", QJsonArray{summary(12, "shogi", QJsonValue()), summary(11, "go", goWin)}},
              {"next", 11}}));
    api_.setJson(
        "/api/games?before=11&limit=20",
        json({{"games", QJsonArray{summary(10, "shogi", kResignation)}}, {"next", QJsonValue()}}));

    open("/games");
    ASSERT_TRUE(waitFor("document.querySelectorAll('#games tbody tr').length === 2"));
    const QStringList first = rows("games");
    EXPECT_TRUE(first[0].startsWith("第12局|将棋|taro|hana|40|") && first[0].endsWith("|対局中"))
        << first[0].toStdString();
    EXPECT_TRUE(first[1].startsWith("第11局|囲碁|") && first[1].endsWith("|白の投了で黒の勝ち"))
        << first[1].toStdString();
    EXPECT_EQ(text("document.querySelector('#games a').getAttribute('href')"), "/games/12");
    const QString older = text(
        "document.getElementById('older').hidden ? '' : "
        "document.getElementById('older').getAttribute('href')");
    ASSERT_EQ(older, "/games?before=11");

    open(older);
    ASSERT_TRUE(waitFor("document.querySelectorAll('#games tbody tr').length === 1"));
    EXPECT_TRUE(rows("games")[0].startsWith("第10局|"));
    EXPECT_TRUE(js("document.getElementById('older').hidden").toBool());
    EXPECT_FALSE(js("document.getElementById('newest').hidden").toBool());
    EXPECT_TRUE(api_.requests().contains("/api/games?before=11&limit=20"));
}

TEST_F(WebPagesTest, NamesFromTheServerShowAsText) {
    const QString hostile =
        R"(<script>window.hacked=1</script><img src=x onerror="window.hacked=2">)";
    api_.setJson(
        "/api/lobby",
        json(
            {{"users", QJsonArray{QJsonObject{{"id", hostile}, {"game", "go"}, {"state", "free"}}}},
             {"games", QJsonArray{}}}));
    QJsonObject g = game(8, "shogi", {pawnWalk(0)});
    g["black"] = hostile;
    api_.setJson("/api/games/8", json(g));

    for (const char* page : {"/", "/games/8"}) {
        SCOPED_TRACE(page);
        open(page);
        ASSERT_TRUE(
            waitFor(QString("document.body.textContent.includes(%1)")
                        .arg(QString::fromUtf8(
                                 QJsonDocument(QJsonArray{hostile}).toJson(QJsonDocument::Compact))
                                 .mid(1)
                                 .chopped(1))));
        EXPECT_EQ(js("document.querySelectorAll('main img, main script').length").toInt(), 0);
        EXPECT_TRUE(js("window.hacked === undefined").toBool());
    }
}

TEST_F(WebPagesTest, AnUnknownGameSaysSo) {
    open("/games/404");
    EXPECT_TRUE(
        waitFor("document.getElementById('message').textContent === 'この対局は見つかりません。'"));
    EXPECT_TRUE(js("document.getElementById('game').hidden").toBool());
}

TEST_F(WebPagesTest, ScreenshotIsThePageSize) {
    api_.setJson("/api/games/5", json(game(5, "shogi", {pawnWalk(0)})));
    open("/games/5");
    ASSERT_TRUE(waitFor("document.querySelectorAll('.piece').length === 3"));
    QTemporaryDir dir;
    const QString file = dir.filePath("game.png");
    ASSERT_TRUE(browser_->screenshot(file)) << browser_->error().toStdString();
    const QImage shot(file);
    EXPECT_EQ(shot.size(), QSize(kWidth, kHeight));
}

}  // namespace
