#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

namespace {

QString installedAssetFolder(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/quor"));
}

}  // namespace

ProgramFolders chooseFolders(const FolderFacts& facts, const QString& usual) {
    // A folder the user cannot write matters only to a program that keeps its
    // files in its own folder; the server and the setup tool keep theirs in
    // the working folder their operator chose, wherever the program lies.
    const bool keepsFilesInItsFolder =
        QDir::cleanPath(usual) == QDir::cleanPath(facts.programFolder);
    if (!facts.installedAssets && (facts.programFolderWritable || !keepsFilesInItsFolder))
        return {usual, facts.programFolder, false};
    const QString base = QDir::isAbsolutePath(facts.xdgDataHome)
                             ? facts.xdgDataHome
                             : facts.home + QStringLiteral("/.local/share");
    return {QDir::cleanPath(base + QStringLiteral("/quor")),
            facts.installedAssets ? installedAssetFolder(facts.programFolder) : facts.programFolder,
            true};
}

FolderFacts folderFactsFor(const QString& folder) {
    FolderFacts facts;
    facts.programFolder = folder;
    facts.programFolderWritable = QFileInfo(folder).isWritable();
    facts.installedAssets = QFileInfo(installedAssetFolder(folder)).isDir();
    facts.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    facts.home = QDir::homePath();
    return facts;
}

ProgramFolders programFolders(const QString& usual) {
    ProgramFolders folders = chooseFolders(folderFactsFor(programFolder()), usual);
    if (folders.installed && !QFileInfo(folders.data).isDir()) {
        // Logins hold passwords: the folder is its owner's alone, from the
        // moment it exists.
        QDir().mkpath(QFileInfo(folders.data).absolutePath());
        QDir().mkdir(folders.data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return folders;
}

}  // namespace platform
