#include "weboptions.h"

namespace webfront {

std::variant<WebOptions, QString> parseWebOptions(const QStringList& arguments) {
    WebOptions options;
    bool bindGiven = false;
    bool archiveGiven = false;
    bool proxyGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (name != u"--web" && name != u"--web-bind" && name != u"--archive" &&
            name != u"--web-proxy")
            continue;
        if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(u"--"))
            return name + QStringLiteral(" needs a value");
        const QString& value = arguments[++i];
        if (name == u"--web") {
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (!ok || port > 65535)
                return QStringLiteral("--web needs a port from 0 to 65535, not ") + value;
            options.enabled = true;
            options.port = static_cast<quint16>(port);
        } else if (name == u"--web-bind") {
            if (!options.address.setAddress(value))
                return QStringLiteral("--web-bind needs an IP address, not ") + value;
            bindGiven = true;
        } else if (name == u"--web-proxy") {
            if (!options.proxy.setAddress(value))
                return QStringLiteral("--web-proxy needs an IP address, not ") + value;
            proxyGiven = true;
        } else {
            if (value.isEmpty()) return QStringLiteral("--archive needs a folder");
            options.archiveFolder = value;
            archiveGiven = true;
        }
    }
    if (!options.enabled && (bindGiven || archiveGiven || proxyGiven))
        return QStringLiteral("--web-bind, --archive and --web-proxy go with --web PORT");
    return options;
}

}  // namespace webfront
