#include <gtest/gtest.h>

#include <algorithm>

#include "serverport.h"

namespace net {
namespace {

TEST(ServerPort, IsTheSystemPortUnlessSet) {
    EXPECT_EQ(portFromSetting({}, false).port, 8000);
    EXPECT_EQ(portFromSetting("", true).port, 8000);
    EXPECT_TRUE(portFromSetting("", true).error.isEmpty());
}

TEST(ServerPort, TakesAnyPortFromOneTo65535AndZeroOnlyToListen) {
    struct Case {
        const char* text;
        int connectPort;  // -1: refused
        int listenPort;
    };
    for (const Case& c : {Case{"1", 1, 1},
                          {"8000", 8000, 8000},
                          {"40123", 40123, 40123},
                          {"65535", 65535, 65535},
                          {"00080", 80, 80},
                          {"0", -1, 0},
                          {"00000", -1, 0}}) {
        const PortSetting connecting = portFromSetting(c.text, true);
        const PortSetting listening = portFromSetting(c.text, true, PortUse::Listen);
        EXPECT_EQ(connecting.ok(), c.connectPort >= 0) << c.text;
        EXPECT_EQ(connecting.port, std::max(c.connectPort, 0)) << c.text;
        EXPECT_TRUE(listening.ok()) << c.text;
        EXPECT_EQ(listening.port, c.listenPort) << c.text;
    }
    EXPECT_TRUE(portFromSetting("0", true).error.contains(u"1～65535"));
}

TEST(ServerPort, RefusesAnythingElseWithATextNamingTheValue) {
    for (const char* text : {"65536", "99999", "123456", "-1", "+80", " 80", "80 ", "8o00", "abc",
                             "0x1F40", "8000.0", "%3"}) {
        for (const PortUse use : {PortUse::Connect, PortUse::Listen}) {
            const PortSetting setting = portFromSetting(text, true, use);
            EXPECT_FALSE(setting.ok()) << text;
            EXPECT_EQ(setting.port, 0) << text;
            EXPECT_TRUE(setting.error.contains(QString::fromLatin1(text))) << text;
            EXPECT_TRUE(setting.error.contains(u"QUOR_PORT")) << text;
        }
    }
    EXPECT_TRUE(portFromSetting("abc", true, PortUse::Listen).error.contains(u"0～65535"));
}

TEST(ServerPort, ReadsTheEnvironmentAtEachCall) {
    const QByteArray saved = qgetenv(kPortVariable);
    const bool wasSet = qEnvironmentVariableIsSet(kPortVariable);
    qputenv(kPortVariable, "12345");
    EXPECT_EQ(serverPort().port, 12345);
    qputenv(kPortVariable, "0");
    EXPECT_FALSE(serverPort().ok());
    EXPECT_TRUE(listenPort().ok());
    qputenv(kPortVariable, "port");
    EXPECT_FALSE(serverPort().ok());
    qunsetenv(kPortVariable);
    EXPECT_EQ(serverPort().port, 8000);
    if (wasSet) qputenv(kPortVariable, saved);
}

TEST(ServerPort, AProgramsPortLineIsFoundInItsOutput) {
    for (const auto& [output, port] :
         {std::pair<const char*, int>{"2026-01-05 10:00:00 Status クライアント待受\n"
                                      "2026-01-05 10:00:00 Port 40123\n",
                                      40123},
          {"ready\nPort 5000\nPort 6000\n", 5000},     // the first one told
          {"2026-01-05 10:00:00 Msg Port 7000\n", 0},  // a peer's text
          {"2026-01-05 10:00:00 Port 0\n", 0},
          {"2026-01-05 10:00:00 Port 70000\n", 0},
          {"2026-01-05 10:00:00 Port\n", 0},
          {"", 0}}) {
        EXPECT_EQ(announcedPort(QString::fromUtf8(output)), port) << output;
    }
}

}  // namespace
}  // namespace net
