#pragma once

#include <sys/socket.h>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <vector>

namespace testsupport {

// A relay on 127.0.0.1 (port 0, read back) between the programs of a test and
// the server, which cuts one connection as networks cut them: closed at both
// ends, reset at both ends, or gone silent (nothing passes any more, and both
// ends stay open). A connection is picked by what its client sent first: a
// login names its user. It keeps what passed each way.
class CuttingProxy {
public:
    enum class Cut { Close, Reset, Silence };

    explicit CuttingProxy(quint16 serverPort) : serverPort_(serverPort) {
        listener_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&listener_, &QTcpServer::newConnection, [this] { accept(); });
    }
    ~CuttingProxy() {
        // The links go first (their sockets may be the listener's children),
        // and quietly: a socket that goes says so to the other's handler.
        for (const auto& link : links_) {
            QObject::disconnect(link->client.get(), nullptr, nullptr, nullptr);
            QObject::disconnect(link->server.get(), nullptr, nullptr, nullptr);
        }
        links_.clear();
    }
    CuttingProxy(const CuttingProxy&) = delete;
    CuttingProxy& operator=(const CuttingProxy&) = delete;

    quint16 port() const { return listener_.serverPort(); }

    // Cuts the open connection whose client's first bytes hold `text` (in
    // the programs' UTF-16LE); false when there is none.
    bool cut(const QString& text, Cut how) {
        const QByteArray wanted(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        for (const auto& link : links_) {
            if (link->cut || !link->head.contains(wanted)) continue;
            link->cut = true;
            if (how == Cut::Silence) return true;
            for (QTcpSocket* s : {link->client.get(), link->server.get()}) {
                if (how == Cut::Reset) {
                    const linger now{1, 0};
                    ::setsockopt(static_cast<int>(s->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                                 &now, sizeof now);
                    s->abort();
                } else {
                    s->disconnectFromHost();
                }
            }
            return true;
        }
        return false;
    }

    // What passed on the connection whose client's first bytes hold `text`:
    // from the client, and to it.
    struct Traffic {
        QByteArray sent;
        QByteArray received;
    };
    Traffic traffic(const QString& text) const {
        const QByteArray wanted(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        for (const auto& link : links_)
            if (link->head.contains(wanted)) return {link->sent, link->received};
        return {};
    }

private:
    struct Link {
        std::unique_ptr<QTcpSocket> client;
        std::unique_ptr<QTcpSocket> server;
        QByteArray head;  // the client's first bytes
        QByteArray sent, received;
        bool cut = false;
    };

    void accept() {
        while (QTcpSocket* client = listener_.nextPendingConnection()) {
            auto link = std::make_unique<Link>();
            Link* l = link.get();
            l->client.reset(client);
            l->server = std::make_unique<QTcpSocket>();
            l->server->connectToHost(QHostAddress::LocalHost, serverPort_);
            QObject::connect(client, &QTcpSocket::readyRead, [l] {
                const QByteArray bytes = l->client->readAll();
                if (l->head.size() < 512) l->head += bytes;
                if (l->cut) return;
                l->sent += bytes;
                l->server->write(bytes);
            });
            QObject::connect(l->server.get(), &QTcpSocket::readyRead, [l] {
                const QByteArray bytes = l->server->readAll();
                if (l->cut) return;
                l->received += bytes;
                l->client->write(bytes);
            });
            // One end closing closes the other, unless the line is dead.
            QObject::connect(client, &QTcpSocket::disconnected, [l] {
                if (!l->cut) l->server->disconnectFromHost();
            });
            QObject::connect(l->server.get(), &QTcpSocket::disconnected, [l] {
                if (!l->cut) l->client->disconnectFromHost();
            });
            links_.push_back(std::move(link));
        }
    }

    quint16 serverPort_;
    QTcpServer listener_;
    std::vector<std::unique_ptr<Link>> links_;
};

}  // namespace testsupport
