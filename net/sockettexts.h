#pragma once

namespace net {

// The texts the programs show about their sockets. The layer hands them to
// the caller, which puts them where that program shows such things.
inline constexpr char16_t kStartupFailedText[] = u"初期化失敗";
inline constexpr char16_t kListenSocketFailedText[] = u"リスンソケット作成失敗";
inline constexpr char16_t kBindFailedText[] = u"BINDできません。";
inline constexpr char16_t kListenFailedText[] = u"リスン失敗";
inline constexpr char16_t kWaitingForClientText[] = u"クライアント待受";

}  // namespace net
