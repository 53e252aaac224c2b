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
    UserFile users{dir.path()};
    QString path() const { return QDir(dir.path()).filePath("BrellowLogIn.txt"); }
    void write(const QStringList& lines) { ASSERT_TRUE(platform::writeTextLines(path(), lines)); }
    void writeBytes(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    LoginCheck check(const QString& id, const QString& pass, const QString& mail) {
        return users.check(id, pass, mail);
    }
};

TEST_F(LoginFileTest, AllowsOnlyAnExactRecord) {
    write({"1,taro,pw1,taro@example.jp,x", "2, hana , pw2 ,hana@example.jp,",
           "3,\"ji,ro\",pw3,j@x,"});
    EXPECT_EQ(check("taro", "pw1", "taro@example.jp"), LoginCheck::Allowed);
    // Blanks around unquoted fields in the file are not part of them.
    EXPECT_EQ(check("hana", "pw2", "hana@example.jp"), LoginCheck::Allowed);
    // A quoted field may hold a comma.
    EXPECT_EQ(check("ji,ro", "pw3", "j@x"), LoginCheck::Allowed);
    EXPECT_EQ(check("taro", "wrong", "taro@example.jp"), LoginCheck::Refused);
    EXPECT_EQ(check("Taro", "pw1", "taro@example.jp"), LoginCheck::Refused);
    EXPECT_EQ(check("taro", "pw1", "other@example.jp"), LoginCheck::Refused);
    EXPECT_EQ(check("taro", "pw1", "taro@example.jp "), LoginCheck::Refused);
    EXPECT_EQ(check("", "", ""), LoginCheck::Refused);
}

TEST_F(LoginFileTest, ReadsShiftJisAndPassesOverBlankLines) {
    write({"", "   ", "1,太郎,パス,たろう@例.jp,メモ"});
    EXPECT_EQ(check("太郎", "パス", "たろう@例.jp"), LoginCheck::Allowed);
    // A line of four fields still holds ID, password and mail.
    write({"1,ken,pw,ken@x"});
    EXPECT_EQ(check("ken", "pw", "ken@x"), LoginCheck::Allowed);
}

// A line without an ID or a password is nobody: no empty login gets in, and
// whatever line end a file has, every user on it is found.
TEST_F(LoginFileTest, LinesWithoutIdOrPasswordAreSkippedAndEveryLineEndCounts) {
    writeBytes("1,a,b,c,d\n2,,,,\r3,\"\",p3,m3,r\r\n4,e,f,g,h\r5,short\r\n6,i,j,k,l");
    for (const auto& [id, pass, mail] :
         {std::tuple{"", "", ""}, {"", "p3", "m3"}, {"short", "", ""}})
        EXPECT_EQ(check(id, pass, mail), LoginCheck::Refused) << id << "/" << pass;
    EXPECT_EQ(users.takeSkippedLines(), (QList<int>{2, 3, 5}));
    for (const auto& [id, pass, mail] :
         {std::tuple{"a", "b", "c"}, {"e", "f", "g"}, {"i", "j", "k"}})
        EXPECT_EQ(check(id, pass, mail), LoginCheck::Allowed) << id;
    // Told once for each reading of the file.
    EXPECT_TRUE(users.takeSkippedLines().isEmpty());
}

// The file is read again only when it has changed, and then at once.
TEST_F(LoginFileTest, ChangesAreSeenAtTheNextLogin) {
    write({"1,taro,pw1,t@x,", "2,,x,y,"});
    EXPECT_EQ(check("taro", "pw1", "t@x"), LoginCheck::Allowed);
    EXPECT_EQ(users.takeSkippedLines(), QList<int>{2});
    EXPECT_EQ(check("hana", "pw2", "h@x"), LoginCheck::Refused);
    EXPECT_TRUE(users.takeSkippedLines().isEmpty());  // not read again
    write({"1,taro,pw1,t@x,", "2,,x,y,", "3,hana,pw2,h@x,"});
    EXPECT_EQ(check("hana", "pw2", "h@x"), LoginCheck::Allowed);
    EXPECT_EQ(users.takeSkippedLines(), QList<int>{2});
    // Rewritten in place to the same size.
    writeBytes("1,taro,pw9,t@x,\r\n2,,x,y,\r\n3,hana,pw8,h@x,\r\n");
    EXPECT_EQ(check("taro", "pw9", "t@x"), LoginCheck::Allowed);
    EXPECT_EQ(check("taro", "pw1", "t@x"), LoginCheck::Refused);
}

TEST_F(LoginFileTest, MissingOrEmptyFileIsInvalidData) {
    EXPECT_EQ(check("taro", "pw1", "m"), LoginCheck::InvalidData);
    writeBytes("");
    EXPECT_EQ(check("taro", "pw1", "m"), LoginCheck::InvalidData);
    writeBytes("\r\n\r\n  \r\n");
    EXPECT_EQ(check("taro", "pw1", "m"), LoginCheck::InvalidData);
    QFile::remove(path());
    ASSERT_TRUE(QDir(dir.path()).mkdir("BrellowLogIn.txt"));
    EXPECT_EQ(check("taro", "pw1", "m"), LoginCheck::InvalidData);
}

}  // namespace
}  // namespace lobby
