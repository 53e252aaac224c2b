#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "shogirules/hand.h"
#include "shogirules/kind.h"
#include "shogirules/square.h"

namespace records {

// How KIF and CSA name pieces and squares.

// The KIF name of a piece as it stands ("歩", "成銀", "龍"); the first
// player's king is "玉", the second's "王".
QString kifPieceName(shogi::Kind kind);

// The kind a KIF piece name at the start of `text` stands for, and how many
// characters the name takes; the usual one-character forms of the promoted
// pieces ("杏", "圭", "全", "竜") are read too.
struct KifPiece {
    shogi::Kind kind;
    int length;
};
std::optional<KifPiece> kifPieceAt(QStringView text);

// The one-character name a KIF board diagram draws a piece with ("と", "全",
// "龍"); the first player's king is "玉", the second's "王".
QString kifBoardName(shogi::Kind kind);

// A hand as KIF's "先手の持駒：" line writes it: rook, bishop, gold, silver,
// knight, lance, pawn, each with its count in kanji when more than one and
// followed by a full-width blank ("角　歩二　"); "なし" for an empty hand.
QString kifHandText(const shogi::Hand& hand);

// The hand such a line names; the pieces may also be parted by plain blanks
// and counted in digits. Nothing when a part is no hand piece or count.
std::optional<shogi::Hand> handOfKifText(QStringView text);

// "７六": the full-width file and the kanji rank.
QString kifSquare(shogi::Square s);

// The square of a file digit and a rank (kanji, full-width or plain digits).
std::optional<shogi::Square> kifSquareOf(QChar file, QChar rank);

// The CSA code of a kind ("FU", "OU", "RY"), and the kind of a code.
QString csaCode(shogi::Kind kind);
std::optional<shogi::Kind> kindFromCsa(QStringView code);

// "77": file and rank digits as CSA writes a square and KIF an origin; a
// square from them ('1'..'9' each).
QString digitSquare(shogi::Square s);
std::optional<shogi::Square> squareOfDigits(QChar file, QChar rank);

}  // namespace records
