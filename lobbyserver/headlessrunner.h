#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "serverhost.h"

namespace lobby {

// The server on a machine without a desktop: no window, and every text the
// window would show goes out as one line with a time stamp and the name of
// the place it would have appeared in ("Status", "Msg", "GetTXT", "LFtime",
// "Box" for a message box). Line breaks inside a text are written as "\n" so
// that each report stays one line.
class HeadlessRunner : public QObject {
    Q_OBJECT
public:
    using LineWriter = std::function<void(const QString& line)>;

    HeadlessRunner(QString loginFolder, LineWriter writeLine, QObject* parent = nullptr);

    // Starts the timers and the listener; false when it cannot listen.
    bool start();

    // Closes everything (the END button's work).
    void stop();

    ServerHost& host() { return host_; }

private:
    void report(const char* place, const QString& text);

    LineWriter writeLine_;
    ServerHost host_;
};

}  // namespace lobby
