#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "shogigame.h"

namespace records {

// The formats the record tool knows, by the file name's extension (any case).
enum class RecordFormat {
    Sho,   // a shogi program's record
    Kif,   // KIF in Shift-JIS
    Kifu,  // KIF in UTF-8
    Csa,
    Chs,  // a go program's record
    Sgf,
};

std::optional<RecordFormat> formatOfPath(const QString& path);

struct ConversionOptions {
    // Whose view the written ".sho" or ".chs" lines take; by default the one
    // the file names, else the first player's.
    std::optional<Player> view;
};

struct ConversionResult {
    enum class Outcome {
        Converted,  // the whole record was written
        Partial,    // written, with what was left out or set up named
        Failed,     // nothing written
    };
    Outcome outcome = Outcome::Failed;
    // What to tell the user, one line each, "file:line: text".
    QStringList messages;
};

// Converts the record `input` to the file `output`: a ".sho" to KIF (".kif",
// ".kifu") or CSA (".csa") and back, a ".chs" to SGF and back. Nothing is
// written when the input cannot be read, is damaged or holds a move the rules
// forbid; a program's record that breaks off is converted up to the break.
ConversionResult convertRecord(const QString& input, const QString& output,
                               const ConversionOptions& options = {});

}  // namespace records
