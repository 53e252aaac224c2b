#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// What the file dialog shows, read from the file system without widgets.

// One line of the folder list: the folders from the root down to the current
// one, each one step further in, then the current folder's subfolders.
struct FolderEntry {
    QString path;  // absolute
    QString name;  // what the line shows
    int depth = 0;
};

// The folder list for `folder` (an absolute path). Subfolders are sorted by
// name without regard to case; hidden ones are left out, as they hold no
// programs a user would pick.
QList<FolderEntry> folderTree(const QString& folder);

// The files in `folder` the user may run, sorted by name without regard to
// case. Hidden files are left out.
QStringList executableFiles(const QString& folder);

// The files in `folder` whose names match `pattern` ("*.txt"), sorted by
// name without regard to case. The pattern ignores case too, as file names
// carried over from older systems often are upper case ("GAME1.SHO"). Hidden
// files are left out.
QStringList matchingFiles(const QString& folder, const QString& pattern);

// The path of `name` in `folder`, with one "/" between them.
QString pathInFolder(const QString& folder, const QString& name);

// One entry of the drive list: a mounted file system.
struct Drive {
    QString root;  // where it is mounted
    QString text;  // what the list shows
};

// The mounted file systems that are ready, by mount point.
QList<Drive> mountedDrives();

// The mount point of the file system holding `folder`.
QString driveOf(const QString& folder);

// Whether the drive mounted at `root` can be shown now.
bool driveUsable(const QString& root);

}  // namespace platform
