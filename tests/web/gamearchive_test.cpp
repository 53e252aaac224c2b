#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <list>

#include "gamearchive.h"
#include "relayedgames.h"

namespace web::test {
namespace {

// The front's part: every event of a game is followed by the archive.
class RecordedGames {
public:
    explicit RecordedGames(GameArchive& archive) : archive_(archive) {}

    WatchedGame& begin(GameKind kind) {
        WatchedGame& game = games_.emplace_back(begunGame(kind, archive_.newGameId()));
        EXPECT_TRUE(archive_.record(game));
        return game;
    }
    // The shogi moves, each recorded, and the given end.
    WatchedGame& shogi(std::size_t moves, bool resign) {
        WatchedGame& game = begin(GameKind::Shogi);
        ShogiPlay play(game);
        for (std::size_t i = 0; i < moves; ++i) {
            play.play(kShogiMoves[i]);
            EXPECT_TRUE(archive_.record(game));
        }
        if (resign)
            game.relayed(kHana, u"SYOUGI_MSG6:投了です。あなたの勝ちです。有り難うございました。",
                         at(40));
        EXPECT_TRUE(archive_.record(game));
        return game;
    }

private:
    GameArchive& archive_;
    std::list<WatchedGame> games_;
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

void expectSameGame(const std::optional<GameRecord>& read, const WatchedGame& game) {
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->positions, game.positions());
    EXPECT_EQ(read->summary.black, game.summary().black);
    EXPECT_EQ(read->summary.sidesKnown, game.summary().sidesKnown);
    EXPECT_EQ(read->summary.moves, game.summary().moves);
    EXPECT_EQ(read->summary.started, game.summary().started);
}

TEST(GameArchive, AReopenedArchiveHoldsEveryGameAsItWasPlayed) {
    QTemporaryDir dir;
    GameArchive archive(dir.path());
    ASSERT_TRUE(archive.isWritable());
    RecordedGames games(archive);
    const WatchedGame& shogi = games.shogi(kShogiMoves.size(), true);
    WatchedGame& go = games.begin(GameKind::Go);
    GoPlay play(go);
    for (const auto& [colour, p] : kGoStones) {
        play.place(colour, p);
        ASSERT_TRUE(archive.record(go));
    }
    expectSameGame(archive.game(2), go);
    EXPECT_FALSE(archive.game(2)->summary.result.has_value());  // still going

    GameArchive reopened(dir.path());
    expectSameGame(reopened.game(1), shogi);
    EXPECT_EQ(reopened.game(1)->summary.result, shogi.summary().result);
    EXPECT_EQ(reopened.game(1)->summary.ended, at(40));
    // The server went without ending the go game.
    expectSameGame(reopened.game(2), go);
    EXPECT_EQ(reopened.game(2)->summary.result, (GameResult{EndHow::Ended, std::nullopt}));
    EXPECT_EQ(reopened.newGameId(), 3u);
    EXPECT_EQ(reopened.skippedFiles(), 0);
}

TEST(GameArchive, AServerKilledInTheMiddleOfALineKeepsEveryWholeMove) {
    QTemporaryDir dir;
    QTemporaryDir after;
    GameArchive archive(dir.path());
    RecordedGames games(archive);
    const WatchedGame& game = games.shogi(kShogiMoves.size(), false);
    // What the disk holds while the server runs, cut inside the last move.
    QByteArray bytes = fileBytes(QDir(dir.path()).filePath(QStringLiteral("1.game")));
    ASSERT_TRUE(bytes.endsWith('\n'));
    bytes.chop(30);
    writeFile(QDir(after.path()).filePath(QStringLiteral("1.game")), bytes);

    const auto read = GameArchive(after.path()).game(1);
    ASSERT_TRUE(read.has_value());
    const std::vector<Position> whole(game.positions().begin(), game.positions().end() - 1);
    EXPECT_EQ(read->positions, whole);
    EXPECT_EQ(read->summary.moves, 4);
    EXPECT_EQ(read->summary.result, (GameResult{EndHow::Ended, std::nullopt}));
}

TEST(GameArchive, FilesItCannotReadArePassedOverAndTheirIdsNeverGivenAgain) {
    QTemporaryDir source;
    {
        GameArchive archive(source.path());
        RecordedGames(archive).shogi(3, true);
    }
    const QByteArray good = fileBytes(QDir(source.path()).filePath(QStringLiteral("1.game")));
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const auto path = [&](const char* name) { return folder.filePath(QString::fromLatin1(name)); };
    writeFile(path("3.game"), QByteArray(good).replace("B\t1\t", "B\t3\t"));
    writeFile(path("4.game"), QByteArray::fromHex("00fffe") + " garbage\n\n");
    writeFile(path("5.game"), good);  // a game of another ID
    writeFile(path("x.game"), good);
    writeFile(path("007.game"), good);
    writeFile(path("notes.txt"), good);
    QFile large(path("6.game"));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(GameArchive::kMaxFileBytes + 1));
    ASSERT_EQ(::mkfifo(path("7.game").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path("3.game"), path("8.game")));
    // Damaged after its second move: the moves before stay.
    QList<QByteArray> lines = QByteArray(good).replace("B\t1\t", "B\t9\t").split('\n');
    lines[5] = "M\tblack\t11,12\t0\t-";
    writeFile(path("9.game"), lines.join('\n'));

    GameArchive archive(dir.path());
    const GameArchive::Page page = archive.list(std::nullopt, 100);
    ASSERT_EQ(page.games.size(), 2u);
    EXPECT_EQ(page.games[0].id, 9u);
    EXPECT_EQ(page.games[0].moves, 2);
    EXPECT_EQ(page.games[1].id, 3u);
    EXPECT_EQ(page.games[1].moves, 3);
    EXPECT_EQ(archive.skippedFiles(), 7);
    EXPECT_FALSE(archive.game(8).has_value());
    EXPECT_EQ(archive.newGameId(), 10u);
}

TEST(GameArchive, ListsTheNewestFirstPageByPage) {
    QTemporaryDir dir;
    GameArchive archive(dir.path());
    RecordedGames games(archive);
    for (int i = 0; i < 5; ++i)
        games.shogi(1, i % 2 == 0);
    const auto ids = [](const GameArchive::Page& page) {
        std::vector<quint64> ids;
        for (const GameSummary& g : page.games)
            ids.push_back(g.id);
        return ids;
    };
    const struct {
        std::optional<quint64> before;
        int limit;
        std::vector<quint64> ids;
        std::optional<quint64> next;
    } pages[] = {{std::nullopt, 2, {5, 4}, 4},
                 {4, 2, {3, 2}, 2},
                 {2, 2, {1}, std::nullopt},
                 {std::nullopt, 0, {5}, 5},
                 {99, 500, {5, 4, 3, 2, 1}, std::nullopt}};
    for (const auto& p : pages) {
        const GameArchive::Page page = archive.list(p.before, p.limit);
        EXPECT_EQ(ids(page), p.ids);
        EXPECT_EQ(page.next, p.next);
    }
    // Game 4 is still going.
    EXPECT_FALSE(archive.list(std::nullopt, 5).games[1].result.has_value());
}

}  // namespace
}  // namespace web::test
