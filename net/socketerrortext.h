#pragma once

#include <QString>

namespace net {

// The sentence the user sees for a Winsock error code, from the one table all
// programs share; any code not in the table reads "(" + code + ")", for
// example "(10059)" or "(0)".
QString SocketErrorText(int code);

// A text of the socket layer (an error sentence, a listener's state, a bad
// QUOR_PORT) as a window shows it: in English when the programs speak
// English. The layer itself hands out the Japanese, which logs keep.
QString shownSocketText(const QString& text);

}  // namespace net
