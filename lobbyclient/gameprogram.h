#pragma once

#include <QString>

namespace lobbyclient {

// The game program to start for a game kind, from "GameFile.txt" in the
// client's folder (written by the setup tool), with the folder it runs in.
// When there is none to start, `error` says why, for a message box.
struct GameProgram {
    QString path;
    QString folder;
    QString error;
};

GameProgram findGameProgram(const QString& clientFolder, int kind);

}  // namespace lobbyclient
