#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "shogigame.h"

namespace records {

// A program's record is kept from one player's view, and KIF, CSA and SGF
// draw every game from the first player's. So that a record converted there
// and back comes back as it was, the exported file names whose record it was
// in a comment line (KIF "#", CSA "'") or an SGF property of its own: "first"
// or "second". Files from elsewhere carry none, and are read for the first
// player unless the user says otherwise.

inline constexpr QStringView kViewKey = u"quor-view:";

QString viewName(Player p);

// "first" or "second" (blanks around it dropped); nothing for anything else.
std::optional<Player> viewFromName(QStringView name);

}  // namespace records
