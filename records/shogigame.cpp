#include "shogigame.h"

#include <QStringList>

#include "shoginames.h"
#include "shogirules/cell.h"
#include "shogirules/moverules.h"

namespace records {

using shogi::Board;
using shogi::Cell;
using shogi::Kind;
using shogi::Square;

namespace {

// The same cell seen from the other player: the board turned half round.
Square turned(Square s) {
    return {shogi::kBoardSize - 1 - s.x, shogi::kBoardSize - 1 - s.y};
}

Square seenBy(Square firstView, Player viewer) {
    return viewer == Player::First ? firstView : turned(firstView);
}

Player ownerOf(Cell cell) {
    return cell.side() == shogi::Side::Own ? Player::First : Player::Second;
}

Cell kingBlind(Cell c) {
    return shogi::isKing(c.kind()) ? Cell(Kind::Gy, c.side()) : c;
}

bool sameKind(Kind a, Kind b) {
    return a == b || (shogi::isKing(a) && shogi::isKing(b));
}

QString joined(const QStringList& messages, const QString& otherwise) {
    return messages.isEmpty() ? otherwise : messages.join(u' ');
}

// How many pieces of a hand kind (its promoted form counted in) a game's set
// has.
int piecesInASet(Kind kind) {
    switch (kind) {
        case Kind::Fu:
            return 18;
        case Kind::Hi:
        case Kind::Ka:
            return 2;
        default:
            return 4;
    }
}

}  // namespace

QString playerName(Player p) {
    return p == Player::First ? QStringLiteral("the first player (先手)")
                              : QStringLiteral("the second player (後手)");
}

shogi::Hand piecesOffBoard(const Board& board) {
    shogi::Hand off;
    for (shogi::HandEntry& e : off.entries)
        e.count = piecesInASet(e.code);
    for (int k = 0; k < shogi::kCellCount; ++k) {
        const Cell c = board.atNumber(k);
        if (shogi::HandEntry* e = off.find(shogi::unpromotedKind(c.kind()))) --e->count;
    }
    return off;
}

std::optional<QString> startProblem(const StartPosition& start) {
    shogi::Hand off = piecesOffBoard(start.board);
    for (shogi::HandEntry& e : off.entries) {
        const int held = start.first.count(e.code) + start.second.count(e.code);
        if (start.first.count(e.code) < 0 || start.second.count(e.code) < 0)
            return QStringLiteral("a hand holding fewer than no %1").arg(kifPieceName(e.code));
        if (e.count - held < 0)
            return QStringLiteral("%1 %2 on the board and in the hands: a game has %3")
                .arg(piecesInASet(e.code) - e.count + held)
                .arg(kifPieceName(e.code))
                .arg(piecesInASet(e.code));
    }
    for (Player p : {Player::First, Player::Second}) {
        int kings = 0;
        for (int k = 0; k < shogi::kCellCount; ++k) {
            const Cell c = start.board.atNumber(k);
            kings += shogi::isKing(c.kind()) && ownerOf(c) == p;
        }
        if (kings == 0) return QStringLiteral("no king of %1").arg(playerName(p));
        if (kings > 1) return QStringLiteral("%1 kings of %2").arg(kings).arg(playerName(p));
    }
    return std::nullopt;
}

std::optional<QString> beginFromSetUp(const StartPosition& start, ShogiGame& game) {
    if (auto problem = startProblem(start)) return problem;
    const ShogiGame setUp(start);
    if (setUp.start() != StartPosition{}) game = setUp;
    return std::nullopt;
}

ShogiGame::ShogiGame(const StartPosition& start) : start_(start), setUp_(true) {
    for (int k = 0; k < shogi::kCellCount; ++k) {
        const Cell c = start_.board.atNumber(k);
        if (shogi::isKing(c.kind()))
            start_.board.set(Square::fromCellNumber(k),
                             Cell(ownerOf(c) == Player::First ? Kind::Gy : Kind::Ou, c.side()));
    }
    state_.board = start_.board;
    state_.first = start_.first;
    state_.second = start_.second;
    state_.toMove = start_.toMove;
}

Board boardSeenBy(const Board& firstView, Player viewer) {
    return viewer == Player::First ? firstView : firstView.rotated();
}

bool samePieces(const Board& a, const Board& b) {
    for (int k = 0; k < shogi::kCellCount; ++k)
        if (kingBlind(a.atNumber(k)) != kingBlind(b.atNumber(k))) return false;
    return true;
}

std::optional<QString> ShogiGame::play(ShogiMove move) {
    State next = state_;
    if (auto refused = apply(next, move)) return refused;
    state_ = next;
    moves_.push_back({move, state_.board});
    return std::nullopt;
}

std::optional<QString> ShogiGame::apply(State& state, ShogiMove& move) {
    if (state.over) return QStringLiteral("the game ended when a king was taken");
    if (move.player != state.toMove) return QStringLiteral("it is the other player's turn");
    if (!move.to.isOnBoard() || (move.from && !move.from->isOnBoard()))
        return QStringLiteral("a square off the board");

    // The rules are written for the player at the bottom: the mover's view.
    Board view = boardSeenBy(state.board, move.player);
    const Square t = seenBy(move.to, move.player);
    QStringList messages;
    if (!move.from) {
        shogi::Hand& hand = move.player == Player::First ? state.first : state.second;
        shogi::HandEntry* entry = hand.find(move.piece);
        if (!entry || entry->count <= 0) return QStringLiteral("a drop of a piece not in hand");
        if (!view.at(t).isEmpty()) return QStringLiteral("a drop on an occupied square");
        const Cell piece = Cell::own(move.piece);
        if (!shogi::IsLegalDrop(view, t, piece, &messages))
            return joined(messages, QStringLiteral("a drop the rules forbid"));
        view.set(t, piece);
        --entry->count;
    } else {
        const Square f = seenBy(*move.from, move.player);
        const Cell piece = view.at(f);
        if (!piece.isOwnPiece()) return QStringLiteral("no own piece on the square moved from");
        if (!sameKind(piece.kind(), move.piece))
            return QStringLiteral("another piece stands on the square moved from");
        move.piece = piece.kind();
        if (view.at(t).isOwnPiece()) return QStringLiteral("a move onto an own piece");
        if (!shogi::IsLegalMove(view, t, f, piece, &messages))
            return joined(messages, QStringLiteral("a move the piece cannot make"));
        Cell arriving = piece;
        if (move.promote) {
            const auto promoted = shogi::PromotedCode(piece);
            if (!promoted) return QStringLiteral("a piece that cannot promote");
            if (!t.inPromotionZone() && !f.inPromotionZone())
                return QStringLiteral("a promotion outside the promotion zone");
            arriving = *promoted;
        }
        const Cell target = view.at(t);
        move.captured.reset();
        if (target.isOppPiece()) {
            move.captured = target.kind();
            if (shogi::isKing(target.kind())) {
                state.over = true;
            } else {
                shogi::Hand& hand = move.player == Player::First ? state.first : state.second;
                shogi::HandEntry* entry = hand.find(shogi::unpromotedKind(target.kind()));
                if (entry) ++entry->count;
            }
        }
        view.set(t, arriving);
        view.set(f, Cell::empty());
    }
    state.board = boardSeenBy(view, move.player);
    state.toMove = otherPlayer(move.player);
    return std::nullopt;
}

std::optional<ShogiMove> ShogiGame::moveTo(const Board& next) const {
    std::vector<Square> changed;
    for (int k = 0; k < shogi::kCellCount; ++k) {
        if (kingBlind(state_.board.atNumber(k)) != kingBlind(next.atNumber(k)))
            changed.push_back(Square::fromCellNumber(k));
        if (changed.size() > 2) return std::nullopt;
    }
    ShogiMove move;
    move.player = state_.toMove;
    if (changed.size() == 1) {
        const Cell arrived = next.at(changed[0]);
        if (!state_.board.at(changed[0]).isEmpty() || arrived.isEmpty()) return std::nullopt;
        move.to = changed[0];
        move.piece = arrived.kind();
        if (ownerOf(arrived) != state_.toMove) return std::nullopt;
    } else if (changed.size() == 2) {
        // The square left empty is where the piece came from.
        const bool firstLeft = next.at(changed[0]).isEmpty();
        const Square f = firstLeft ? changed[0] : changed[1];
        const Square t = firstLeft ? changed[1] : changed[0];
        const Cell piece = state_.board.at(f);
        const Cell arrived = next.at(t);
        if (!next.at(f).isEmpty() || piece.isEmpty() || arrived.isEmpty()) return std::nullopt;
        if (ownerOf(piece) != state_.toMove || ownerOf(arrived) != state_.toMove)
            return std::nullopt;
        move.from = f;
        move.to = t;
        move.piece = piece.kind();
        move.promote = !sameKind(arrived.kind(), piece.kind());
    } else {
        return std::nullopt;
    }
    State trial = state_;
    if (apply(trial, move) || !samePieces(trial.board, next)) return std::nullopt;
    return move;
}

}  // namespace records
