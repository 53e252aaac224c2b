#pragma once

#include <optional>

#include "lineproblem.h"
#include "shogigame.h"

namespace records {

// A KIF or CSA file read: the game, whose view the file says it was kept
// from (nothing when it does not say), or the problem that stopped the
// reading. A file with a problem gives no game to write: it is damaged or
// holds a move the rules do not allow, and half of it is no record of it.
struct ShogiImport {
    ShogiGame game;
    std::optional<Player> view;
    LineProblems problems;
};

}  // namespace records
