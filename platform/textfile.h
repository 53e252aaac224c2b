#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The text files of the programs, their settings above all: Shift-JIS text
// with CR LF line ends. Reading accepts LF alone too, and drops one empty line
// at the end.

// The lines of the file, or nothing when it cannot be read (missing included)
// or is larger than a settings file can be (4 MiB).
std::optional<QStringList> readTextLines(const QString& path);

// The whole text of a file of at most `maxSize` bytes, with its CR LF line
// ends read as line feeds; nothing when it cannot be read or is larger.
std::optional<QString> readText(const QString& path, qint64 maxSize);

// Creates or overwrites the file with these lines, each ended by CR LF.
// Returns false when the file cannot be written.
bool writeTextLines(const QString& path, const QStringList& lines);

// Adds one line, ended by CR LF, at the end of the file, creating it when it
// is not there. Returns false when the line could not be written whole.
bool appendTextLine(const QString& path, const QString& line);

}  // namespace platform
