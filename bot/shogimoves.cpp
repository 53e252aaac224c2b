#include "shogimoves.h"

#include <vector>

#include "shogirules/moverules.h"

namespace bot {

using shogi::Cell;
using shogi::Kind;
using shogi::ShogiPosition;
using shogi::Square;

namespace {

constexpr int kLast = shogi::kBoardSize - 1;

Square turned(Square s) {
    return {kLast - s.x, kLast - s.y};
}

// The engine's letter of a kind, and whether that kind is the promoted form.
struct EngineLetter {
    char letter = 0;
    bool promoted = false;
};

std::optional<EngineLetter> engineLetter(Kind kind) {
    switch (kind) {
        case Kind::Fu:
            return EngineLetter{'p', false};
        case Kind::Ky:
            return EngineLetter{'l', false};
        case Kind::Ke:
            return EngineLetter{'n', false};
        case Kind::Gi:
            return EngineLetter{'s', false};
        case Kind::Ki:
            return EngineLetter{'g', false};
        case Kind::Ou:
        case Kind::Gy:
            return EngineLetter{'k', false};
        case Kind::Hi:
            return EngineLetter{'r', false};
        case Kind::Ka:
            return EngineLetter{'b', false};
        case Kind::To:
            return EngineLetter{'p', true};
        case Kind::NC:
            return EngineLetter{'l', true};
        case Kind::NK:
            return EngineLetter{'n', true};
        case Kind::NG:
            return EngineLetter{'s', true};
        case Kind::Um:
            return EngineLetter{'b', true};
        case Kind::Ry:
            return EngineLetter{'r', true};
        case Kind::Dummy:
            break;
    }
    return std::nullopt;
}

// The kinds a player may drop, by the engine's upper-case letter.
std::optional<Kind> dropKind(QChar letter) {
    switch (letter.unicode()) {
        case u'P':
            return Kind::Fu;
        case u'L':
            return Kind::Ky;
        case u'N':
            return Kind::Ke;
        case u'S':
            return Kind::Gi;
        case u'G':
            return Kind::Ki;
        case u'B':
            return Kind::Ka;
        case u'R':
            return Kind::Hi;
        default:
            return std::nullopt;
    }
}

std::optional<Square> squareFromEngine(QChar file, QChar rank, bool botIsFirst) {
    if (file < u'1' || file > u'9' || rank < u'a' || rank > u'i') return std::nullopt;
    // The first player's view: file 9 is column 0, rank a is row 0.
    const Square firstView{9 - (file.unicode() - u'0'), rank.unicode() - u'a'};
    return botIsFirst ? firstView : turned(firstView);
}

bool isHandKind(Kind kind) {
    return shogi::Hand().find(kind) != nullptr;
}

}  // namespace

QString engineSquare(Square s, bool botIsFirst) {
    const Square firstView = botIsFirst ? s : turned(s);
    return QString(QChar(u'0' + (9 - firstView.x))) + QChar(u'a' + firstView.y);
}

QString engineMoveText(const ShogiMove& move, bool botIsFirst) {
    if (move.drop) {
        const auto letter = engineLetter(move.kind);
        return QString(QChar::fromLatin1(letter ? letter->letter : '?').toUpper()) + u'*' +
               engineSquare(move.to, botIsFirst);
    }
    return engineSquare(move.from, botIsFirst) + engineSquare(move.to, botIsFirst) +
           (move.promote ? QStringLiteral("+") : QString());
}

std::optional<ShogiMove> parseEngineMove(QStringView text, bool botIsFirst) {
    ShogiMove move;
    if (text.size() == 4 && text[1] == u'*') {
        const auto kind = dropKind(text[0]);
        const auto to = squareFromEngine(text[2], text[3], botIsFirst);
        if (!kind || !to) return std::nullopt;
        move.drop = true;
        move.kind = *kind;
        move.to = *to;
        return move;
    }
    if (text.size() != 4 && !(text.size() == 5 && text[4] == u'+')) return std::nullopt;
    const auto from = squareFromEngine(text[0], text[1], botIsFirst);
    const auto to = squareFromEngine(text[2], text[3], botIsFirst);
    if (!from || !to || *from == *to) return std::nullopt;
    move.from = *from;
    move.to = *to;
    move.promote = text.size() == 5;
    return move;
}

std::optional<ShogiMove> deriveOpponentMove(const ShogiPosition& before,
                                            const ShogiPosition& after) {
    std::vector<Square> changed;
    for (int k = 0; k < shogi::kCellCount; ++k) {
        if (before.Ban.atNumber(k) != after.Ban.atNumber(k))
            changed.push_back(Square::fromCellNumber(k));
    }
    ShogiMove move;
    if (changed.size() == 1) {
        const Cell placed = after.Ban.at(changed[0]);
        if (!before.Ban.at(changed[0]).isEmpty() || !placed.isOppPiece() ||
            !isHandKind(placed.kind()))
            return std::nullopt;
        move.drop = true;
        move.kind = placed.kind();
        move.to = changed[0];
    } else if (changed.size() == 2) {
        // The cell the piece left is the one that is empty now.
        const bool firstLeft = after.Ban.at(changed[0]).isEmpty();
        move.from = firstLeft ? changed[0] : changed[1];
        move.to = firstLeft ? changed[1] : changed[0];
        const Cell moved = before.Ban.at(move.from);
        const Cell arrived = after.Ban.at(move.to);
        if (!moved.isOppPiece() || !after.Ban.at(move.from).isEmpty() || !arrived.isOppPiece())
            return std::nullopt;
        move.promote = arrived.kind() != moved.kind();
    } else {
        return std::nullopt;
    }

    // The opponent's own view: his pieces at the bottom, his hand his own.
    ShogiPosition his{before.Ban.rotated(), before.OppHand, before.MyHand};
    shogi::DragRelease release;
    release.fromHand = move.drop;
    release.piece = move.drop ? Cell::own(move.kind) : his.Ban.at(turned(move.from));
    release.from = turned(move.from);
    release.to = turned(move.to);
    shogi::MoveAttemptHooks hooks;
    hooks.askPromotion = [&move] { return move.promote; };
    const shogi::MoveOutcome outcome = shogi::AttemptMove(his, release, hooks);
    if (!outcome.accepted() || outcome.promoted != move.promote) return std::nullopt;
    const ShogiPosition seen{his.Ban.rotated(), his.OppHand, his.MyHand};
    if (seen != after) return std::nullopt;
    return move;
}

std::optional<shogi::MoveOutcome> applyOwnMove(ShogiPosition& position, const ShogiMove& move) {
    ShogiPosition trial = position;
    shogi::DragRelease release;
    release.fromHand = move.drop;
    release.piece = move.drop ? Cell::own(move.kind) : trial.Ban.at(move.from);
    release.from = move.from;
    release.to = move.to;
    shogi::MoveAttemptHooks hooks;
    hooks.askPromotion = [&move] { return move.promote; };
    const shogi::MoveOutcome outcome = shogi::AttemptMove(trial, release, hooks);
    if (!outcome.accepted() || outcome.promoted != move.promote) return std::nullopt;
    position = trial;
    return outcome;
}

std::optional<ShogiMove> kingCapture(const ShogiPosition& position) {
    std::optional<Square> king;
    for (int k = 0; k < shogi::kCellCount && !king; ++k) {
        const Cell c = position.Ban.atNumber(k);
        if (c.isOppPiece() && shogi::isKing(c.kind())) king = Square::fromCellNumber(k);
    }
    if (!king) return std::nullopt;
    for (int k = 0; k < shogi::kCellCount; ++k) {
        const Cell c = position.Ban.atNumber(k);
        const Square from = Square::fromCellNumber(k);
        if (c.isOwnPiece() && shogi::IsLegalMove(position.Ban, *king, from, c, nullptr)) {
            ShogiMove move;
            move.from = from;
            move.to = *king;
            return move;
        }
    }
    return std::nullopt;
}

QStringList editCommands(const ShogiPosition& position, bool botIsFirst) {
    QStringList commands{QStringLiteral("edit"), QStringLiteral("#")};
    // The engine's edit mode starts with the first player's pieces; "c"
    // changes to the second player's.
    for (const bool firstPlayer : {true, false}) {
        if (!firstPlayer) commands << QStringLiteral("c");
        const bool own = firstPlayer == botIsFirst;
        for (int k = 0; k < shogi::kCellCount; ++k) {
            const Cell c = position.Ban.atNumber(k);
            if (c.isEmpty() || c.isOwnPiece() != own) continue;
            const auto letter = engineLetter(c.kind());
            if (!letter) continue;
            commands << QChar::fromLatin1(letter->letter) +
                            engineSquare(Square::fromCellNumber(k), botIsFirst) +
                            (letter->promoted ? QStringLiteral("+") : QString());
        }
        const shogi::Hand& hand = own ? position.MyHand : position.OppHand;
        for (const shogi::HandEntry& e : hand.entries) {
            const auto letter = engineLetter(e.code);
            for (qint32 i = 0; letter && i < e.count; ++i)
                commands << QChar::fromLatin1(letter->letter) + QStringLiteral("*");
        }
    }
    commands << QStringLiteral(".");
    return commands;
}

}  // namespace bot
