#pragma once

#include <QtGlobal>

namespace net {

// The texts the programs show about their sockets (UTF-8). The layer hands
// them to the caller, which puts them where that program shows such things
// (through shownSocketText in a window).
inline constexpr char kStartupFailedText[] = QT_TRANSLATE_NOOP("net", "初期化失敗");
inline constexpr char kListenSocketFailedText[] =
    QT_TRANSLATE_NOOP("net", "リスンソケット作成失敗");
inline constexpr char kBindFailedText[] = QT_TRANSLATE_NOOP("net", "BINDできません。");
inline constexpr char kListenFailedText[] = QT_TRANSLATE_NOOP("net", "リスン失敗");
inline constexpr char kWaitingForClientText[] = QT_TRANSLATE_NOOP("net", "クライアント待受");

// QUOR_PORT (%1) holds a value (%2) that is no port; the lowest port is %3.
inline constexpr char kBadPortText[] = QT_TRANSLATE_NOOP(
    "net", "環境変数 %1 の値「%2」はポート番号ではありません。%3～65535 の数を指定してください。");

}  // namespace net
