#include <gtest/gtest.h>

#include <signal.h>

#include <QFile>
#include <QJsonArray>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <string_view>
#include <utility>

#include "botprocess.h"
#include "brellowprocess.h"
#include "gtpclient.h"
#include "serverport.h"
#include "tsshogireader.h"
#include "webclient.h"

// The web front of a real `Brellow --headless --web 0` while computer
// opponents play a shogi and a go game through it: the lobby, the games, the
// event streams, the records, and the archive after the server is killed.

namespace {

using webtest::EventStream;
using webtest::get;

const QStringList kUsers = {"1,shogi-a,pw1,shogi-a@example.jp,",
                            "2,shogi-b,pw2,shogi-b@example.jp,", "3,go-a,pw3,go-a@example.jp,",
                            "4,go-b,pw4,go-b@example.jp,"};

// A server with its web front on an archive folder that outlives it.
struct WebLobby {
    explicit WebLobby(const QString& archive) : server(kUsers) {
        started = server.start({"--web", "0", "--archive", archive}) &&
                  server.waitForLine(QStringLiteral(" Web "));
        webPort = net::announcedPort(server.output(), net::kWebPlace);
    }
    testsupport::BrellowProcess server;
    bool started = false;
    quint16 webPort = 0;
};

std::unique_ptr<bot::test::BotProcess> bot(quint16 port, const char* game, int user,
                                           const char* challenge = nullptr) {
    const QString id = kUsers[user - 1].section(u',', 1, 1);
    QStringList arguments = {"--game",     game,
                             "--id",       id,
                             "--password", QStringLiteral("pw%1").arg(user),
                             "--mail",     id + "@example.jp",
                             "--seconds",  "1"};
    if (challenge) arguments << "--challenge" << challenge;
    return std::make_unique<bot::test::BotProcess>(port, arguments);
}

// The pieces on a shogi board and in both hands: always the 40 of the start.
int shogiPieces(const QJsonObject& position) {
    int n = 0;
    for (const QJsonValue square : position["board"].toArray())
        if (!square.toString().isEmpty()) ++n;
    for (const char* side : {"black", "white"})
        for (const QJsonValue count : position["hands"][side].toObject())
            n += count.toInt();
    return n;
}

// A shogi position of the API in SFEN without the move count, as the KIF and
// CSA reader gives it.
QString sfenOf(const QJsonObject& position) {
    static const std::map<QString, QString> letters = {
        {"FU", "p"},  {"KY", "l"},  {"KE", "n"},  {"GI", "s"},  {"KI", "g"},
        {"KA", "b"},  {"HI", "r"},  {"OU", "k"},  {"TO", "+p"}, {"NY", "+l"},
        {"NK", "+n"}, {"NG", "+s"}, {"UM", "+b"}, {"RY", "+r"}};
    const QJsonArray board = position["board"].toArray();
    QString sfen;
    for (int row = 0; row < 9; ++row) {
        int blanks = 0;
        for (int column = 0; column < 9; ++column) {
            const QString square = board[row * 9 + column].toString();
            const auto letter = letters.find(square.mid(1));
            if (square.isEmpty() || letter == letters.end()) {
                ++blanks;
                continue;
            }
            if (blanks) sfen += QString::number(std::exchange(blanks, 0));
            sfen += square.startsWith(u'b') ? letter->second.toUpper() : letter->second;
        }
        if (blanks) sfen += QString::number(blanks);
        if (row < 8) sfen += u'/';
    }
    sfen +=
        position["turn"] == QStringLiteral("black") ? QStringLiteral(" b ") : QStringLiteral(" w ");
    QString hands;
    for (const char* side : {"black", "white"})
        for (const char* kind : {"HI", "KA", "KI", "GI", "KE", "KY", "FU"}) {
            const int n = position["hands"][side][kind].toInt();
            if (n > 1) hands += QString::number(n);
            if (n > 0)
                hands += std::string_view(side) == "black" ? letters.at(kind).toUpper()
                                                           : letters.at(kind);
        }
    return sfen + (hands.isEmpty() ? QStringLiteral("-") : hands);
}

// The stones of a go position of the API as GNU Go names their points
// ("D16"), black's and white's, each sorted.
std::pair<QStringList, QStringList> stonesOf(const QJsonObject& position) {
    const QJsonArray board = position["board"].toArray();
    const QString columns = QStringLiteral("ABCDEFGHJKLMNOPQRST");
    QStringList black;
    QStringList white;
    for (int i = 0; i < board.size() && i < 361; ++i) {
        const QString point = columns[i % 19] + QString::number(19 - i / 19);
        if (board[i] == QStringLiteral("b")) black << point;
        if (board[i] == QStringLiteral("w")) white << point;
    }
    black.sort();
    white.sort();
    return {black, white};
}

QStringList sortedWords(const QString& text) {
    QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    words.sort();
    return words;
}

// Every move of the stream in order from move 1, each position whole;
// returns the positions read.
QList<QJsonObject> followMoves(EventStream& stream, const QString& game, int count) {
    QList<QJsonObject> positions;
    for (int n = 1; n <= count; ++n) {
        const auto event = stream.next(15000);
        if (!event) {
            ADD_FAILURE() << game.toStdString() << ": no move " << n;
            break;
        }
        EXPECT_EQ(event->name, "move");
        EXPECT_EQ(event->id, n);
        QJsonObject p = event->data;
        EXPECT_EQ(p["n"].toInt(), n);
        // The first move, which decided who is black, names the players.
        EXPECT_EQ(p["black"].isString() && p["white"].isString(), n == 1) << "move " << n;
        p.remove(u"black");
        p.remove(u"white");
        EXPECT_EQ(p["turn"].toString(), n % 2 == 1 ? u"white" : u"black");
        if (game == u"shogi") {
            EXPECT_EQ(p["board"].toArray().size(), 81);
            EXPECT_EQ(shogiPieces(p), 40) << "move " << n;
        } else {
            EXPECT_EQ(p["board"].toArray().size(), 361);
        }
        EXPECT_TRUE(p["last"].isObject()) << "move " << n << " marks no last move";
        positions << p;
    }
    return positions;
}

TEST(WebFront, FollowsTheLobbyAndItsGamesAndKeepsThemWhenTheServerIsKilled) {
    const QTemporaryDir archive;
    auto lobby = std::make_unique<WebLobby>(archive.path());
    ASSERT_TRUE(lobby->started) << lobby->server.output().toStdString();
    ASSERT_NE(lobby->webPort, 0);
    const quint16 web = lobby->webPort;

    // The pages are there before anyone is.
    for (const char* page : {"/", "/games", "/web/quor.css"})
        EXPECT_EQ(get(web, page).status, 200) << page;
    EXPECT_EQ(get(web, "/api/lobby").json(),
              (QJsonObject{{"users", QJsonArray{}}, {"games", QJsonArray{}}}));

    const auto shogiB = bot(lobby->server.port, "shogi", 2);
    const auto goB = bot(lobby->server.port, "go", 4);
    const auto shogiA = bot(lobby->server.port, "shogi", 1, "shogi-b");
    const auto goA = bot(lobby->server.port, "go", 3, "go-b");

    // Both games show in the lobby, all four players playing.
    QJsonObject seen;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            seen = get(web, "/api/lobby").json();
            return seen["games"].toArray().size() == 2;
        },
        30000))
        << QJsonDocument(seen).toJson().toStdString();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            seen = get(web, "/api/lobby").json();
            for (const QJsonValue u : seen["users"].toArray())
                if (u["state"] != QStringLiteral("playing")) return false;
            return seen["users"].toArray().size() == 4;
        },
        10000))
        << QJsonDocument(seen).toJson().toStdString();

    // Every move of each game, in order, from its stream; the game's page and
    // its JSON hold the same positions.
    std::map<QString, std::pair<qint64, QList<QJsonObject>>> games;
    for (const QJsonValue g : seen["games"].toArray()) {
        const qint64 id = g["id"].toInteger();
        const QString kind = g["game"].toString();
        EventStream stream(web, "/api/games/" + QByteArray::number(id) + "/stream?after=0");
        games[kind] = {id, followMoves(stream, kind, 6)};
        EXPECT_EQ(get(web, "/games/" + QByteArray::number(id)).status, 200);
        const QJsonArray positions =
            get(web, "/api/games/" + QByteArray::number(id)).json()["positions"].toArray();
        ASSERT_GE(positions.size(), 7);
        for (int n = 1; n <= 6; ++n)
            EXPECT_EQ(positions[n].toObject(), games[kind].second[n - 1])
                << kind.toStdString() << " " << n;
    }
    ASSERT_EQ(games.size(), 2u);

    // Nothing private is on any of it.
    for (const QByteArray& target : {QByteArray("/api/lobby"), QByteArray("/api/games"),
                                     "/api/games/" + QByteArray::number(games["shogi"].first)}) {
        const QByteArray body = get(web, target).body;
        for (const char* secret : {"pw1", "pw3", "example.jp", "127.0.0.1"})
            EXPECT_FALSE(body.contains(secret)) << target.toStdString() << " shows " << secret;
    }
    // Nothing but GET and HEAD, and nothing outside the site and the archive.
    EXPECT_EQ(get(web, "/api/lobby", "POST").status, 405);
    for (const char* outside : {"/web/../BrellowLogIn.txt", "/web/%2e%2e/BrellowLogIn.txt",
                                "/web/..%2fBrellowLogIn.txt", "/BrellowLogIn.txt"})
        EXPECT_EQ(get(web, outside).status, 404) << outside;

    // Killed without warning, the server leaves every move it relayed in the
    // archive; a new server on the same folder shows both games.
    std::map<QString, int> relayed;
    for (const auto& [kind, game] : games)
        relayed[kind] =
            get(web, "/api/games/" + QByteArray::number(game.first)).json()["moves"].toInt();
    lobby->server.stop(SIGKILL);
    lobby = std::make_unique<WebLobby>(archive.path());
    ASSERT_TRUE(lobby->started) << lobby->server.output().toStdString();
    const QJsonObject list = get(lobby->webPort, "/api/games").json();
    ASSERT_EQ(list["games"].toArray().size(), 2) << QJsonDocument(list).toJson().toStdString();
    for (const auto& [kind, game] : games) {
        const QByteArray path = "/api/games/" + QByteArray::number(game.first);
        const QJsonObject kept = get(lobby->webPort, path).json();
        EXPECT_GE(kept["moves"].toInt(), relayed[kind]) << kind.toStdString();
        EXPECT_TRUE(kept["result"].isObject()) << "an interrupted game is over";
        const QJsonArray positions = kept["positions"].toArray();
        for (int n = 1; n <= 6 && n < positions.size(); ++n)
            EXPECT_EQ(positions[n].toObject(), game.second[n - 1])
                << kind.toStdString() << " " << n;
        // Its records, as files, read back by readers nobody here wrote to
        // the positions the game had: KIF and CSA by tsshogi, SGF by GNU Go.
        const QTemporaryDir downloads;
        QStringList files;
        for (const char* ext : kind == u"shogi"
                                   ? std::initializer_list<const char*>{".kif", ".csa", ".sho"}
                                   : std::initializer_list<const char*>{".sgf", ".chs"}) {
            const auto file = get(lobby->webPort, path + ext);
            EXPECT_EQ(file.status, 200) << ext;
            EXPECT_TRUE(file.hasHeader("attachment")) << ext;
            EXPECT_FALSE(file.body.isEmpty()) << ext;
            QFile saved(downloads.filePath(QStringLiteral("game") + ext));
            ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
            saved.write(file.body);
            files << saved.fileName();
        }
        if (kind == u"shogi") {
            const QString node = records::test::nodeProgram();
            if (const QString why = records::test::whyNoTsshogi(node); !why.isEmpty()) {
                std::printf("KIF and CSA not read back: %s\n", why.toUtf8().constData());
                continue;
            }
            std::vector<QString> expected;
            for (const QJsonValue p : positions)
                expected.push_back(sfenOf(p.toObject()));
            records::test::Positions theirs;
            records::test::readWithTsshogi(node, files.mid(0, 2), theirs);
            ASSERT_FALSE(HasFatalFailure());
            for (const QString& file : files.mid(0, 2))
                EXPECT_EQ(theirs[file], expected) << file.toStdString();
        } else {
            go::test::GtpClient gnugo;
            ASSERT_TRUE(gnugo.start(
                QStandardPaths::findExecutable(QStringLiteral("gnugo"), {"/usr/games", "/usr/bin"}),
                {"--mode", "gtp"}))
                << gnugo.error().toStdString();
            const auto answers =
                gnugo.ask({"loadsgf " + files[0], "list_stones black", "list_stones white"});
            ASSERT_TRUE(answers) << gnugo.error().toStdString();
            const auto [black, white] = stonesOf(positions.last().toObject());
            EXPECT_EQ(sortedWords((*answers)[1]), black);
            EXPECT_EQ(sortedWords((*answers)[2]), white);
        }
    }
}

}  // namespace
