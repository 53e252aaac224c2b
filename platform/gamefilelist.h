#pragma once

#include <QString>
#include <array>

#include "startprogram.h"

namespace gamefile {

// "GameFile.txt" tells the lobby client which program to start for each game
// kind. The setup tool writes it; the client reads it every time it starts a
// game. It is Shift-JIS text with CR LF line ends and exactly four lines, one
// per slot in slot order, each the slot number, "," and the program path
// (nothing after the comma for an empty slot):
//
//   0,/home/taro/quor/Varnel
//   1,/home/taro/quor/Ostrim
//   2,
//   3,
//
// The slot is the line's position; the number in front is written for the
// reader's sake and not checked. A path holding a comma (or a line break)
// cannot be stored.

// The file's usual name, in the folder of the lobby client.
inline constexpr const char* kGameFileName = "GameFile.txt";

// The slots, which are also the lobby's game kinds (the lobby has only the
// first two).
enum GameSlot : int { kShogiSlot = 0, kGoSlot = 1, kChessSlot = 2, kReversiSlot = 3 };
inline constexpr int kGameSlotCount = 4;

// The program path of every slot; an empty text for an empty slot.
struct GameFileList {
    std::array<QString, kGameSlotCount> paths;

    // The program path of a slot, or an empty text when `slot` is not 0..3 or
    // the slot is empty, so a game kind from the network can be passed as is.
    QString programFor(int slot) const;
};

// What reading found.
enum class GameFileStatus {
    Complete,    // all four lines were there
    Short,       // fewer than four lines; the missing slots are empty
    Missing,     // no such file
    Unreadable,  // the file exists but could not be read (or is not a file)
};

struct GameFileRead {
    GameFileStatus status = GameFileStatus::Missing;
    GameFileList list;
    // How many of the four lines the file held (0 when missing or unreadable).
    int lines = 0;
};

// Reads the file at `path`. CR LF and LF line ends are both accepted; each
// line is read as comma fields (blanks around a field dropped, double quotes
// honoured), the path is the second field, and a line without one is an empty
// slot. Lines after the fourth are ignored.
GameFileRead readGameFile(const QString& path);

// Whether `path` can be written as a slot's path and read back unchanged: no
// comma, no line break, and only characters Shift-JIS can hold.
bool canStorePath(const QString& path);

// Creates or replaces the file at `path` with the four lines. Writes nothing
// and returns false when a path cannot be stored (see canStorePath) or the
// file cannot be written; a failed write leaves any old file as it was.
bool writeGameFile(const QString& path, const GameFileList& list);

}  // namespace gamefile
