#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "userlist.h"

namespace lobbyclient {

// One line of the user list as the lobby window shows it:
// IDX " " ID " " GAME " " TAG, where IDX keeps its leading blank (" 3"), TAG is
// "Me" for the own line, then " Battle!" for a player and " Watch" for a
// watcher. Split at single blanks, piece 1 is the index and piece 2 the ID.
QString userLine(const lobby::UserListEntry& user, int myIndex);

QStringList userLines(const std::vector<lobby::UserListEntry>& users, int myIndex);

// The pieces of a shown line, split at single blanks.
QStringList linePieces(const QString& line);

}  // namespace lobbyclient
