#include <gtest/gtest.h>

#include "serverport.h"

namespace net {
namespace {

TEST(ServerPort, IsTheSystemPortUnlessSet) {
    EXPECT_EQ(portFromSetting({}, false).port, 8000);
    EXPECT_EQ(portFromSetting("", true).port, 8000);
    EXPECT_TRUE(portFromSetting("", true).error.isEmpty());
}

TEST(ServerPort, TakesAnyPortFromOneTo65535) {
    for (const auto& [text, port] : {std::pair<const char*, int>{"1", 1},
                                     {"8000", 8000},
                                     {"40123", 40123},
                                     {"65535", 65535},
                                     {"00080", 80}}) {
        const PortSetting setting = portFromSetting(text, true);
        EXPECT_TRUE(setting.ok()) << text;
        EXPECT_EQ(setting.port, port) << text;
        EXPECT_TRUE(setting.error.isEmpty()) << text;
    }
}

TEST(ServerPort, RefusesAnythingElseWithATextNamingTheValue) {
    for (const char* text : {"0", "65536", "99999", "123456", "-1", "+80", " 80", "80 ", "8o00",
                             "abc", "0x1F40", "8000.0"}) {
        const PortSetting setting = portFromSetting(text, true);
        EXPECT_FALSE(setting.ok()) << text;
        EXPECT_EQ(setting.port, 0) << text;
        EXPECT_TRUE(setting.error.contains(QString::fromLatin1(text))) << text;
        EXPECT_TRUE(setting.error.contains(u"QUOR_PORT")) << text;
    }
}

TEST(ServerPort, ReadsTheEnvironmentAtEachCall) {
    const QByteArray saved = qgetenv(kPortVariable);
    const bool wasSet = qEnvironmentVariableIsSet(kPortVariable);
    qputenv(kPortVariable, "12345");
    EXPECT_EQ(serverPort().port, 12345);
    qputenv(kPortVariable, "port");
    EXPECT_FALSE(serverPort().ok());
    qunsetenv(kPortVariable);
    EXPECT_EQ(serverPort().port, 8000);
    if (wasSet) qputenv(kPortVariable, saved);
}

}  // namespace
}  // namespace net
