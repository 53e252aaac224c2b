#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace net {

// Every program listens on and connects to one TCP port: 8000, unless the
// environment variable QUOR_PORT names another (tests, or several servers on
// one machine). A value that is not a port is a fault to report, never a
// silent fall-back to 8000, which would reach the wrong server.
//
// A program that listens also takes 0: the system picks a free port, which the
// program then tells (a test starts its server so, with no race for a port).
// Connecting to port 0 means nothing and stays a fault.
inline constexpr quint16 kDefaultPort = 8000;
inline constexpr char kPortVariable[] = "QUOR_PORT";

enum class PortUse {
    Connect,  // 1..65535
    Listen,   // 0..65535, 0 letting the system pick
};

struct PortSetting {
    quint16 port = 0;  // 0 when the setting is bad, or "any port" to listen on
    QString error;     // the sentence (Japanese) when the setting is bad, else empty

    bool ok() const { return error.isEmpty(); }
};

// The port from the value of QUOR_PORT; a variable that is unset or empty gives
// 8000.
PortSetting portFromSetting(const QByteArray& value, bool isSet, PortUse use = PortUse::Connect);

// The port to connect to now, read from the environment at each call.
PortSetting serverPort();

// The port to listen on now, read from the environment at each call.
PortSetting listenPort();

// A program started with QUOR_PORT=0 tells the port it got in a line of its
// output whose last two words are "Port" and the number: headless Brellow's
// "<date> <time> Port <N>", the bare relay's "Port <N>". The port told first
// in `output`, or 0 while there is none. Headless Brellow tells its web
// front's port alike, as "Web <N>" (`place` kWebPlace).
inline constexpr char kPortPlace[] = "Port";
inline constexpr char kWebPlace[] = "Web";
quint16 announcedPort(const QString& output, const char* place = kPortPlace);

}  // namespace net
