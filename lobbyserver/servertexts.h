#pragma once

#include <QStringView>
#include <QtGlobal>

namespace lobby {

// The server's own sentences, shown in its window and written to its log
// (UTF-8, the sources of their translation; %1, %2 … are an address, a user
// ID or a number: see Notice).

inline constexpr char kInvalidDataText[] =
    QT_TRANSLATE_NOOP("lobby", "不正なデ－タが送信されました。");
inline constexpr char kConnectedText[] =
    QT_TRANSLATE_NOOP("lobby", "%1が接続してきました。port=%2");  // IP, port
inline constexpr char kLoginAllowedText[] = QT_TRANSLATE_NOOP("lobby", "%1のログイン許可");  // IP
inline constexpr char kClosedText[] = QT_TRANSLATE_NOOP("lobby", "%1をクロ－ズしました。");  // IP
inline constexpr QStringView kCloseEventText = u"CLOSE";
inline constexpr char kAlreadyListeningText[] =
    QT_TRANSLATE_NOOP("lobby", "既にクライアント待受中です。");

// What the log keeps of a running lobby besides logins and closes.
inline constexpr char kPairedText[] =
    QT_TRANSLATE_NOOP("lobby", "%1と%2の対戦を組みました。");  // the two IDs
inline constexpr char kGameLinkedText[] =
    QT_TRANSLATE_NOOP("lobby", "%1のゲ－ムがつながりました。");  // ID
inline constexpr char kGameGoneText[] =
    QT_TRANSLATE_NOOP("lobby", "%1のゲ－ムが切れました。");  // ID
inline constexpr char kGameWaitsText[] =
    QT_TRANSLATE_NOOP("lobby", "%1のゲ－ムが切れました。戻るのを待ちます。");  // ID
inline constexpr char kGameBackText[] =
    QT_TRANSLATE_NOOP("lobby", "%1のゲ－ムが戻りました。");  // ID
inline constexpr char kLoginRefusedText[] =
    QT_TRANSLATE_NOOP("lobby", "%1のログイン拒否 ID=%2");  // IP, ID
inline constexpr char kDuplicateLoginText[] =
    QT_TRANSLATE_NOOP("lobby", "%1の二重ログイン拒否 ID=%2");  // IP, ID
inline constexpr char kServerFullText[] =
    QT_TRANSLATE_NOOP("lobby", "%1は満員のため拒否しました。");  // IP
inline constexpr char kSlowedText[] =
    QT_TRANSLATE_NOOP("lobby", "%1からのログインは失敗が続いたため1秒に1回だけ調べます。");  // IP
inline constexpr char kForgedChatText[] =
    QT_TRANSLATE_NOOP("lobby", "%1の送り主を偽ったチャットを捨てました。");  // ID
inline constexpr char kSkippedLinesText[] = QT_TRANSLATE_NOOP(
    "lobby", "BrellowLogIn.txt: IDかパスワードのない行を使いません。行=%1");  // line numbers

// What the opponent's game program shows while the game waits, and when it
// goes on (chat lines of the server's; they travel, so they stay as they are).
inline constexpr QStringView kOpponentLostText = u"相手の接続が切れました。戻るのを待っています。";
inline constexpr QStringView kOpponentBackText = u"相手が戻りました。対局を続けます。";

}  // namespace lobby
