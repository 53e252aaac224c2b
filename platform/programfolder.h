#pragma once

#include <QString>

namespace platform {

// The folder of the running program: its settings, images and sounds live
// beside it, and it finds the other programs there.
QString programFolder();

// The file `name` in `folder`. File names there are matched without regard to
// case ("LOGIN.TXT" and "LogIn.txt" are one file), as the settings files have
// always been treated; when no file matches, the path carries the name as
// written, so a new file gets exactly that name.
QString fileInFolder(const QString& folder, const QString& name);

// The same, in the program's own folder.
QString programFile(const QString& name);

}  // namespace platform
