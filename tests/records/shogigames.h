#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <random>
#include <utility>
#include <vector>

#include "shogigame.h"
#include "shogirules/legalmoves.h"
#include "shogirules/movemessage.h"
#include "shogirules/moverules.h"

// Random shogi games played as two programs play them: each holds the
// position from its own side and moves as its player's drag would, through
// the rules (promotion answered Yes or No where it is asked), and the move
// travels as the move message the other program takes. One of them keeps the
// record the way the program does: its own positions and the received ones.

namespace records::test {

// SFEN's board, side to move and hands (rook, bishop, gold, silver, knight,
// lance, pawn; the first player's in capitals first), the part of a position
// every reader agrees on.
inline QString sfenOf(const shogi::Board& firstView, const shogi::Hand& first,
                      const shogi::Hand& second, Player toMove) {
    using shogi::Kind;
    const auto letter = [](Kind k) -> QString {
        switch (k) {
            case Kind::Fu:
                return QStringLiteral("p");
            case Kind::Ky:
                return QStringLiteral("l");
            case Kind::Ke:
                return QStringLiteral("n");
            case Kind::Gi:
                return QStringLiteral("s");
            case Kind::Ki:
                return QStringLiteral("g");
            case Kind::Ou:
            case Kind::Gy:
                return QStringLiteral("k");
            case Kind::Hi:
                return QStringLiteral("r");
            case Kind::Ka:
                return QStringLiteral("b");
            case Kind::To:
                return QStringLiteral("+p");
            case Kind::NC:
                return QStringLiteral("+l");
            case Kind::NK:
                return QStringLiteral("+n");
            case Kind::NG:
                return QStringLiteral("+s");
            case Kind::Um:
                return QStringLiteral("+b");
            case Kind::Ry:
                return QStringLiteral("+r");
            default:
                return {};
        }
    };
    QString sfen;
    for (int y = 0; y < shogi::kBoardSize; ++y) {
        int blanks = 0;
        for (int x = 0; x < shogi::kBoardSize; ++x) {
            const shogi::Cell c = firstView.at({x, y});
            if (c.isEmpty()) {
                ++blanks;
                continue;
            }
            if (blanks) sfen += QString::number(std::exchange(blanks, 0));
            sfen += c.isOwnPiece() ? letter(c.kind()).toUpper() : letter(c.kind());
        }
        if (blanks) sfen += QString::number(blanks);
        if (y + 1 < shogi::kBoardSize) sfen += u'/';
    }
    sfen += toMove == Player::First ? QStringLiteral(" b ") : QStringLiteral(" w ");
    QString hands;
    for (const shogi::Hand* hand : {&first, &second}) {
        for (Kind k : {Kind::Hi, Kind::Ka, Kind::Ki, Kind::Gi, Kind::Ke, Kind::Ky, Kind::Fu}) {
            const int n = hand->count(k);
            if (n == 0) continue;
            if (n > 1) hands += QString::number(n);
            hands += hand == &first ? letter(k).toUpper() : letter(k);
        }
    }
    return sfen + (hands.isEmpty() ? QStringLiteral("-") : hands);
}

struct PlayedShogiGame {
    QStringList lines;           // the record as the recording program keeps it
    std::vector<QString> sfens;  // the position after every move, as the programs held it
    bool recorderFirst = true;
    int captures = 0, drops = 0, promotions = 0, declined = 0;
};

// Plays game `seed` of at most `maxMoves` moves; it ends early when a king is
// taken. Program 0 keeps the record; it moves first when `recorderFirst`.
inline PlayedShogiGame playShogiGame(unsigned seed, bool recorderFirst, int maxMoves) {
    using namespace shogi;
    std::mt19937 random(seed);
    PlayedShogiGame game;
    game.recorderFirst = recorderFirst;
    std::array<ShogiPosition, 2> programs{};
    int mover = recorderFirst ? 0 : 1;
    for (int moveNo = 1; moveNo <= maxMoves; ++moveNo) {
        ShogiPosition& own = programs[static_cast<std::size_t>(mover)];
        const std::vector<LegalMove> choices = LegalMoves(own);
        if (choices.empty()) break;
        const LegalMove& choice = choices[random() % choices.size()];
        own = choice.after;
        const MoveOutcome& o = choice.outcome;
        game.captures += o.captured.has_value();
        game.drops += choice.release.fromHand;
        game.promotions += o.promoted;
        game.declined +=
            !o.promoted && !choice.release.fromHand && PromotedCode(choice.release.piece) &&
            (choice.release.to->inPromotionZone() || choice.release.from.inPromotionZone());
        const auto received = parseMoveMsg(BuildMoveMsg(own, moveNo));
        ShogiPosition& other = programs[static_cast<std::size_t>(1 - mover)];
        (void)other.Ban.load(received->positionString);
        other.MyHand = received->myHand;
        other.OppHand = received->oppHand;

        const ShogiPosition& recorder = programs[0];
        game.lines.append(mover == 0 ? own.Ban.positionString() : received->positionString);
        const bool recorderIsFirst = recorderFirst;
        const Board firstView = recorderIsFirst ? recorder.Ban : recorder.Ban.rotated();
        const Hand& firstHand = recorderIsFirst ? recorder.MyHand : recorder.OppHand;
        const Hand& secondHand = recorderIsFirst ? recorder.OppHand : recorder.MyHand;
        const bool firstMoved = (mover == 0) == recorderFirst;
        game.sfens.push_back(
            sfenOf(firstView, firstHand, secondHand, firstMoved ? Player::Second : Player::First));
        if (o.kingCaptured) break;
        mover = 1 - mover;
    }
    return game;
}

}  // namespace records::test
