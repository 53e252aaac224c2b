#include <gtest/gtest.h>

#include "socketerrortext.h"

namespace net {
namespace {

TEST(SocketErrorText, CodesOfTheTableHaveTheirSentence) {
    EXPECT_EQ(SocketErrorText(10004), u"呼び出しが取り消された。");
    EXPECT_EQ(SocketErrorText(10048), u"指定されたアドレスは使用中。");
    EXPECT_EQ(SocketErrorText(10050), u"ネットワークがダウンしている。");
    EXPECT_EQ(SocketErrorText(10058), u"ソケットがシャットダウンされている。");
    EXPECT_EQ(SocketErrorText(10060), u"接続処理タイムアウト。");
    EXPECT_EQ(SocketErrorText(10061), u"接続が拒否された。");
    EXPECT_EQ(SocketErrorText(10091),
              u"ネットワークサブシステムに通信するための準備ができていない。");
    EXPECT_EQ(SocketErrorText(10093), u"WSAStartup関数を呼び出していないか、失敗しています。");
    EXPECT_EQ(SocketErrorText(11001), u"ホストが見つからない。");
    EXPECT_EQ(SocketErrorText(11004), u"データレコードの型が要求されていない。");
}

TEST(SocketErrorText, OtherCodesAreShownAsTheNumberInBrackets) {
    EXPECT_EQ(SocketErrorText(10059), u"(10059)");
    EXPECT_EQ(SocketErrorText(10062), u"(10062)");
    EXPECT_EQ(SocketErrorText(10066), u"(10066)");
    EXPECT_EQ(SocketErrorText(10090), u"(10090)");
    EXPECT_EQ(SocketErrorText(11005), u"(11005)");
    EXPECT_EQ(SocketErrorText(0), u"(0)");
    EXPECT_EQ(SocketErrorText(-1), u"(-1)");
}

TEST(SocketErrorText, EveryCodeOfTheDenseRangesHasATextOrTheNumber) {
    // The table has exactly 41 entries; the rest of each range falls through.
    int withText = 0;
    for (int code = 10000; code <= 11010; ++code) {
        const QString text = SocketErrorText(code);
        if (text != u'(' + QString::number(code) + u')') ++withText;
    }
    EXPECT_EQ(withText, 41);
}

}  // namespace
}  // namespace net
