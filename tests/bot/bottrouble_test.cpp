#include <gtest/gtest.h>

#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "../shogi/diagram.h"
#include "goboards.h"
#include "gomoves.h"
#include "gorules/capture.h"
#include "gorules/movemessage.h"
#include "shogiplay.h"
#include "shogirules/movemessage.h"
#include "testlobby.h"
#include "wireplayer.h"

// What the bot does where its engine does not follow the game: a move the game
// programs allow and the engine refuses, and an engine that dies. It goes on,
// or resigns with a chat line that says why, and never hangs.

namespace bot {
namespace {

using test::BotProcess;
using test::TestLobby;
using test::WirePlayer;

constexpr int kAnswerMs = 2000;  // --seconds 1, and one second more
const QString kResignation = QStringLiteral("投了です。あなたの勝ちです。有り難うございました。");

void startGameWithBot(WirePlayer& player, const QString& botId) {
    ASSERT_TRUE(player.logIn());
    const auto bot = player.waitForUser(botId, true, 15000);
    ASSERT_TRUE(bot) << botId.toStdString() << " never logged in";
    ASSERT_TRUE(player.challenge(*bot));
    ASSERT_TRUE(player.linkGame());
    ASSERT_TRUE(player.nextGame(WirePlayer::startsWith(u"SYOUGI_MSG4:"), 5000));
}

std::optional<QString> timedReply(WirePlayer& player, const QString& move) {
    QElapsedTimer sent;
    sent.start();
    player.sendGame(move);
    const auto reply = player.nextGame(WirePlayer::said(), kAnswerMs + 3000);
    if (reply) {
        EXPECT_LT(sent.elapsed(), kAnswerMs) << reply->toStdString();
    }
    return reply;
}

shogi::ShogiPosition shogiPositionOf(const QString& message) {
    const auto move = shogi::parseMoveMsg(message);
    shogi::ShogiPosition p;
    if (!move || p.Ban.load(move->positionString)) {
        ADD_FAILURE() << "no shogi move: " << message.toStdString();
        return p;
    }
    p.MyHand = move->myHand;
    p.OppHand = move->oppHand;
    return p;
}

// The mate by a pawn drop: the game programs allow it, GNU Shogi does not.
// The test's player sets the board up with its first move; the bot's only move
// is its edge pawn; then the pawn drop mates, and the bot resigns. Afterwards
// it leaves the game and can be challenged again.
TEST(BotTrouble, ShogiBotResignsToAPawnDropMateTheEngineRefuses) {
    ASSERT_FALSE(test::installedEngine(QStringLiteral("gnushogi")).isEmpty())
        << "gnushogi is not installed: run scripts/setup-deps";
    TestLobby lobby;
    ASSERT_TRUE(lobby.started());
    BotProcess bot(lobby.port(), lobby.botArguments("shogi", QStringLiteral("bot-shogi"), 1));
    WirePlayer taro(QStringLiteral("taro"), 0);
    startGameWithBot(taro, QStringLiteral("bot-shogi"));
    if (HasFatalFailure()) return;

    shogi::ShogiPosition mine;
    mine.Ban = shogi::test::boardFromDiagram({
        ".   .   .   .   .   .   .   .   Ou2",
        ".   .   .   .   .   .   Gi1 .   .",
        "Fu2 .   .   .   .   .   .   Ki1 .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   .   .   .   .   .",
        ".   .   .   .   Gy1 .   .   .   .",
    });
    mine.MyHand.find(shogi::Kind::Fu)->count = 1;
    const auto second = timedReply(taro, shogi::BuildMoveMsg(mine, 1));
    ASSERT_TRUE(second) << bot.log().toStdString();
    const shogi::ShogiPosition afterBot = shogiPositionOf(*second);
    const auto pawn = test::legalMoveBetween(test::turnedView(mine), test::turnedView(afterBot));
    ASSERT_TRUE(pawn) << "no move of the rules";
    EXPECT_EQ(engineMoveText(*pawn, false), u"9c9d");

    mine = afterBot;
    ASSERT_TRUE(applyOwnMove(mine, *parseEngineMove(u"P*1b", true)));
    const auto answer = timedReply(taro, shogi::BuildMoveMsg(mine, 3));
    EXPECT_EQ(answer, QStringLiteral("SYOUGI_MSG6:") + kResignation) << bot.log().toStdString();
    EXPECT_TRUE(bot.log().contains(u"the engine refuses the move (Illegal move"))
        << bot.log().toStdString();

    // The bot leaves the game, and the server ends the match: taro's game
    // connection goes too, and the bot is free for the next challenge.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !taro.gameLinked(); }, 5000));
    const auto free = taro.waitForUser(QStringLiteral("bot-shogi"), true, 10000);
    ASSERT_TRUE(free);
    EXPECT_TRUE(taro.challenge(*free));
}

// An immediate ko recapture: the game programs allow it, GNU Go does not. The
// test's player sets up a board where all is settled but a ko, the bot takes
// the ko, the player takes it back at once, and the bot goes on.
TEST(BotTrouble, GoBotGoesOnWhenTheOpponentRetakesAKoAtOnce) {
    ASSERT_FALSE(test::installedEngine(QStringLiteral("gnugo")).isEmpty())
        << "gnugo is not installed: run scripts/setup-deps";
    TestLobby lobby;
    ASSERT_TRUE(lobby.started());
    BotProcess bot(lobby.port(), lobby.botArguments("go", QStringLiteral("bot-go"), 1));
    WirePlayer hana(QStringLiteral("hana"), 1);
    startGameWithBot(hana, QStringLiteral("bot-go"));
    if (HasFatalFailure()) return;

    // White (the bot) on the left, black on the right, each with its eyes;
    // the ko is at the top of the border: white takes at (9, 1), black
    // takes back at (8, 1).
    const go::Ban settled = test::goBoard({
        "OOOOOOOOOXXXXXXXXXX", "O.OO.OOOX.X.XX.XX.X", "OOOOOOOOOXXXXXXXXXX", "OOOOOOOOOXXXXXXXXXX",
        "O.OO.OO.OOX.XX.XX.X", "OOOOOOOOOXXXXXXXXXX", "OOOOOOOOOOXXXXXXXXX", "O.OO.OO.OXX.XX.XX.X",
        "OOOOOOOOOOXXXXXXXXX", "OOOOOOOOOXXXXXXXXXX", "O.OO.OO.OOX.XX.XX.X", "OOOOOOOOOXXXXXXXXXX",
        "OOOOOOOOOOXXXXXXXXX", "O.OO.OO.OXX.XX.XX.X", "OOOOOOOOOOXXXXXXXXX", "OOOOOOOOOXXXXXXXXXX",
        "O.OO.OO.OOX.XX.XX.X", "OOOOOOOOOXXXXXXXXXX", "OOOOOOOOOOXXXXXXXXX",
    });
    const go::Point koStone{8, 1};
    const go::Point koTake{9, 1};
    const auto taken = timedReply(hana, go::BuildMoveMsg(settled, koStone, 1, 0));
    ASSERT_TRUE(taken) << bot.log().toStdString();
    const auto afterTake = go::readPosition(go::parseMoveMsg(*taken)->positionString);
    ASSERT_TRUE(afterTake);
    ASSERT_EQ(afterTake->lastMove, koTake) << test::drawing(afterTake->ban);
    ASSERT_EQ(afterTake->ban.at(koStone), go::Stone::Empty);

    go::Ban retaken = afterTake->ban;
    qint32 captured = 0;
    retaken.set(koStone, go::Stone::Black);
    go::CaptureSearch(retaken).CheckCapture(koStone, go::Stone::Black, captured);
    ASSERT_EQ(captured, 1);
    const auto goesOn = timedReply(hana, go::BuildMoveMsg(retaken, koStone, 3, captured));
    ASSERT_TRUE(goesOn) << bot.log().toStdString();
    const auto move = go::parseMoveMsg(*goesOn);
    ASSERT_TRUE(move) << goesOn->toStdString();
    EXPECT_EQ(move->moveNo, 4);
    const auto board = go::readPosition(move->positionString);
    ASSERT_TRUE(board);
    EXPECT_TRUE(deriveOpponentMove(retaken, *board, go::Stone::White)) << test::drawing(board->ban);
    EXPECT_TRUE(bot.log().contains(u"the engine refuses")) << bot.log().toStdString();
}

// One game's first and third move for the test's player, each built on the
// position of the bot's last reply.
struct Opening {
    const char* game;
    int kind;
    const char* botId;
    const char* engine;
    std::function<QString(int n, const QString& lastReply)> move;
    QString resignation;
};

QString shogiOpening(int n, const QString& lastReply) {
    shogi::ShogiPosition p = n == 1 ? shogi::ShogiPosition{} : shogiPositionOf(lastReply);
    const auto move = parseEngineMove(n == 1 ? u"7g7f" : u"2g2f", true);
    EXPECT_TRUE(move && applyOwnMove(p, *move));
    return shogi::BuildMoveMsg(p, n);
}

QString goOpening(int n, const QString& lastReply) {
    go::Ban board;
    if (n > 1) board = go::readPosition(go::parseMoveMsg(lastReply)->positionString)->ban;
    go::Point p{3, 3};
    for (const go::Point free : {go::Point{15, 15}, go::Point{3, 15}, go::Point{15, 3}}) {
        if (n == 1 || board.at(p) == go::Stone::Empty) break;
        p = free;
    }
    board.set(p, go::Stone::Black);
    return go::BuildMoveMsg(board, p, n, 0);
}

// The engine's process, started through a script that notes its number.
class WatchedEngine {
public:
    explicit WatchedEngine(const QString& engine) {
        QFile script(path());
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\necho $$ >> '%1'\nexec '%2' \"$@\"\n")
                         .arg(dir_.filePath(QStringLiteral("pids")), engine)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path() const { return dir_.filePath(QStringLiteral("engine.sh")); }

    // The engines started so far, oldest first.
    QStringList started() const {
        QFile pids(dir_.filePath(QStringLiteral("pids")));
        if (!pids.open(QIODevice::ReadOnly)) return {};
        return QString::fromLatin1(pids.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // Kills the newest one.
    void killNewest() const { ::kill(started().last().toInt(), SIGKILL); }

private:
    QTemporaryDir dir_;
};

TEST(BotTrouble, AKilledEngineIsStartedAgainOnceThenTheBotResignsSayingWhy) {
    const Opening openings[] = {
        {"shogi", 0, "bot-shogi", "gnushogi", shogiOpening,
         QStringLiteral("SYOUGI_MSG6:") + kResignation},
        {"go", 1, "bot-go", "gnugo", goOpening, QStringLiteral("SYOUGI_MSG5:") + kResignation},
    };
    for (const Opening& o : openings) {
        SCOPED_TRACE(o.game);
        const QString installed = test::installedEngine(QLatin1String(o.engine));
        ASSERT_FALSE(installed.isEmpty())
            << o.engine << " is not installed: run scripts/setup-deps";
        TestLobby lobby;
        ASSERT_TRUE(lobby.started());
        const WatchedEngine engine(installed);
        BotProcess bot(lobby.port(), lobby.botArguments(o.game, QLatin1String(o.botId), 1) +
                                         QStringList{QStringLiteral("--engine"), engine.path()});
        WirePlayer player(QStringLiteral("hana"), o.kind);
        startGameWithBot(player, QLatin1String(o.botId));
        if (HasFatalFailure()) return;
        const auto second = timedReply(player, o.move(1, {}));
        ASSERT_TRUE(second && second->startsWith(u"SYOUGI_MSG2:")) << bot.log().toStdString();
        ASSERT_EQ(engine.started().size(), 1);

        // Killed between moves, the engine is started again at once, and the
        // next move is answered from the whole position.
        engine.killNewest();
        ASSERT_TRUE(bot.waitForLog(QStringLiteral("the engine is started again"), 5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return engine.started().size() == 2; }, 5000));
        const auto fourth = timedReply(player, o.move(3, *second));
        ASSERT_TRUE(fourth && fourth->startsWith(u"SYOUGI_MSG2:")) << bot.log().toStdString();

        // Killed once more, the bot gives up the game and says why.
        engine.killNewest();
        EXPECT_EQ(player.nextGame(WirePlayer::said(), 5000),
                  u"SYOUGI_MSG4:思考エンジンが止まりました。投了します。");
        EXPECT_EQ(player.nextGame(WirePlayer::said(), 5000), o.resignation);
        EXPECT_EQ(engine.started().size(), 2);
    }
}

// Ended by SIGTERM in the middle of a game, as the lobby's start script ends
// it, the bot ends its engine and removes its temporary files.
TEST(BotTrouble, ASignalEndsTheBotWithItsEngineAndLeavesNoFiles) {
    const QString installed = test::installedEngine(QStringLiteral("gnugo"));
    ASSERT_FALSE(installed.isEmpty()) << "gnugo is not installed: run scripts/setup-deps";
    TestLobby lobby;
    ASSERT_TRUE(lobby.started());
    const WatchedEngine engine(installed);
    const QTemporaryDir temp;
    QProcessEnvironment env;
    env.insert(QStringLiteral("TMPDIR"), temp.path());
    BotProcess bot(lobby.port(),
                   lobby.botArguments("go", QStringLiteral("bot-go"), 1) +
                       QStringList{QStringLiteral("--engine"), engine.path()},
                   env);
    WirePlayer player(QStringLiteral("hana"), 1);
    startGameWithBot(player, QStringLiteral("bot-go"));
    if (HasFatalFailure()) return;
    const QDir folder(temp.path(), {}, QDir::NoSort, QDir::AllEntries | QDir::NoDotAndDotDot);
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.started().size() == 1; }, 5000));
    ASSERT_FALSE(folder.isEmpty()) << "the bot keeps the engine's positions in a folder";

    EXPECT_EQ(bot.stop(), 0) << bot.log().toStdString();
    EXPECT_TRUE(folder.isEmpty()) << folder.entryList().join(u' ').toStdString();
    EXPECT_NE(::kill(engine.started().first().toInt(), 0), 0) << "the engine still runs";
}

}  // namespace
}  // namespace bot
