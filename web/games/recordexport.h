#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

#include "gamerecord.h"

namespace web {

// The record files a page offers for a game, made as the record tool makes
// them from the first player's program record of the same game: KIF and CSA
// for shogi (Shift-JIS), SGF for go (UTF-8), and the programs' own records
// (".sho", ".chs": Shift-JIS lines with CR LF). KIF, CSA and SGF name the
// players once it is known who moved first.
enum class RecordFileFormat { Kif, Csa, Sgf, Sho, Chs };

// The format an extension names ("kif", "csa", "sgf", "sho", "chs").
std::optional<RecordFileFormat> recordFormatOfExtension(QStringView extension);

// The file, or nothing when the format is not one of the game's kind or the
// game has no move to record.
std::optional<QByteArray> recordFile(const GameRecord& game, RecordFileFormat format);

// "quor-12.kif".
QString recordFileName(quint64 id, RecordFileFormat format);

// The content type to serve the file with.
QByteArray recordContentType(RecordFileFormat format);

}  // namespace web
