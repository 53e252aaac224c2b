#include "serverport.h"

#include <QList>
#include <QStringView>

#include "sockettexts.h"

namespace net {

PortSetting portFromSetting(const QByteArray& value, bool isSet, PortUse use) {
    if (!isSet || value.isEmpty()) return {kDefaultPort, {}};
    bool digitsOnly = value.size() <= 5;
    for (const char c : value)
        digitsOnly = digitsOnly && c >= '0' && c <= '9';
    const int lowest = use == PortUse::Listen ? 0 : 1;
    const int port = digitsOnly ? value.toInt() : -1;
    if (port >= lowest && port <= 65535) return {static_cast<quint16>(port), {}};
    return {0, QString::fromUtf8(kBadPortText)
                   .arg(QLatin1String(kPortVariable), QString::fromLocal8Bit(value),
                        QString::number(lowest))};
}

namespace {

PortSetting portFromEnvironment(PortUse use) {
    return portFromSetting(qgetenv(kPortVariable), qEnvironmentVariableIsSet(kPortVariable), use);
}

}  // namespace

PortSetting serverPort() {
    return portFromEnvironment(PortUse::Connect);
}

PortSetting listenPort() {
    return portFromEnvironment(PortUse::Listen);
}

quint16 announcedPort(const QString& output, const char* place) {
    for (const QStringView line : QStringView(output).split(u'\n')) {
        const QList<QStringView> words = line.trimmed().split(u' ', Qt::SkipEmptyParts);
        // The place stands alone or after a date and a time, never later: a
        // peer's text the server writes cannot pass for it.
        if (words.size() != 2 && words.size() != 4) continue;
        if (words[words.size() - 2] != QLatin1String(place)) continue;
        const PortSetting port = portFromSetting(words.last().toLatin1(), true);
        if (port.ok()) return port.port;
    }
    return 0;
}

}  // namespace net
