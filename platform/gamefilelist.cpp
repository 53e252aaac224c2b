#include "gamefilelist.h"

#include <QFileInfo>
#include <QStringList>

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
    for (int slot = 0; slot < result.lines; ++slot) {
        const QString& line = lines->at(slot);
        const qsizetype comma = line.indexOf(u',');
        if (comma >= 0) result.list.paths[static_cast<std::size_t>(slot)] = line.mid(comma + 1);
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
