#include "shogirules/position.h"

#include <utility>

namespace shogi {

void ShogiPosition::reset() {
    Ban = Board::initial();
    MyHand.clear();
    OppHand.clear();
}

bool ShogiPosition::CapturePiece(Cell captured) {
    const Kind kind = unpromotedKind(captured.kind());
    if (isKing(kind)) return true;
    if (HandEntry* entry = MyHand.find(kind)) ++entry->count;
    return false;
}

std::optional<Square> ownKingSquare(const Board& board) {
    for (int k = 0; k < kCellCount; ++k) {
        const Cell c = board.atNumber(k);
        if (c.isOwnPiece() && isKing(c.kind())) return Square::fromCellNumber(k);
    }
    return std::nullopt;
}

Square FindOwnKing(const Board& board) {
    return ownKingSquare(board).value_or(Square{0, 0});
}

Square ShogiPosition::FindOwnKing() const {
    return shogi::FindOwnKing(Ban);
}

std::optional<PositionError> RotatePosition(int moveNo, QString& positionString, Hand& myHand,
                                            Hand& oppHand) {
    if (moveNo % 2 != 0) return std::nullopt;
    Board board;
    if (const auto error = board.load(positionString)) return error;
    positionString = board.rotated().positionString();
    std::swap(myHand, oppHand);
    return std::nullopt;
}

}  // namespace shogi
