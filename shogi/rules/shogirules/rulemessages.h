#pragma once

#include <QStringView>

namespace shogi {

// The texts the rules show the player, each in a box with an OK button.
inline constexpr QStringView kMsgMoveLeavesCheck = u"王手のため、その手は使えません。";
inline constexpr QStringView kMsgKingCannotEscape = u"そこには逃げられません。";
inline constexpr QStringView kMsgCannotDropThere = u"そこには打てません。";
inline constexpr QStringView kMsgTwoPawns = u"二歩です。";
inline constexpr QStringView kMsgCheck = u"王手！";

// The promotion question, with Yes and No buttons.
inline constexpr QStringView kMsgPromote = u"成りますか？";

// Taking the opponent's king ends the game: the winner sends the first text to
// the loser (as the end of the game) and shows the second in its own message
// box.
inline constexpr QStringView kMsgYouLose = u"あなたの負けです。";
inline constexpr QStringView kMsgYouWin = u"あなたの勝ちです。";

}  // namespace shogi
