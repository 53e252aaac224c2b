#pragma once

#include <QStringView>

namespace lobby {

// The server's own sentences, shown in its window or written to its log.

inline constexpr QStringView kInvalidDataText = u"不正なデ－タが送信されました。";
inline constexpr QStringView kConnectedText = u"が接続してきました。port=";  // after the IP
inline constexpr QStringView kLoginAllowedText = u"のログイン許可";          // after the IP
inline constexpr QStringView kClosedText = u"をクロ－ズしました。";          // after the IP
inline constexpr QStringView kCloseEventText = u"CLOSE";
inline constexpr QStringView kAlreadyListeningText = u"既にクライアント待受中です。";

// What the log keeps of a running lobby besides logins and closes.
inline constexpr QStringView kPairedText = u"の対戦を組みました。";  // after "A と B"
inline constexpr QStringView kAndText = u"と";
inline constexpr QStringView kGameLinkedText = u"のゲ－ムがつながりました。";  // after the ID
inline constexpr QStringView kGameGoneText = u"のゲ－ムが切れました。";        // after the ID
inline constexpr QStringView kGameWaitsText =
    u"のゲ－ムが切れました。戻るのを待ちます。";                         // after the ID
inline constexpr QStringView kGameBackText = u"のゲ－ムが戻りました。";  // after the ID

// What the opponent's game program shows while the game waits, and when it
// goes on (chat lines of the server's).
inline constexpr QStringView kOpponentLostText = u"相手の接続が切れました。戻るのを待っています。";
inline constexpr QStringView kOpponentBackText = u"相手が戻りました。対局を続けます。";
inline constexpr QStringView kLoginRefusedText = u"のログイン拒否 ID=";        // IP, ..., ID
inline constexpr QStringView kDuplicateLoginText = u"の二重ログイン拒否 ID=";  // IP, ..., ID
inline constexpr QStringView kServerFullText = u"は満員のため拒否しました。";  // after the IP
inline constexpr QStringView kSlowedText =
    u"からのログインは失敗が続いたため1秒に1回だけ調べます。";  // after the IP
inline constexpr QStringView kForgedChatText =
    u"の送り主を偽ったチャットを捨てました。";  // after the ID
inline constexpr QStringView kSkippedLinesText =
    u"BrellowLogIn.txt: IDかパスワードのない行を使いません。行=";  // then the line numbers

}  // namespace lobby
