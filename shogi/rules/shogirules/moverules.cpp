#include "shogirules/moverules.h"

#include <cstdlib>

#include "shogirules/position.h"
#include "shogirules/rulemessages.h"

namespace shogi {

namespace {

constexpr unsigned bit(int code) {
    return 1u << code;
}

// Step and slide codes each kind may use.
struct Movement {
    unsigned steps = 0;
    unsigned slides = 0;
};

Movement movementOf(Kind kind) {
    constexpr unsigned kGoldSteps = bit(1) | bit(2) | bit(3) | bit(4) | bit(6) | bit(8);
    constexpr unsigned kAllSteps = kGoldSteps | bit(5) | bit(7);
    constexpr unsigned kRookSlides = bit(1) | bit(2) | bit(3) | bit(4);
    constexpr unsigned kBishopSlides = bit(5) | bit(6) | bit(7) | bit(8);
    switch (kind) {
        case Kind::Fu:
            return {bit(2), 0};
        case Kind::Ky:
            return {bit(2), bit(1)};
        case Kind::Ke:
            return {bit(9) | bit(10), 0};
        case Kind::Gi:
            return {bit(1) | bit(2) | bit(3) | bit(5) | bit(7), 0};
        case Kind::Ki:
        case Kind::To:
        case Kind::NC:
        case Kind::NK:
        case Kind::NG:
            return {kGoldSteps, 0};
        case Kind::Ou:
        case Kind::Gy:
            return {kAllSteps, 0};
        case Kind::Hi:
            return {bit(2) | bit(4) | bit(6) | bit(8), kRookSlides};
        case Kind::Ka:
            return {bit(1) | bit(3) | bit(5) | bit(7), kBishopSlides};
        case Kind::Ry:
            return {kAllSteps, kRookSlides};
        case Kind::Um:
            return {kAllSteps, kBishopSlides};
        case Kind::Dummy:
            break;
    }
    return {};
}

bool inTable(Kind kind) {
    return kind != Kind::Dummy;
}

// Shape of a slide and its direction, before the cells between are looked at.
int slideShape(int dx, int dy) {
    if (dx == 0 && dy <= -2) return 1;
    if (dy == 0 && dx >= 2) return 2;
    if (dx == 0 && dy >= 2) return 3;
    if (dy == 0 && dx <= -2) return 4;
    if (dx == dy && dx <= -2) return 5;
    if (dx == dy && dx >= 2) return 6;
    if (dx == -dy && dx >= 2) return 7;
    if (dx == -dy && dx <= -2) return 8;
    return 0;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

int StepCode(Square from, Square to) {
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    struct Step {
        int dx, dy;
    };
    static constexpr Step kSteps[] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0},   {1, 1},
                                      {0, 1},   {-1, 1}, {-1, 0}, {-1, -2}, {1, -2}};
    for (int d = 1; d <= 10; ++d) {
        if (kSteps[d - 1].dx == dx && kSteps[d - 1].dy == dy) return d;
    }
    return 0;
}

int SlideCode(const Board& board, Square from, Square to) {
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    const int shape = slideShape(dx, dy);
    if (shape == 0) return 0;
    const int sx = sign(dx);
    const int sy = sign(dy);
    const int length = std::max(std::abs(dx), std::abs(dy));
    for (int i = 1; i < length; ++i) {
        const Square between{from.x + i * sx, from.y + i * sy};
        if (!between.isOnBoard() || !board.at(between).isEmpty()) return 0;
    }
    return shape;
}

bool CanReach(const Board& board, Square d, Square s, Kind kind) {
    const Movement m = movementOf(kind);
    const int step = StepCode(s, d);
    if (step != 0 && (m.steps & bit(step))) return true;
    if (m.slides == 0) return false;
    const int slide = SlideCode(board, s, d);
    return slide != 0 && (m.slides & bit(slide));
}

bool IsAttacked(const Board& board, Square target) {
    for (int k = 0; k < kCellCount; ++k) {
        const Cell c = board.atNumber(k);
        if (c.isOppPiece() && CanReach(board, Square::fromCellNumber(k), target, c.kind())) {
            return true;
        }
    }
    return false;
}

bool LeavesKingAttacked(const Board& board, Square t, Square f) {
    Board after = board;
    after.set(t, board.at(f));
    after.set(f, Cell::empty());
    return IsAttacked(after, FindOwnKing(after));
}

bool SquareAttacked(const Board& board, Square t, Square f) {
    Board lifted = board;
    lifted.set(f, Cell::empty());
    return IsAttacked(lifted, t);
}

bool InCheck(const Board& board) {
    return IsAttacked(board, FindOwnKing(board));
}

bool IsLegalMove(const Board& board, Square t, Square f, Cell piece, QStringList* messages) {
    const Kind kind = piece.kind();
    if (!inTable(kind) || !t.isOnBoard() || !f.isOnBoard()) return false;
    const bool valid = CanReach(board, t, f, kind);
    if (isKing(kind)) {
        if (SquareAttacked(board, t, f)) {
            if (messages) messages->append(kMsgKingCannotEscape.toString());
            return false;
        }
    } else if (LeavesKingAttacked(board, t, f)) {
        if (messages) messages->append(kMsgMoveLeavesCheck.toString());
        return false;
    }
    return valid;
}

bool IsLegalDrop(const Board& board, Square t, Cell piece, QStringList* messages) {
    if (!t.isOnBoard()) return false;
    bool result = true;
    const auto refuse = [&](QUtf8StringView text) {
        result = false;
        if (messages) messages->append(text.toString());
    };
    switch (piece.kind()) {
        case Kind::Fu:
            if (t.y == 0) refuse(kMsgCannotDropThere);
            for (int y = 0; y < kBoardSize; ++y) {
                if (board.at({t.x, y}) == Cell::own(Kind::Fu)) {
                    refuse(kMsgTwoPawns);
                    break;
                }
            }
            break;
        case Kind::Ke:
            if (t.y <= 1) refuse(kMsgCannotDropThere);
            break;
        default:
            break;
    }
    return result;
}

}  // namespace shogi
