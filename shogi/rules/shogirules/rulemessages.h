#pragma once

#include <QCoreApplication>
#include <QString>
#include <QUtf8StringView>

namespace shogi {

// The texts the rules show the player, each in a box with an OK button. The
// rules hand them out as they stand here; a window shows them through
// shownRuleText, in the user's language.
inline constexpr QUtf8StringView kMsgMoveLeavesCheck =
    QT_TRANSLATE_NOOP("shogi", "王手のため、その手は使えません。");
inline constexpr QUtf8StringView kMsgKingCannotEscape =
    QT_TRANSLATE_NOOP("shogi", "そこには逃げられません。");
inline constexpr QUtf8StringView kMsgCannotDropThere =
    QT_TRANSLATE_NOOP("shogi", "そこには打てません。");
inline constexpr QUtf8StringView kMsgTwoPawns = QT_TRANSLATE_NOOP("shogi", "二歩です。");
inline constexpr QUtf8StringView kMsgCheck = QT_TRANSLATE_NOOP("shogi", "王手！");

// The promotion question, with Yes and No buttons.
inline constexpr QUtf8StringView kMsgPromote = QT_TRANSLATE_NOOP("shogi", "成りますか？");

// Taking the opponent's king ends the game: the winner sends the first text to
// the loser (as the end of the game, always as it stands) and shows the second
// in its own message box.
inline constexpr QUtf8StringView kMsgYouLose = "あなたの負けです。";
inline constexpr QUtf8StringView kMsgYouWin = QT_TRANSLATE_NOOP("shogi", "あなたの勝ちです。");

// One of the texts above as the player reads it.
inline QString shownRuleText(const QString& text) {
    return QCoreApplication::translate("shogi", text.toUtf8().constData());
}

}  // namespace shogi
