#include "gorules/capture.h"

namespace go {

CaptureSearch::CaptureSearch(Ban& ban) : ban_(ban) {
    path_.reserve(kPointCount);
}

bool CaptureSearch::isVisited(Point p) const {
    // Nothing off the array is ever entered: count it as visited.
    return !inMarks(p) || at(VisitMark, p) != 0;
}

bool CaptureSearch::isCaptureMarked(Point p) const {
    return inMarks(p) && at(CaptureMark, p) != 0;
}

void CaptureSearch::markVisited(Point p) {
    if (inMarks(p)) at(VisitMark, p) = 1;
}

DirDigits CaptureSearch::NeighborDirs(Point p, Stone colour) const {
    DirDigits dirs;
    for (Dir d : kDirOrder)
        if (ban_.at(neighbour(p, d)) == colour) dirs.add(d);
    return dirs;
}

DirDigits CaptureSearch::SameColorDirs(int x, int y, Stone colour) const {
    DirDigits dirs;
    for (Dir d : kDirOrder) {
        const Point n = neighbour({x, y}, d);
        if (n.x < 0 || n.y < 0) continue;
        const Stone s = ban_.at(n);
        if (s == colour) {
            dirs.add(d);
        } else if (s == Stone::Empty) {
            return DirDigits::quit();
        }
    }
    return dirs;
}

std::optional<Dir> CaptureSearch::NextFreeDir(int x, int y, Stone colour) const {
    const DirDigits dirs = SameColorDirs(x, y, colour);
    for (int i = 0; i < dirs.size(); ++i)
        if (!isVisited(neighbour({x, y}, dirs[i]))) return dirs[i];
    return std::nullopt;
}

bool CaptureSearch::SearchGroup(Point p, Dir d, Stone colour) {
    const Point start = neighbour(p, d);
    if (!start.isOnBoard()) return false;
    markVisited(start);
    path_.clear();
    path_.push_back(start);
    Point current = start;
    for (;;) {
        const DirDigits dirs = SameColorDirs(current.x, current.y, colour);
        if (dirs.isQuit()) return false;
        std::optional<Point> next;
        for (int i = 0; i < dirs.size() && !next; ++i) {
            const Point n = neighbour(current, dirs[i]);
            if (!isVisited(n)) next = n;
        }
        if (next) {
            current = *next;
            path_.push_back(current);
            markVisited(current);
            continue;
        }
        // A dead end: step back along the path to the last point that still
        // has an unvisited neighbour of the colour.
        do {
            path_.pop_back();
            if (path_.empty()) return true;
            current = path_.back();
        } while (!NextFreeDir(current.x, current.y, colour));
    }
}

void CaptureSearch::MergeMarks() {
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y)
            if (at(VisitMark, {x, y}) != 0) at(CaptureMark, {x, y}) = 1;
}

void CaptureSearch::ClearMarks(int level) {
    if (level >= 1) VisitMark = {};
    if (level >= 2) CaptureMark = {};
}

int CaptureSearch::RemoveMarked() {
    int removed = 0;
    for (int x = 0; x < kBoardSize; ++x) {
        for (int y = 0; y < kBoardSize; ++y) {
            if (at(CaptureMark, {x, y}) == 0) continue;
            ban_.set({x, y}, Stone::Empty);
            ++removed;
        }
    }
    return removed;
}

bool CaptureSearch::CheckCapture(Point p, Stone own, qint32& MyCaptured) {
    ClearMarks(2);
    if (!p.isOnBoard()) return false;
    const Stone opp = opponentOf(own);
    const DirDigits dirs = NeighborDirs(p, opp);
    bool captured = false;
    for (int i = 0; i < dirs.size(); ++i) {
        // A group touching p on two sides is walked twice; the merged marks
        // still count each of its stones once.
        if (SearchGroup(p, dirs[i], opp)) {
            MergeMarks();
            captured = true;
        }
        ClearMarks(1);
    }
    if (!captured) return false;
    MyCaptured += RemoveMarked();
    return true;
}

}  // namespace go
