#include "installedgamefile.h"

#include <QDir>
#include <QFileInfo>

#include "gamefilelist.h"
#include "programfolder.h"

namespace gamefile {

namespace {

QString installedProgram(const QString& programFolder, const char* name) {
    const QFileInfo program(QDir(programFolder).filePath(QString::fromLatin1(name)));
    return program.isFile() && program.isExecutable() ? program.absoluteFilePath() : QString();
}

}  // namespace

bool provideInstalledGameFile(const QString& dataFolder, const QString& programFolder) {
    const QString path = platform::fileInFolder(dataFolder, QString::fromLatin1(kGameFileName));
    if (QFileInfo::exists(path)) return false;
    GameFileList list;
    list.paths[kShogiSlot] = installedProgram(programFolder, "Varnel");
    list.paths[kGoSlot] = installedProgram(programFolder, "Ostrim");
    if (list.paths[kShogiSlot].isEmpty() && list.paths[kGoSlot].isEmpty()) return false;
    return writeGameFile(path, list);
}

}  // namespace gamefile
