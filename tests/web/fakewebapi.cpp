#include "fakewebapi.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>

namespace testsupport {

namespace {

constexpr int kMostRequestBytes = 16 * 1024;

QByteArray contentType(const QString& name) {
    if (name.endsWith(QLatin1String(".html"))) return "text/html; charset=utf-8";
    if (name.endsWith(QLatin1String(".css"))) return "text/css; charset=utf-8";
    if (name.endsWith(QLatin1String(".js"))) return "text/javascript; charset=utf-8";
    if (name.endsWith(QLatin1String(".png"))) return "image/png";
    if (name.endsWith(QLatin1String(".svg"))) return "image/svg+xml";
    return "application/octet-stream";
}

QByteArray statusLine(int status) {
    switch (status) {
        case 200:
            return "HTTP/1.1 200 OK";
        case 404:
            return "HTTP/1.1 404 Not Found";
        default:
            return "HTTP/1.1 " + QByteArray::number(status) + " Error";
    }
}

}  // namespace

FakeWebApi::FakeWebApi(const QString& siteDir) : siteDir_(siteDir) {
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [this, socket] { take(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    server_.listen(QHostAddress::LocalHost, 0);
}

FakeWebApi::~FakeWebApi() {
    for (auto& list : streams_)
        for (const auto& socket : list)
            if (socket) socket->abort();
}

QString FakeWebApi::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void FakeWebApi::setJson(const QString& target, const QByteArray& json, int status) {
    json_.insert(target, Reply{status, "application/json", json});
}

int FakeWebApi::openStreams(quint64 game) const {
    int n = 0;
    for (const auto& socket : streams_.value(game))
        if (socket && socket->state() == QAbstractSocket::ConnectedState) ++n;
    return n;
}

void FakeWebApi::sendEvent(quint64 game, const QByteArray& event) {
    for (const auto& socket : streams_.value(game)) {
        if (!socket) continue;
        socket->write(event);
        socket->flush();
    }
}

void FakeWebApi::closeStreams(quint64 game) {
    for (const auto& socket : streams_.take(game))
        if (socket) socket->disconnectFromHost();
}

void FakeWebApi::take(QTcpSocket* socket) {
    // One request per connection: its line and headers, nothing after them.
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    if (!socket->peek(kMostRequestBytes).contains("\r\n\r\n")) {
        if (socket->bytesAvailable() >= kMostRequestBytes) socket->abort();
        return;
    }
    const QByteArray head = socket->readAll();
    socket->setProperty("answered", true);
    const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
    if (words.size() != 3 || words[0] != "GET") {
        socket->write(
            "HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    const QString target = QString::fromLatin1(words[1]);
    requests_.append(target);

    static const QRegularExpression stream(
        QStringLiteral(R"(^/api/games/(\d+)/stream(?:\?(.*))?$)"));
    if (const auto m = stream.match(target); m.hasMatch()) {
        const quint64 game = m.captured(1).toULongLong();
        streams_[game].append(socket);
        streamQueries_[game].append(m.captured(2));
        socket->write(
            "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"
            "Cache-Control: no-cache\r\nConnection: close\r\n\r\n");
        socket->flush();
        return;
    }
    const Reply reply = answer(target);
    socket->write(statusLine(reply.status) + "\r\nContent-Type: " + reply.type +
                  "\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                  "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + reply.body);
    socket->disconnectFromHost();
}

FakeWebApi::Reply FakeWebApi::answer(const QString& target) {
    if (json_.contains(target)) return json_.value(target);
    const QString path = target.section(QLatin1Char('?'), 0, 0);
    if (json_.contains(path)) return json_.value(path);
    static const QRegularExpression gamePage(QStringLiteral(R"(^/games/\d+/?$)"));
    if (path == QLatin1String("/")) return siteFile(QStringLiteral("index.html"));
    if (path == QLatin1String("/games")) return siteFile(QStringLiteral("games.html"));
    if (gamePage.match(path).hasMatch()) return siteFile(QStringLiteral("game.html"));
    if (path.startsWith(QLatin1String("/web/"))) return siteFile(path.mid(5));
    if (path.startsWith(QLatin1String("/api/")))
        return Reply{404, "application/json", R"({"error": "not found"})"};
    return Reply{404, "text/plain", "not found"};
}

FakeWebApi::Reply FakeWebApi::siteFile(const QString& name) const {
    static const QRegularExpression plainName(QStringLiteral(R"(^[A-Za-z0-9_-]+\.[a-z]+$)"));
    QFile file(QDir(siteDir_).filePath(name));
    if (!plainName.match(name).hasMatch() || !file.open(QIODevice::ReadOnly))
        return Reply{404, "text/plain", "not found"};
    return Reply{200, contentType(name), file.readAll()};
}

}  // namespace testsupport
