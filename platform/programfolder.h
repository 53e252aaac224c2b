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

// Where a program keeps the files it reads and writes (the logins, the game
// list, the records, the server's user file) and where it finds its images
// and sounds.
//
// A copy run where it was built, or unpacked into a folder of its own, keeps
// all of them where it always has. An installed copy cannot: its programs sit
// in <prefix>/bin, which the user may not write and which is no place for a
// password, and its images and sounds in <prefix>/share/quor. It keeps its
// files in one folder per user, $XDG_DATA_HOME/quor (~/.local/share/quor by
// default), the same for every program, so that the lobby client and the game
// programs it starts still share "LOGIN.TXT".
struct ProgramFolders {
    QString data;
    QString assets;
    bool installed = false;

    friend bool operator==(const ProgramFolders&, const ProgramFolders&) = default;
};

// What the choice looks at.
struct FolderFacts {
    QString programFolder;
    bool programFolderWritable = true;
    // <programFolder>/../share/quor is a folder: the programs were installed.
    bool installedAssets = false;
    QString xdgDataHome;  // $XDG_DATA_HOME, possibly empty
    QString home;         // $HOME
};

// The choice itself. `usual` is where this program has always kept its files:
// its own folder for the game programs and the lobby client, the working
// folder for the setup tool and the server. A copy is installed when its
// folder sits beside share/quor or, for a program that keeps its files in its
// own folder, cannot be written (a server copied to /opt still reads the
// working folder it is run in); its data folder is then the per-user one (XDG_DATA_HOME counts only
// when it is an absolute path, as the XDG rules say), and its images come from share/quor where
// that exists.
ProgramFolders chooseFolders(const FolderFacts& facts, const QString& usual);

// The facts for a program in `folder`, from the file system and the
// environment.
FolderFacts folderFactsFor(const QString& folder);

// The folders of the running program. The per-user data folder is made, for
// its owner only, when it is chosen and missing.
ProgramFolders programFolders(const QString& usual);

}  // namespace platform
