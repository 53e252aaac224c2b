#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace net {

// Every program listens on and connects to one TCP port: 8000, unless the
// environment variable QUOR_PORT names another (tests, or several servers on
// one machine). A value that is not a port 1..65535 is a fault to report,
// never a silent fall-back to 8000, which would reach the wrong server.
inline constexpr quint16 kDefaultPort = 8000;
inline constexpr char kPortVariable[] = "QUOR_PORT";

struct PortSetting {
    quint16 port = 0;  // 0 when the setting is bad
    QString error;     // the sentence to show when the setting is bad, else empty

    bool ok() const { return port != 0; }
};

// The port from the value of QUOR_PORT; a variable that is unset or empty gives
// 8000.
PortSetting portFromSetting(const QByteArray& value, bool isSet);

// The port the programs use now, read from the environment at each call.
PortSetting serverPort();

}  // namespace net
