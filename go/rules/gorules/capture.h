#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "gorules/board.h"
#include "gorules/directions.h"

namespace go {

// Finds and removes the opponent groups that a placement leaves without a
// liberty. Only groups next to the new stone are examined: there is no
// suicide rule (the mover's own stones stay even without a liberty, until the
// opponent plays next to them) and no ko rule (a point just captured may be
// played back at once). The search keeps its marks and path for the one
// placement it serves, so a window makes one on the stack for each placement.
// Its path never holds a point twice and so needs at most 361 entries: it is
// reserved once, and a group of any size is walked to the end.
class CaptureSearch {
public:
    // Searches and changes `ban`, which must outlive the search.
    explicit CaptureSearch(Ban& ban);

    // The digits of the neighbours of p that hold `colour`, in visiting order.
    DirDigits NeighborDirs(Point p, Stone colour) const;

    // "QUIT" at the first empty neighbour of (x, y) (a liberty), else the
    // digits of the neighbours holding `colour`; the wall adds nothing.
    DirDigits SameColorDirs(int x, int y, Stone colour) const;

    // True when the group of `colour` touching p in direction d has no
    // liberty; its points are then marked in the visit marks. False when a
    // liberty was found or no point of the board lies that way.
    bool SearchGroup(Point p, Dir d, Stone colour);

    // The first direction of SameColorDirs(x, y) whose neighbour is not yet
    // visited; nothing when there is none (or the walk found a liberty).
    std::optional<Dir> NextFreeDir(int x, int y, Stone colour) const;

    // Capture marks |= visit marks over the playing area.
    void MergeMarks();

    // Level 1 clears the visit marks, level 2 the capture marks as well.
    void ClearMarks(int level);

    // Empties every capture-marked point; returns how many there were.
    int RemoveMarked();

    // Run right after the own stone has been written on p: removes every
    // opponent group next to p left without a liberty, adds their stones to
    // MyCaptured and returns whether anything was taken.
    bool CheckCapture(Point p, Stone own, qint32& MyCaptured);

    bool isVisited(Point p) const;
    bool isCaptureMarked(Point p) const;

private:
    using Marks = std::array<std::array<std::uint8_t, Ban::kSize>, Ban::kSize>;

    static bool inMarks(Point p) {
        return p.x >= 0 && p.x < Ban::kSize && p.y >= 0 && p.y < Ban::kSize;
    }
    static std::uint8_t& at(Marks& marks, Point p) {
        return marks[static_cast<std::size_t>(p.x)][static_cast<std::size_t>(p.y)];
    }
    static std::uint8_t at(const Marks& marks, Point p) {
        return marks[static_cast<std::size_t>(p.x)][static_cast<std::size_t>(p.y)];
    }
    void markVisited(Point p);

    Ban& ban_;
    Marks VisitMark{};
    Marks CaptureMark{};
    std::vector<Point> path_;
};

}  // namespace go
