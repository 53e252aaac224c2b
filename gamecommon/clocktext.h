#pragma once

#include <QString>
#include <QtGlobal>

namespace gamecommon {

// A game clock as shown: hours, then minutes and seconds with two digits
// each ("0h05m09s", "1h01m01s").
inline QString Jikan(qint32 seconds) {
    const qint32 h = seconds / 3600;
    const qint32 m = (seconds - 3600 * h) / 60;
    const qint32 s = seconds % 60;
    return QStringLiteral("%1h%2m%3s")
        .arg(h)
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

}  // namespace gamecommon
