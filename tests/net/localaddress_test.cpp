#include <gtest/gtest.h>

#include <QHostAddress>

#include "localaddress.h"

namespace net {
namespace {

TEST(GetMyLocalIPString, ReadsTheAddressBytesLowestFirst) {
    EXPECT_EQ(GetMyLocalIPString(0x0500000A), u"10.0.0.5");
    EXPECT_EQ(GetMyLocalIPString(0x0000010A), u"10.1.0.0");
    EXPECT_EQ(GetMyLocalIPString(0x0A01A8C0), u"192.168.1.10");
    EXPECT_EQ(GetMyLocalIPString(0x0100007F), u"127.0.0.1");
    EXPECT_EQ(GetMyLocalIPString(0), u"0.0.0.0");
    EXPECT_EQ(GetMyLocalIPString(0xFFFFFFFF), u"255.255.255.255");
}

TEST(ResolveHost, TurnsAddressTextIntoTheSameValue) {
    EXPECT_EQ(ResolveHost(QStringLiteral("10.0.0.5")), 0x0500000Au);
    EXPECT_EQ(ResolveHost(QStringLiteral("192.168.1.10")), 0x0A01A8C0u);
    EXPECT_EQ(ResolveHost(QStringLiteral("127.1")), 0x0100007Fu);  // the short form
    EXPECT_EQ(GetMyLocalIPString(*ResolveHost(QStringLiteral("172.16.254.3"))), u"172.16.254.3");
}

TEST(ResolveHost, LeavesHostNamesAndNonsenseAlone) {
    EXPECT_FALSE(ResolveHost(QStringLiteral("localhost")));
    EXPECT_FALSE(ResolveHost(QStringLiteral("server.example")));
    EXPECT_FALSE(ResolveHost(QString()));
    EXPECT_FALSE(ResolveHost(QStringLiteral("1.2.3.4.5")));
    EXPECT_FALSE(ResolveHost(QStringLiteral("256.1.1.1")));
    EXPECT_FALSE(ResolveHost(QStringLiteral("１２７.0.0.1")));  // full-width digits
}

TEST(GetMyLocalIPAddress, IsAnAddressOfThisMachineOthersCanReach) {
    const quint32 ip = GetMyLocalIPAddress();
    const QString text = GetMyLocalIPString(ip);
    const QHostAddress address(text);
    ASSERT_EQ(address.protocol(), QAbstractSocket::IPv4Protocol) << text.toStdString();
    // Either a real interface address or, on a machine without one, 127.0.0.1
    // itself; never another loopback address such as 127.0.1.1.
    if (address.isLoopback()) {
        EXPECT_EQ(text, u"127.0.0.1");
    }
    EXPECT_EQ(ResolveHost(text), ip);
}

}  // namespace
}  // namespace net
