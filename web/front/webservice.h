#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "gamearchive.h"
#include "httphandler.h"
#include "httpserver.h"
#include "publiclobby.h"
#include "staticfiles.h"
#include "watchedgame.h"

namespace webfront {

// Where the web front serves and keeps its files.
struct WebSettings {
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;       // 0: any free port
    QString archiveFolder;  // every game, one file each
    QString siteFolder;     // the pages, scripts and style sheets
    QHostAddress proxy;     // a trusted reverse proxy in front, or null
};

// The web front's work, in the thread that runs it: it follows the lobby
// and its games from what the server hands out, keeps every game in the
// archive as it goes, and answers the pages, the API and the event streams.
// Nothing it answers changes the lobby: it has no way to.
class WebService : public QObject, private web::HttpHandler {
    Q_OBJECT
public:
    explicit WebService(WebSettings settings, QObject* parent = nullptr);
    ~WebService() override;

    // Opens the archive and listens; an empty text, or what went wrong. Call
    // it in the thread that is to run the service.
    QString open();
    // Ends the games still running as the server's and stops serving. Call
    // it in the service's thread before the thread ends.
    void close();
    quint16 port() const;

    // What the lobby server hands out.
    void lobbyChanged(const lobby::PublicLobby& lobby);
    void gameBegan(quint64 number, int gameKind, const QString& challenger,
                   const QString& challenged);
    void gameRelayed(quint64 number, QStringView fromId, QStringView text);
    void gameEnded(quint64 number, lobby::GameEndCause cause);

    // Between these two, what the calls above send to the event streams and
    // write to the archive is held, then sent and written at once: each
    // watcher gets one write for all the moves of a batch.
    void holdEvents();
    void releaseEvents();

    // The answer to a request (also for tests that skip the sockets).
    web::HttpResponse answer(const web::HttpRequest& request) override;

private:
    struct Live {
        web::WatchedGame game;
        int lobbyWatchers = 0;
        QByteArray streamKey;  // the key of its event streams
    };

    // Writes what changed of `live` to the archive and tells its watchers;
    // forgets a game that is over.
    void publish(quint64 id, Live& live, const web::WatchedGame::Change& change);
    // To the streams of game `id`, or held for them.
    void sendEvent(quint64 id, const QByteArray& text);
    void endStreams(quint64 id);
    // A new game of the pairing the server numbered `number`.
    void beginGame(quint64 number);
    web::GameSummary summaryOf(quint64 id, const Live& live) const;
    std::optional<web::GameRecord> gameRecord(quint64 id) const;

    web::HttpResponse lobbyAnswer() const;
    web::HttpResponse listAnswer(const web::HttpRequest& request) const;
    web::HttpResponse gameAnswer(QStringView rest, const web::HttpRequest& request) const;
    web::HttpResponse streamAnswer(quint64 id, const web::HttpRequest& request) const;
    web::HttpResponse recordAnswer(quint64 id, QStringView extension) const;

    WebSettings settings_;
    web::StaticFiles site_;
    std::unique_ptr<web::GameArchive> archive_;
    std::unique_ptr<web::HttpServer> server_;
    // The two players the server paired, by its game number: each game they
    // play while paired is a game of its own.
    struct Pairing {
        web::GameKind kind;
        QString challenger;
        QString challenged;
    };
    std::map<quint64, Pairing> pairings_;
    std::map<quint64, quint64> idOfNumber_;  // the server's game number -> the running game's ID
    std::map<quint64, Live> live_;           // by archive ID
    lobby::PublicLobby lobby_;
    bool holding_ = false;
    std::map<quint64, QByteArray> heldEvents_;  // by archive ID
    std::vector<quint64> heldEnds_;             // games whose streams end after their events
    std::set<quint64> unsaved_;                 // running games with moves not yet archived
};

}  // namespace webfront
