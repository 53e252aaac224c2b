#include "webfront.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QMetaObject>

#include "epolldispatcher.h"
#include "lobbynews.h"
#include "lobbyserver.h"

namespace webfront {

// The shortest time between two hand-overs of the server's news to the
// front's thread: a move that follows another closer than this reaches the
// watchers at most this much later, and a game played as fast as the network
// allows wakes the front forty times a second, not once per move.
constexpr std::chrono::milliseconds kNewsInterval{25};
// The nice value of the front's thread (the server's stays at the process's).
constexpr int kFrontNice = 10;

WebFront::WebFront(lobby::LobbyServer& server, WebSettings settings, QObject* parent)
    : QObject(parent), server_(server), service_(new WebService(std::move(settings))) {
    qRegisterMetaType<lobby::PublicLobby>();
    qRegisterMetaType<lobby::GameEndCause>();
    thread_.setObjectName(QStringLiteral("web front"));
    // Thousands of watchers' connections: a pass of the loop must not cost
    // one look at each.
    thread_.setEventDispatcher(new platform::EpollDispatcher);
    service_->moveToThread(&thread_);
}

WebFront::~WebFront() {
    stop();
    delete service_;
}

QString WebFront::start() {
    thread_.start();
    QString error;
    QMetaObject::invokeMethod(
        service_,
        [this, &error] {
            // The players' moves come first: the front's thread yields the
            // processor to the server's (a watcher that falls too far behind
            // is dropped, and comes back for what it missed). Not the idle
            // class, which any other busy program on the machine would starve.
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kFrontNice);
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
    news_ = std::make_unique<LobbyNews>(server_, *service_, kNewsInterval);
    return {};
}

void WebFront::stop() {
    if (!thread_.isRunning()) return;
    if (news_) {
        news_->stop();
        news_->flush();
    }
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
