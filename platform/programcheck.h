#pragma once

#include <QString>

namespace gamefile {

// Why a program path taken from a slot cannot be started. The folder a game
// program runs in is derived from its path, so a path without one cannot be
// started at all; a path with a comma could never have come from the list
// file, and is refused so that what starts is always what can be saved.
enum class StartProblem {
    None,
    Empty,     // the slot names no program
    NoFolder,  // a bare file name: no folder to start it in
    Comma,     // the list file cannot hold it
};

StartProblem startProblem(const QString& path);

}  // namespace gamefile
