#include "gamefilelist.h"

#include <QFileInfo>
#include <QStringList>

#include "commafields.h"
#include "shiftjis.h"
#include "textfile.h"

namespace gamefile {

QString GameFileList::programFor(int slot) const {
    if (slot < 0 || slot >= kGameSlotCount) return {};
    return paths[static_cast<std::size_t>(slot)];
}

GameFileRead readGameFile(const QString& path) {
    GameFileRead result;
    const std::optional<QStringList> lines = platform::readTextLines(path);
    if (!lines) {
        result.status =
            QFileInfo::exists(path) ? GameFileStatus::Unreadable : GameFileStatus::Missing;
        return result;
    }
    result.lines = static_cast<int>(std::min<qsizetype>(lines->size(), kGameSlotCount));
    // The same field reader as every other settings file, so a hand-edited
    // "0, /path" or "0,\"/path\"" names the program it seems to.
    for (int slot = 0; slot < result.lines; ++slot) {
        const QStringList fields = platform::splitCommaFields(lines->at(slot));
        if (fields.size() >= 2) result.list.paths[static_cast<std::size_t>(slot)] = fields[1];
    }
    result.status =
        result.lines == kGameSlotCount ? GameFileStatus::Complete : GameFileStatus::Short;
    return result;
}

bool canStorePath(const QString& path) {
    if (path.contains(u',') || path.contains(u'\r') || path.contains(u'\n')) return false;
    return platform::fromShiftJis(platform::toShiftJis(path)) == path;
}

bool writeGameFile(const QString& path, const GameFileList& list) {
    QStringList lines;
    for (int slot = 0; slot < kGameSlotCount; ++slot) {
        const QString& program = list.paths[static_cast<std::size_t>(slot)];
        if (!canStorePath(program)) return false;
        lines << QString::number(slot) + u',' + program;
    }
    return platform::writeTextLines(path, lines);
}

}  // namespace gamefile
