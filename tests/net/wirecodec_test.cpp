#include <gtest/gtest.h>

#include "wirecodec.h"

namespace net {
namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

TEST(WireCodec, WritesUtf16LowByteFirstWithoutMarkOrEnd) {
    EXPECT_EQ(encodeMessage(u"S:1"), bytes({'S', 0, ':', 0, '1', 0}));
    // 将 is U+5C06, 棋 U+68CB.
    EXPECT_EQ(encodeMessage(u"将棋"), bytes({0x06, 0x5C, 0xCB, 0x68}));
    EXPECT_TRUE(encodeMessage(u"").isEmpty());
    // The bytes that go out without a copy are the same.
    for (const QStringView text : {QStringView(u"S:1"), QStringView(u"将棋"), QStringView()}) {
        QByteArray scratch;
        EXPECT_EQ(wireBytes(text, scratch), encodeMessage(text));
    }
}

TEST(WireCodec, DecodesWhatItEncodesCharacterForCharacter) {
    QString text = QStringLiteral("SYOUGI_MSG4:あなたの負けです。｜Ａ");
    text.append(QChar(0));       // a NUL survives
    text.append(QChar(0xD83D));  // so does half a surrogate pair
    text.append(QChar(0xFFFF));
    const QByteArray wire = encodeMessage(text);
    EXPECT_EQ(wire.size(), text.size() * 2);
    EXPECT_EQ(decodeMessage(wire), text);
}

TEST(WireCodec, LeavesAnOddLastByteUndecoded) {
    EXPECT_EQ(decodeMessage(bytes({'O', 0, 'K'})), u"O");
    EXPECT_EQ(decodeMessage(bytes({0x06})), u"");
}

}  // namespace
}  // namespace net
