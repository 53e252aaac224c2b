#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "lineproblem.h"

namespace records {

// The files the record tool reads and writes. KIF, CSA and the programs'
// records are Shift-JIS, as the programs and the usual viewers write them;
// ".kifu" files and SGF are UTF-8.
enum class TextEncoding { ShiftJis, Utf8 };

// No record comes near this: a thousand-move go record is about 1 MB. A larger
// file is refused before it is read.
inline constexpr qint64 kMaxRecordBytes = 4 * 1024 * 1024;
// Nor this many moves, which a file of that size could still name, and which
// would be held in memory board by board.
inline constexpr int kMaxRecordMoves = 20000;

// A file's lines, or what kept it from being read: it is missing, too large,
// or a line is not text in its encoding (named by its number).
struct TextLines {
    QStringList lines;
    LineProblems problems;
};

// The bytes of the file, or a problem for the file as a whole.
struct FileBytes {
    QByteArray bytes;
    LineProblems problems;
};
FileBytes readFileBytes(const QString& path);

// Splits at LF (a CR before it is dropped) and decodes line by line, so a
// byte sequence the encoding does not allow is reported with its line. A UTF-8
// byte-order mark is skipped.
TextLines decodeLines(const QByteArray& bytes, TextEncoding encoding);

// Whether the bytes are UTF-8 holding something beyond ASCII: a Shift-JIS
// file that fails to read may simply have been saved as UTF-8.
bool looksLikeUtf8(const QByteArray& bytes);

QByteArray encodeText(const QString& text, TextEncoding encoding);

}  // namespace records
