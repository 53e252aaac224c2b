#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "loginfile.h"
#include "textfile.h"

namespace lobby {
namespace {

class LoginFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return QDir(dir.path()).filePath("BrellowLogIn.txt"); }
    void write(const QStringList& lines) { ASSERT_TRUE(platform::writeTextLines(path(), lines)); }
    void writeBytes(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(LoginFileTest, AllowsOnlyAnExactRecord) {
    write({"1,taro,pw1,taro@example.jp,x", "2, hana , pw2 ,hana@example.jp,",
           "3,\"ji,ro\",pw3,j@x,"});
    EXPECT_EQ(checkLoginFile(path(), "taro", "pw1", "taro@example.jp"), LoginCheck::Allowed);
    // Blanks around unquoted fields in the file are not part of them.
    EXPECT_EQ(checkLoginFile(path(), "hana", "pw2", "hana@example.jp"), LoginCheck::Allowed);
    // A quoted field may hold a comma.
    EXPECT_EQ(checkLoginFile(path(), "ji,ro", "pw3", "j@x"), LoginCheck::Allowed);
    EXPECT_EQ(checkLoginFile(path(), "taro", "wrong", "taro@example.jp"), LoginCheck::Refused);
    EXPECT_EQ(checkLoginFile(path(), "Taro", "pw1", "taro@example.jp"), LoginCheck::Refused);
    EXPECT_EQ(checkLoginFile(path(), "taro", "pw1", "other@example.jp"), LoginCheck::Refused);
    EXPECT_EQ(checkLoginFile(path(), "taro", "pw1", "taro@example.jp "), LoginCheck::Refused);
    EXPECT_EQ(checkLoginFile(path(), "", "", ""), LoginCheck::Refused);
}

TEST_F(LoginFileTest, ReadsShiftJisAndPassesOverShortAndBlankLines) {
    write({"", "9,short", "   ", "1,太郎,パス,たろう@例.jp,メモ"});
    EXPECT_EQ(checkLoginFile(path(), "太郎", "パス", "たろう@例.jp"), LoginCheck::Allowed);
    EXPECT_EQ(checkLoginFile(path(), "short", "", ""), LoginCheck::Refused);
    // A line of four fields still holds ID, password and mail.
    write({"1,ken,pw,ken@x"});
    EXPECT_EQ(checkLoginFile(path(), "ken", "pw", "ken@x"), LoginCheck::Allowed);
    // Line ends of either kind.
    writeBytes("1,a,b,c,d\n2,e,f,g,h");
    EXPECT_EQ(checkLoginFile(path(), "e", "f", "g"), LoginCheck::Allowed);
}

TEST_F(LoginFileTest, MissingOrEmptyFileIsInvalidData) {
    EXPECT_EQ(checkLoginFile(path(), "taro", "pw1", "m"), LoginCheck::InvalidData);
    writeBytes("");
    EXPECT_EQ(checkLoginFile(path(), "taro", "pw1", "m"), LoginCheck::InvalidData);
    writeBytes("\r\n\r\n  \r\n");
    EXPECT_EQ(checkLoginFile(path(), "taro", "pw1", "m"), LoginCheck::InvalidData);
    EXPECT_EQ(checkLoginFile(dir.path(), "taro", "pw1", "m"), LoginCheck::InvalidData);
}

}  // namespace
}  // namespace lobby
