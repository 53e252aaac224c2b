#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace testsupport {

// The web front as the pages see it, for their tests: on 127.0.0.1 at a
// port the system picks, it serves the site's files (/, /games, /games/ID
// and /web/NAME), the JSON a test put in for an address of the API, and the
// event streams of games (/api/games/ID/stream), into which the test pushes
// events. Every request is answered and closed, except a stream, which stays
// open until the test ends it.
class FakeWebApi {
public:
    explicit FakeWebApi(const QString& siteDir);
    ~FakeWebApi();
    FakeWebApi(const FakeWebApi&) = delete;
    FakeWebApi& operator=(const FakeWebApi&) = delete;

    bool listening() const { return server_.isListening(); }
    QString url(const QString& path) const;

    // The reply to a GET of `target`: a path, or a path with its query
    // ("/api/games?limit=20"), which is looked for first.
    void setJson(const QString& target, const QByteArray& json, int status = 200);

    // The streams of `game` the pages hold open, and the query each was
    // opened with ("after=3").
    int openStreams(quint64 game) const;
    QStringList streamQueries(quint64 game) const { return streamQueries_.value(game); }
    // Sends an event as the server writes it ("event: move\ndata: {...}\n\n")
    // to every open stream of `game`.
    void sendEvent(quint64 game, const QByteArray& event);
    // Ends every stream of `game`, as the server does after the end event.
    void closeStreams(quint64 game);

    // Every request target asked for, in order.
    QStringList requests() const { return requests_; }

private:
    struct Reply {
        int status;
        QByteArray type;
        QByteArray body;
    };
    void take(QTcpSocket* socket);
    Reply answer(const QString& target);
    Reply siteFile(const QString& name) const;

    QString siteDir_;
    QTcpServer server_;
    QMap<QString, Reply> json_;
    QMap<quint64, QList<QPointer<QTcpSocket>>> streams_;
    QMap<quint64, QStringList> streamQueries_;
    QStringList requests_;
};

}  // namespace testsupport
