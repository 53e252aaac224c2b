#include "serverport.h"

namespace net {

PortSetting portFromSetting(const QByteArray& value, bool isSet) {
    if (!isSet || value.isEmpty()) return {kDefaultPort, {}};
    bool digitsOnly = value.size() <= 5;
    for (const char c : value)
        digitsOnly = digitsOnly && c >= '0' && c <= '9';
    const int port = digitsOnly ? value.toInt() : 0;
    if (port >= 1 && port <= 65535) return {static_cast<quint16>(port), {}};
    return {0, QStringLiteral("環境変数 %1 の値「%2」はポート番号ではありません。"
                              "1～65535 の数を指定してください。")
                   .arg(QLatin1String(kPortVariable), QString::fromLocal8Bit(value))};
}

PortSetting serverPort() {
    return portFromSetting(qgetenv(kPortVariable), qEnvironmentVariableIsSet(kPortVariable));
}

}  // namespace net
