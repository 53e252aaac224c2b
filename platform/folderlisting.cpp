#include "folderlisting.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace platform {

QList<FolderEntry> folderTree(const QString& folder) {
    const QString current = QDir::cleanPath(QDir(folder).absolutePath());
    QList<FolderEntry> entries;

    // From the current folder up to the root, then turned round.
    QStringList chain;
    QDir up(current);
    chain << up.absolutePath();
    while (up.cdUp())
        chain.prepend(up.absolutePath());
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        entries.append({path, name, depth++});
    }

    const QStringList subfolders =
        QDir(current).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders)
        entries.append({pathInFolder(current, name), name, depth});
    return entries;
}

QStringList executableFiles(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Executable, QDir::Name | QDir::IgnoreCase);
}

QStringList matchingFiles(const QString& folder, const QString& pattern) {
    QDir dir(folder);
    dir.setNameFilters({pattern});
    // Name filters ignore case unless told otherwise.
    return dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString pathInFolder(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/')) return folder + name;
    return folder + u'/' + name;
}

QList<Drive> mountedDrives() {
    QList<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        // A single file mounted over another (as containers do) is no drive.
        if (!QFileInfo(root).isDir()) continue;
        const bool seen = std::any_of(drives.cbegin(), drives.cend(),
                                      [&](const Drive& d) { return d.root == root; });
        if (seen) continue;
        const QString name = volume.name();
        drives.append({root, name.isEmpty() ? root : root + QStringLiteral(" [") + name + u']'});
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive& a, const Drive& b) { return a.root < b.root; });
    return drives;
}

QString driveOf(const QString& folder) {
    const QStorageInfo volume(folder);
    if (volume.isValid()) return volume.rootPath();
    return QDir::rootPath();
}

bool driveUsable(const QString& root) {
    const QStorageInfo volume(root);
    return volume.isValid() && volume.isReady() && QFileInfo(root).isDir() &&
           QFileInfo(root).isReadable();
}

}  // namespace platform
