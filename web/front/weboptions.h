#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <variant>

namespace webfront {

// How the lobby server's web front is asked for on the command line:
//
//   --web PORT         serve the web front on PORT (0: any free port)
//   --web-bind ADDR    on this address only (default 127.0.0.1: put a
//                      reverse proxy in front to serve others)
//   --archive FOLDER   keep the games there (default: "archive" in the
//                      server's data folder)
//   --web-proxy ADDR   the reverse proxy in front, at ADDR: its connections
//                      are not capped per address, and its requests are
//                      rate-limited by the client it names (X-Forwarded-For)
//
// Without --web there is no web front, and the others are refused.
struct WebOptions {
    bool enabled = false;
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;
    QString archiveFolder;  // empty: the default
    QHostAddress proxy;     // null: none
};

// The options among `arguments` (the program's, without its name); other
// arguments are left alone. A text that says what is wrong when an option
// lacks its value or the value is not one.
std::variant<WebOptions, QString> parseWebOptions(const QStringList& arguments);

}  // namespace webfront
