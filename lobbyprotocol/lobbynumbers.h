#pragma once

#include <QString>
#include <QStringView>

namespace lobby {

// Numbers travel between the lobby programs as decimal text in two forms, and
// each message says which one a field uses. Readers never care: they skip
// leading blanks, so " 3" and "3" read the same.

// "3", "0", "-1".
QString plainNumber(int value);

// Like the plain form, but a value of 0 or more gets one leading blank
// (" 3", " 0"); "-1" stays "-1". This is how the older programs wrote numbers,
// and the user list and login replies still carry them so.
QString signedNumber(int value);

// Reads a number the way every lobby program always has: blanks in front are
// skipped, then an optional sign and the longest run of digits is taken; text
// without such a prefix gives 0. A value beyond the range of int saturates,
// so an absurd index is still an index out of range rather than a wrapped one.
int lenientNumber(QStringView text);

}  // namespace lobby
