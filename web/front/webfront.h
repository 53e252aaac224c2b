#pragma once

#include <QObject>
#include <QString>
#include <QThread>
#include <memory>

#include "lobbynews.h"

#include "webservice.h"

namespace lobby {
class LobbyServer;
}

namespace webfront {

// The public face of a lobby on the web, beside the lobby server in the same
// process: the lobby page, the watch and replay pages, the archive of every
// game, the JSON API and the event streams. It runs in a thread of its own
// and hears of the lobby only through the server's signals, whose values
// are handed to it in batches (LobbyNews), so no browser, however slow, can
// hold back a move between the players.
class WebFront : public QObject {
    Q_OBJECT
public:
    WebFront(lobby::LobbyServer& server, WebSettings settings, QObject* parent = nullptr);
    ~WebFront() override;

    // Starts the thread, opens the archive and listens; an empty text, or
    // what went wrong (the front is then stopped).
    QString start();
    // The port it serves on, once started.
    quint16 port() const { return port_; }

private:
    void stop();

    lobby::LobbyServer& server_;
    QThread thread_;
    WebService* service_;              // lives in `thread_`; deleted there at the end
    std::unique_ptr<LobbyNews> news_;  // on the server's thread, once started
    quint16 port_ = 0;
};

// Where a server whose files are in `dataFolder` keeps its archive by
// default, and where the pages are for programs whose images are in
// `assetsFolder`.
QString defaultArchiveFolder(const QString& dataFolder);
QString siteFolder(const QString& assetsFolder);

}  // namespace webfront
