#pragma once

#include <QString>
#include <QStringView>

namespace lobby {

// What a text from a peer looks like where the server writes it down.

// The message with its password field replaced by "***": the password of a
// login, a user-list poll, a challenge and a game login. A log is read by
// more people than the user file, and a poll carries the password every five
// seconds. Other messages come back as they are.
QString maskPasswords(const QString& message);

// The text on one line with every control character spelt out: a line
// break as "\n", anything else as "\x1B" or "\u2028" (direction marks
// included), so that a peer's text can neither split a log line, nor drive
// the terminal that shows it, nor make a line read otherwise than it is.
QString escapeControls(QStringView text);

}  // namespace lobby
