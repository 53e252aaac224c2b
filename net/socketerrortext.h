#pragma once

#include <QString>

namespace net {

// The sentence the user sees for a Winsock error code, from the one table all
// programs share; any code not in the table reads "(" + code + ")", for
// example "(10059)" or "(0)".
QString SocketErrorText(int code);

}  // namespace net
