#include "socketerrortext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <array>
#include <optional>

#include "sockettexts.h"

namespace net {

namespace {

struct ErrorText {
    int code;
    const char* text;  // UTF-8, the source of its translation
};

// Sorted by code.
constexpr std::array kErrorTexts = {
    ErrorText{10004, QT_TRANSLATE_NOOP("net", "呼び出しが取り消された。")},
    ErrorText{
        10013,
        QT_TRANSLATE_NOOP(
            "net", "指定されたアドレスは、ブロードキャストパケットの送信をサポートしていない。")},
    ErrorText{10014,
              QT_TRANSLATE_NOOP("net", "32ビットインターネットアドレス指定に誤りがあります。")},
    ErrorText{10022, QT_TRANSLATE_NOOP("net", "関数の呼び出し順番に誤りがある。")},
    ErrorText{10024, QT_TRANSLATE_NOOP("net", "利用可能なファイル番号が存在しない。")},
    ErrorText{10035, QT_TRANSLATE_NOOP("net", "このソケットはノンブロッキング型である。")},
    ErrorText{10036, QT_TRANSLATE_NOOP("net", "ブロッキング呼び出し進行中。")},
    ErrorText{10037, QT_TRANSLATE_NOOP("net", "ノンブロッキング型の処理を処理中。")},
    ErrorText{10038, QT_TRANSLATE_NOOP("net", "ソケット以外を指定した。")},
    ErrorText{10039, QT_TRANSLATE_NOOP("net", "リモートアドレスが指定されていない。")},
    ErrorText{10040, QT_TRANSLATE_NOOP("net", "データがバッファより大きいので切りつめられた。")},
    ErrorText{10041,
              QT_TRANSLATE_NOOP("net", "ソケットは指定されたプロトコルをサポートしていない。")},
    ErrorText{10042, QT_TRANSLATE_NOOP("net", "プロトコルのオプションに誤りがある。")},
    ErrorText{10043, QT_TRANSLATE_NOOP("net", "指定されたプロトコルはサポートされていない。")},
    ErrorText{10044, QT_TRANSLATE_NOOP("net", "指定されたソケットタイプはサポートされていない。")},
    ErrorText{10045,
              QT_TRANSLATE_NOOP("net", "指定されたソケットがサポートしていない操作である。")},
    ErrorText{10046,
              QT_TRANSLATE_NOOP("net", "指定されたアドレスファミリがサポートされていない。")},
    ErrorText{
        10047,
        QT_TRANSLATE_NOOP(
            "net", "指定されたプロトコルでは、指定されたアドレスファミリがサポートされていない。")},
    ErrorText{10048, QT_TRANSLATE_NOOP("net", "指定されたアドレスは使用中。")},
    ErrorText{10049, QT_TRANSLATE_NOOP("net", "指定されたアドレスは使用できない。")},
    ErrorText{10050, QT_TRANSLATE_NOOP("net", "ネットワークがダウンしている。")},
    ErrorText{10051, QT_TRANSLATE_NOOP("net", "リモートホストのネットワークに接続できない。")},
    ErrorText{10052, QT_TRANSLATE_NOOP("net", "ネットワークから切断された。")},
    ErrorText{10053, QT_TRANSLATE_NOOP("net", "ネットワーク不良で接続が中止された。")},
    ErrorText{10054, QT_TRANSLATE_NOOP("net", "リモートホストから切断された。")},
    ErrorText{10055, QT_TRANSLATE_NOOP("net", "バッファ領域不足。")},
    ErrorText{10056, QT_TRANSLATE_NOOP("net", "ソケットはすでに接続されている。")},
    ErrorText{10057, QT_TRANSLATE_NOOP("net", "ソケットが接続されていない。")},
    ErrorText{10058, QT_TRANSLATE_NOOP("net", "ソケットがシャットダウンされている。")},
    ErrorText{10060, QT_TRANSLATE_NOOP("net", "接続処理タイムアウト。")},
    ErrorText{10061, QT_TRANSLATE_NOOP("net", "接続が拒否された。")},
    ErrorText{10064, QT_TRANSLATE_NOOP("net", "リモートホストがダウンしている。")},
    ErrorText{10065, QT_TRANSLATE_NOOP("net", "ホストへのルートが存在しない。")},
    ErrorText{10067, QT_TRANSLATE_NOOP("net", "プロセスが多すぎます。")},
    ErrorText{10091, QT_TRANSLATE_NOOP(
                         "net", "ネットワークサブシステムに通信するための準備ができていない。")},
    ErrorText{10092, QT_TRANSLATE_NOOP("net", "指定されたバージョンがサポートされていない。")},
    ErrorText{10093,
              QT_TRANSLATE_NOOP("net", "WSAStartup関数を呼び出していないか、失敗しています。")},
    ErrorText{11001, QT_TRANSLATE_NOOP("net", "ホストが見つからない。")},
    ErrorText{11002, QT_TRANSLATE_NOOP("net", "権限があるホストが見つからない。")},
    ErrorText{11003, QT_TRANSLATE_NOOP("net", "修復不可能なエラーが発生した。")},
    ErrorText{11004, QT_TRANSLATE_NOOP("net", "データレコードの型が要求されていない。")},
};

static_assert(std::is_sorted(kErrorTexts.begin(), kErrorTexts.end(),
                             [](const ErrorText& a, const ErrorText& b) {
                                 return a.code < b.code;
                             }));

// The sentences the layer hands out with values put in: a window knows them
// by their fixed parts and puts the same values into their translation.
constexpr std::array kFilledTexts = {kBadPortText};

// The values of `text` when it is `source` with its %1…%9 filled in, by their
// numbers; nothing when it is not.
std::optional<QStringList> valuesIn(const QString& source, const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%([1-9])"));
    QString pattern = QStringLiteral("^");
    QList<int> numbers;
    qsizetype at = 0;
    for (const QRegularExpressionMatch& m : marker.globalMatch(source)) {
        pattern += QRegularExpression::escape(source.mid(at, m.capturedStart() - at));
        pattern += QStringLiteral("(.*?)");
        numbers << m.captured(1).toInt();
        at = m.capturedEnd();
    }
    pattern += QRegularExpression::escape(source.mid(at)) + u'$';
    const QRegularExpressionMatch match =
        QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption).match(text);
    if (!match.hasMatch()) return std::nullopt;
    QStringList values(numbers.isEmpty() ? 0 : *std::max_element(numbers.begin(), numbers.end()));
    for (qsizetype i = 0; i < numbers.size(); ++i)
        values[numbers[i] - 1] = match.captured(static_cast<int>(i) + 1);
    return values;
}

}  // namespace

QString SocketErrorText(int code) {
    const auto* it =
        std::lower_bound(kErrorTexts.begin(), kErrorTexts.end(), code,
                         [](const ErrorText& entry, int value) { return entry.code < value; });
    if (it != kErrorTexts.end() && it->code == code) return QString::fromUtf8(it->text);
    return u'(' + QString::number(code) + u')';
}

QString filledIn(const QString& pattern, const QStringList& values) {
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const int n =
            pattern[i] == u'%' && i + 1 < pattern.size() ? pattern[i + 1].digitValue() : -1;
        if (n >= 1 && n <= values.size()) {
            out += values[n - 1];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

QString shownSocketText(const QString& text) {
    for (const char* source : kFilledTexts)
        if (const auto values = valuesIn(QString::fromUtf8(source), text))
            return filledIn(QCoreApplication::translate("net", source), *values);
    return QCoreApplication::translate("net", text.toUtf8().constData());
}

}  // namespace net
