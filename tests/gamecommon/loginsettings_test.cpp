#include <gtest/gtest.h>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "logindialog.h"
#include "loginsettings.h"
#include "scripteddialogs.h"
#include "textfile.h"
#include "widgetdriver.h"

namespace gamecommon {
namespace {

using testsupport::child;

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(LoginDialog, SaveWritesOneShiftJisLineAndStaysOpen) {
    QTemporaryDir dir;
    const QString path = loginFileIn(dir.path());
    testsupport::ScriptedDialogs dialogs;
    LoginDialog dialog(path, dialogs, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"Login");
    EXPECT_EQ(child<QLineEdit>(dialog, "TxtPASS")->echoMode(), QLineEdit::Password);
    child<QLineEdit>(dialog, "TxtID")->setText(QStringLiteral("太郎"));
    child<QLineEdit>(dialog, "TxtPASS")->setText(QString());
    child<QLineEdit>(dialog, "TxtMAIL")->setText(QStringLiteral("taro@example.jp"));
    child<QLineEdit>(dialog, "TxtSV")->setText(QStringLiteral("127.0.0.1"));
    child<QPushButton>(dialog, "BtnSave")->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(bytesOf(path), QByteArray("\x91\xBE\x98\x59,,taro@example.jp,127.0.0.1\r\n"));

    // Saving again overwrites: the file always holds one line.
    child<QLineEdit>(dialog, "TxtSV")->setText(QStringLiteral("server.local"));
    child<QPushButton>(dialog, "BtnSave")->click();
    EXPECT_EQ(platform::readTextLines(path),
              QStringList{QStringLiteral("太郎,,taro@example.jp,server.local")});
    EXPECT_TRUE(dialogs.texts.isEmpty());

    // "END" closes without saving.
    child<QLineEdit>(dialog, "TxtID")->setText(QStringLiteral("changed"));
    child<QPushButton>(dialog, "BtnClose")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(readLoginSettings(path)->id, u"太郎");
}

TEST(LoginDialog, OpensWithTheSavedValues) {
    QTemporaryDir dir;
    // Written by hand: another case, blanks around values and a quoted comma.
    ASSERT_TRUE(platform::writeTextLines(dir.filePath(QStringLiteral("LogIn.txt")),
                                         {QStringLiteral(" id1 ,\"pa,ss\", m@x ,10.0.0.5,extra")}));
    testsupport::ScriptedDialogs dialogs;
    LoginDialog dialog(loginFileIn(dir.path()), dialogs, nullptr);
    EXPECT_EQ(dialog.values(), (LoginSettings{QStringLiteral("id1"), QStringLiteral("pa,ss"),
                                              QStringLiteral("m@x"), QStringLiteral("10.0.0.5")}));
}

TEST(LoginDialog, MissingFileLeavesTheBoxesEmptyWithoutAWord) {
    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    LoginDialog dialog(loginFileIn(dir.path()), dialogs, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.values(), LoginSettings{});
    EXPECT_TRUE(dialogs.texts.isEmpty());
}

TEST(LoginDialog, AFailedSaveIsReported) {
    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    LoginDialog dialog(dir.filePath(QStringLiteral("no/such/LOGIN.TXT")), dialogs, nullptr);
    child<QPushButton>(dialog, "BtnSave")->click();
    EXPECT_EQ(dialogs.texts, QStringList{QStringLiteral("File Error")});
}

TEST(LoginSettings, ShortFilesAndValuesWithCommas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LOGIN.TXT"));
    EXPECT_FALSE(readLoginSettings(path));
    ASSERT_TRUE(platform::writeTextLines(path, {QStringLiteral("a,b,c")}));
    EXPECT_FALSE(readLoginSettings(path));
    // A line cut short goes on with the next one.
    ASSERT_TRUE(platform::writeTextLines(path, {QStringLiteral("a,b"), QStringLiteral("c,d")}));
    EXPECT_EQ(readLoginSettings(path)->server, u"d");
    // A value holding a comma is written as it is and comes back split.
    ASSERT_TRUE(writeLoginSettings(path, {QStringLiteral("x,y"), QStringLiteral("p"),
                                          QStringLiteral("m"), QStringLiteral("s")}));
    const auto back = readLoginSettings(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->id, u"x");
    EXPECT_EQ(back->password, u"y");
    EXPECT_EQ(back->server, u"m");
}

}  // namespace
}  // namespace gamecommon
