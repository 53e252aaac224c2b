// "GameFile.txt" as the lobby client and the setup tool read it. The input
// is the file's bytes.
//
// What must hold: at most four lines are taken and the status says how many;
// a slot outside 0..3 names no program; a list whose paths can be stored is
// written and read back unchanged, complete.

#include <QDir>
#include <QFile>

#include "fuzzsupport.h"
#include "gamefilelist.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = QDir(quorfuzz::scratchFolder()).filePath(QStringLiteral("GameFile.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    const gamefile::GameFileRead read = gamefile::readGameFile(path);
    QUORFUZZ_CHECK(read.lines >= 0 && read.lines <= gamefile::kGameSlotCount, "lines out of range");
    QUORFUZZ_CHECK(
        read.status == (read.lines == gamefile::kGameSlotCount ? gamefile::GameFileStatus::Complete
                                                               : gamefile::GameFileStatus::Short),
        "a status that does not match the lines");
    for (const int slot : {-1, gamefile::kGameSlotCount, 1 << 30})
        QUORFUZZ_CHECK(read.list.programFor(slot).isEmpty(), "a program for a slot that is none");
    for (int slot = read.lines; slot < gamefile::kGameSlotCount; ++slot)
        QUORFUZZ_CHECK(read.list.programFor(slot).isEmpty(), "a program for a missing line");

    bool storable = true;
    for (const QString& p : read.list.paths)
        storable = storable && gamefile::canStorePath(p) && !p.contains(u'"') && p.trimmed() == p;
    if (!storable) return 0;
    const QString copy = QDir(quorfuzz::scratchFolder()).filePath(QStringLiteral("copy.txt"));
    QUORFUZZ_CHECK(gamefile::writeGameFile(copy, read.list), "a storable list not written");
    const gamefile::GameFileRead back = gamefile::readGameFile(copy);
    QUORFUZZ_CHECK(
        back.status == gamefile::GameFileStatus::Complete && back.list.paths == read.list.paths,
        "written and read otherwise");
    return 0;
}
