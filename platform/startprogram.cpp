#include "startprogram.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>

namespace platform {

QString programFolderOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (cut < 0) return {};
    if (cut == 0) return path.left(1);
    return path.left(cut);
}

bool startProgram(const QString& path, const QString& folder) {
    if (path.isEmpty() || folder.isEmpty()) return false;
    // The child changes to its folder before the program is looked up, so a
    // relative program path would be resolved from the wrong place.
    const QString program = QFileInfo(path).absoluteFilePath();
    const QString workingFolder = QDir(folder).absolutePath();
    if (!QFileInfo(workingFolder).isDir()) return false;
    return QProcess::startDetached(program, {}, workingFolder);
}

bool startProgram(const QString& path) {
    return startProgram(path, programFolderOf(path));
}

}  // namespace platform
