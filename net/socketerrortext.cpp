#include "socketerrortext.h"

#include <algorithm>
#include <array>

namespace net {

namespace {

struct ErrorText {
    int code;
    const char16_t* text;
};

// Sorted by code.
constexpr std::array kErrorTexts = {
    ErrorText{10004, u"呼び出しが取り消された。"},
    ErrorText{10013, u"指定されたアドレスは、ブロードキャストパケットの送信をサポートしていない。"},
    ErrorText{10014, u"32ビットインターネットアドレス指定に誤りがあります。"},
    ErrorText{10022, u"関数の呼び出し順番に誤りがある。"},
    ErrorText{10024, u"利用可能なファイル番号が存在しない。"},
    ErrorText{10035, u"このソケットはノンブロッキング型である。"},
    ErrorText{10036, u"ブロッキング呼び出し進行中。"},
    ErrorText{10037, u"ノンブロッキング型の処理を処理中。"},
    ErrorText{10038, u"ソケット以外を指定した。"},
    ErrorText{10039, u"リモートアドレスが指定されていない。"},
    ErrorText{10040, u"データがバッファより大きいので切りつめられた。"},
    ErrorText{10041, u"ソケットは指定されたプロトコルをサポートしていない。"},
    ErrorText{10042, u"プロトコルのオプションに誤りがある。"},
    ErrorText{10043, u"指定されたプロトコルはサポートされていない。"},
    ErrorText{10044, u"指定されたソケットタイプはサポートされていない。"},
    ErrorText{10045, u"指定されたソケットがサポートしていない操作である。"},
    ErrorText{10046, u"指定されたアドレスファミリがサポートされていない。"},
    ErrorText{10047,
              u"指定されたプロトコルでは、指定されたアドレスファミリがサポートされていない。"},
    ErrorText{10048, u"指定されたアドレスは使用中。"},
    ErrorText{10049, u"指定されたアドレスは使用できない。"},
    ErrorText{10050, u"ネットワークがダウンしている。"},
    ErrorText{10051, u"リモートホストのネットワークに接続できない。"},
    ErrorText{10052, u"ネットワークから切断された。"},
    ErrorText{10053, u"ネットワーク不良で接続が中止された。"},
    ErrorText{10054, u"リモートホストから切断された。"},
    ErrorText{10055, u"バッファ領域不足。"},
    ErrorText{10056, u"ソケットはすでに接続されている。"},
    ErrorText{10057, u"ソケットが接続されていない。"},
    ErrorText{10058, u"ソケットがシャットダウンされている。"},
    ErrorText{10060, u"接続処理タイムアウト。"},
    ErrorText{10061, u"接続が拒否された。"},
    ErrorText{10064, u"リモートホストがダウンしている。"},
    ErrorText{10065, u"ホストへのルートが存在しない。"},
    ErrorText{10067, u"プロセスが多すぎます。"},
    ErrorText{10091, u"ネットワークサブシステムに通信するための準備ができていない。"},
    ErrorText{10092, u"指定されたバージョンがサポートされていない。"},
    ErrorText{10093, u"WSAStartup関数を呼び出していないか、失敗しています。"},
    ErrorText{11001, u"ホストが見つからない。"},
    ErrorText{11002, u"権限があるホストが見つからない。"},
    ErrorText{11003, u"修復不可能なエラーが発生した。"},
    ErrorText{11004, u"データレコードの型が要求されていない。"},
};

static_assert(std::is_sorted(kErrorTexts.begin(), kErrorTexts.end(),
                             [](const ErrorText& a, const ErrorText& b) {
                                 return a.code < b.code;
                             }));

}  // namespace

QString SocketErrorText(int code) {
    const auto* it =
        std::lower_bound(kErrorTexts.begin(), kErrorTexts.end(), code,
                         [](const ErrorText& entry, int value) { return entry.code < value; });
    if (it != kErrorTexts.end() && it->code == code) return QString::fromUtf16(it->text);
    return u'(' + QString::number(code) + u')';
}

}  // namespace net
