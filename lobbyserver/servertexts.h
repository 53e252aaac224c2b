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

}  // namespace lobby
