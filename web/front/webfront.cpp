#include "webfront.h"

#include <QDir>
#include <QMetaObject>

#include "lobbyserver.h"

namespace webfront {

WebFront::WebFront(lobby::LobbyServer& server, WebSettings settings, QObject* parent)
    : QObject(parent), server_(server), service_(new WebService(std::move(settings))) {
    qRegisterMetaType<lobby::PublicLobby>();
    qRegisterMetaType<lobby::GameEndCause>();
    thread_.setObjectName(QStringLiteral("web front"));
    service_->moveToThread(&thread_);
}

WebFront::~WebFront() {
    stop();
    delete service_;
}

QString WebFront::start() {
    // The players' moves come first: the front runs only when the server's
    // own thread leaves the processor to it (a watcher that falls too far
    // behind is dropped, and comes back for what it missed).
    thread_.start(QThread::IdlePriority);
    QString error;
    QMetaObject::invokeMethod(
        service_,
        [this, &error] {
            error = service_->open();
            port_ = service_->port();
        },
        Qt::BlockingQueuedConnection);
    if (!error.isEmpty()) {
        stop();
        return error;
    }
    // What happened before is told first: who is on now.
    const lobby::PublicLobby now = server_.publicLobby();
    QMetaObject::invokeMethod(service_, [s = service_, now] { s->lobbyChanged(now); });
    connect(&server_, &lobby::LobbyServer::lobbyChanged, service_, &WebService::lobbyChanged);
    connect(&server_, &lobby::LobbyServer::gameBegan, service_, &WebService::gameBegan);
    connect(&server_, &lobby::LobbyServer::gameRelayed, service_, &WebService::gameRelayed);
    connect(&server_, &lobby::LobbyServer::gameEnded, service_, &WebService::gameEnded);
    return {};
}

void WebFront::stop() {
    if (!thread_.isRunning()) return;
    disconnect(&server_, nullptr, service_, nullptr);
    // What the server handed out before is still queued; it is taken, then
    // the games still running are closed and the sockets with them, in the
    // service's own thread.
    QThread* const here = QThread::currentThread();
    QMetaObject::invokeMethod(
        service_,
        [s = service_, here] {
            s->close();
            s->moveToThread(here);
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

QString defaultArchiveFolder(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("archive"));
}

QString siteFolder(const QString& assetsFolder) {
    return QDir(assetsFolder).filePath(QStringLiteral("web"));
}

}  // namespace webfront
