#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "serverhost.h"

namespace lobby {

// The server on a machine without a desktop: no window, and the texts the
// window would show go out as lines with a time stamp and the name of the
// place they would have appeared in ("Status", "Msg", "GetTXT", "LFtime",
// "Box" for a message box), and once listening, "Port" with the port it got
// (the one to connect to when QUOR_PORT=0 let the system pick it).
//
// The log keeps what happens to the lobby: listening, logins, pairings, game
// links, closes, refusals and faults. The traffic (every message received,
// every connect, every chat line) is written only when `verbose`; a poll
// every five seconds from each user would otherwise bury the rest. Passwords
// never appear (the server masks them), control characters from peers are
// spelt out ("\n", "\x1B") so that each report stays one line, and a line
// repeated within a second is counted and written once with the count
// ("（12回）"), as the window does with its box, so a peer cannot flood the log.
class HeadlessRunner : public QObject {
    Q_OBJECT
public:
    using LineWriter = std::function<void(const QString& line)>;

    static constexpr int kRepeatMs = 1000;

    HeadlessRunner(QString loginFolder, LineWriter writeLine, bool verbose = false,
                   QObject* parent = nullptr);

    // Starts the timers and the listener; false when it cannot listen.
    bool start();

    // Closes everything (the END button's work).
    void stop();

    ServerHost& host() { return host_; }

    // Writes a line of the program's own beside the server's (the web
    // front's port), repeats counted as for the others.
    void tell(const char* place, const QString& text) { report(place, text); }

private:
    void report(const char* place, const QString& text);
    void write(const QString& entry);
    void writeRepeats();

    LineWriter writeLine_;
    bool verbose_;
    ServerHost host_;
    QString lastEntry_;  // place and text of the last line written
    int repeats_ = 0;    // the times it came again since
    QTimer repeatTimer_;
};

}  // namespace lobby
