#pragma once

#include <QString>

namespace platform {

// The folder part of a program path: everything before its last separator.
// Both "/" and "\" count as separators, because the list files may have been
// written by hand or carried over from another system. A path directly under
// the root ("/Varnel") gives "/"; a bare name gives an empty text, since no
// folder can be derived from it.
QString programFolderOf(const QString& path);

// Starts the program file `path` as a process of its own, not waited for,
// with `folder` as its working directory: the game programs load their
// images, sounds and settings by bare file name, so they must run in their
// own folder. Relative paths are taken from the current directory. Returns
// whether the process started; nothing is passed on its command line.
bool startProgram(const QString& path, const QString& folder);

// The same, in the folder the path names (see programFolderOf). Returns false
// without starting anything when the path has no folder part.
bool startProgram(const QString& path);

}  // namespace platform
