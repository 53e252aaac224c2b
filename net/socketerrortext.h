#pragma once

#include <QString>
#include <QStringList>

namespace net {

// The sentence the user sees for a Winsock error code, from the one table all
// programs share; any code not in the table reads "(" + code + ")", for
// example "(10059)" or "(0)".
QString SocketErrorText(int code);

// A text of the socket layer (an error sentence, a listener's state, a bad
// QUOR_PORT) as a window shows it: in English when the programs speak
// English. The layer itself hands out the Japanese, which logs keep.
QString shownSocketText(const QString& text);

// `pattern` with each %1…%9 replaced by its value, in one pass: a value that
// holds "%2" itself is put in as it is (the lobby server's notices fill their
// sentences so too).
QString filledIn(const QString& pattern, const QStringList& values);

}  // namespace net
