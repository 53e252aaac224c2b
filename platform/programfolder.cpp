#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString fileInFolder(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (dir.exists(name)) return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return dir.filePath(name);
}

QString programFile(const QString& name) {
    return fileInFolder(programFolder(), name);
}

}  // namespace platform
