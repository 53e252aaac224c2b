#include "localaddress.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <QHostAddress>
#include <QNetworkInterface>

namespace net {

namespace {

// From a host-order address (a.b.c.d as a·2^24 + ...) to the value whose bytes,
// low first, are a, b, c, d.
quint32 wireValue(quint32 hostOrder) {
    return ((hostOrder >> 24) & 0xFF) | ((hostOrder >> 8) & 0xFF00) |
           ((hostOrder << 8) & 0xFF0000) | ((hostOrder << 24) & 0xFF000000);
}

}  // namespace

quint32 GetMyLocalIPAddress() {
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& nic : interfaces) {
        const auto flags = nic.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : nic.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
                return wireValue(address.toIPv4Address());
        }
    }
    return wireValue(QHostAddress(QHostAddress::LocalHost).toIPv4Address());
}

QString GetMyLocalIPString(quint32 ip) {
    // The first address byte sits in the lowest bits.
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ip & 0xFF)
        .arg((ip >> 8) & 0xFF)
        .arg((ip >> 16) & 0xFF)
        .arg((ip >> 24) & 0xFF);
}

std::optional<quint32> ResolveHost(const QString& name) {
    // inet_aton reads every numeric form an address can be written in and
    // never looks a name up.
    in_addr address{};
    const QByteArray text = name.toLatin1();
    if (name.isEmpty() || text.contains('\0') || inet_aton(text.constData(), &address) == 0)
        return std::nullopt;
    return wireValue(ntohl(address.s_addr));
}

}  // namespace net
