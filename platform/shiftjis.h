#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform {

// The settings files are kept in Shift-JIS (code page 932), as the programs
// have always written them, so files carried over from older installations
// read the same.

// Encodes text as Shift-JIS. A character the code page cannot hold becomes
// "?", as it always did when such files were written.
QByteArray toShiftJis(QStringView text);

// Decodes Shift-JIS bytes. A byte sequence that is not Shift-JIS becomes
// U+FFFD so that a damaged file still reads as far as it is intact.
QString fromShiftJis(QByteArrayView bytes);

}  // namespace platform
