// Brellow in English: its window, tray menu, notices and boxes show no
// Japanese once the English texts are installed, while what the server
// writes to its log stays Japanese.

#include <gtest/gtest.h>

#include <QTest>
#include <functional>

#include "headlessrunner.h"
#include "programtexts.h"
#include "quorwindow.h"
#include "rawclient.h"
#include "scripteddialogs.h"
#include "textfile.h"
#include "widgetdriver.h"
#include "widgettexts.h"

using namespace Qt::StringLiterals;

namespace lobbytest {
namespace {

using testsupport::child;
using testsupport::japaneseIn;
using testsupport::shownTexts;

class BrellowInEnglish : public ::testing::Test {
protected:
    const testsupport::EnglishTexts english{platform::translationsFolder(QUOR_BIN_DIR)};
    QTemporaryDir folder;

    void SetUp() override {
        ASSERT_TRUE(english.loaded());
        platform::writeTextLines(QDir(folder.path()).filePath("BrellowLogIn.txt"),
                                 {"1,taro,pw1,t@x,"});
    }
    void TearDown() override { qunsetenv("QUOR_PORT"); }

    // A user logs in and stays; another peer sends two messages of garbage.
    static void visit(quint16 port, std::unique_ptr<RawClient>& user) {
        user = std::make_unique<RawClient>(port);
        ASSERT_TRUE(user->connected());
        user->send("SVMSG_LOGIN|taro,pw1,t@x, 0|END");
        ASSERT_TRUE(user->next("LOGIN|OK| 1|END"));
        RawClient peer(port);
        ASSERT_TRUE(peer.connected());
        peer.send("SVMSG_LOGIN|x|END");
        peer.send("SVMSG_LOGIN|y|END");
        peer.send("LOGOUT|END");
        ASSERT_TRUE(peer.closed());
    }
};

TEST_F(BrellowInEnglish, TheWindowMenuNoticesAndBoxesShowNoJapanese) {
    testsupport::ScriptedDialogs dialogs;
    int open = 0;  // a box stays open a while, as one the user reads
    dialogs.onShow = [&](const QString&) {
        ++open;
        QTest::qWait(200);
        --open;
    };
    qputenv("QUOR_PORT", "eighty");
    brellow::Quor window(folder.path(), dialogs);
    std::unique_ptr<RawClient> user;
    auto serVer = [&] {
        QTest::mouseClick(child<QPushButton>(window, "SerVerBTN"), Qt::LeftButton);
    };
    const QString badPort =
        u"The value \"eighty\" of the environment variable QUOR_PORT is not a port number. "
        "Give a number from 0 to 65535."_s;
    const QString invalid = u"Invalid data was received."_s;
    const struct {
        const char* what;
        std::function<void()> act;
        const char* control;
        QString shows;
        QStringList boxes;  // every box so far
    } steps[] = {
        {"shown with a bad port", [&] { window.show(); }, "Msg", u"Cannot bind."_s, {badPort}},
        {"SerVer with a good one",
         [&] {
             qputenv("QUOR_PORT", "0");
             serVer();
         },
         "Msg",
         u"Waiting for a client"_s,
         {badPort}},
        {"a login and garbage",
         [&] {
             visit(window.host().listeningPort(), user);
             ASSERT_TRUE(waitUntil([&] { return dialogs.texts.size() >= 3 && open == 0; }, 5000));
         },
         "Status",
         u"Closed the connection from 127.0.0.1."_s,
         {badPort, invalid, invalid + " (1 more)"}},
        {"SerVer again",
         serVer,
         "Msg",
         u"Already waiting for clients."_s,
         {badPort, invalid, invalid + " (1 more)"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(child<QLineEdit>(window, step.control)->text(), step.shows);
        EXPECT_EQ(dialogs.texts, step.boxes);
        EXPECT_EQ(japaneseIn(shownTexts(window)), QStringList());
    }
    const QMenu* menu = child<QMenu>(window, "mun_MENU");
    QStringList menuTexts{menu->title()};
    for (const QAction* action : menu->actions())
        menuTexts << action->text();
    EXPECT_EQ(menuTexts, (QStringList{"Menu", "Show", "", "Quit"}));
}

TEST_F(BrellowInEnglish, TheLogStaysJapanese) {
    qputenv("QUOR_PORT", "0");
    QStringList lines;
    lobby::HeadlessRunner runner(folder.path(), [&](const QString& line) { lines << line; });
    ASSERT_TRUE(runner.start());
    std::unique_ptr<RawClient> user;
    visit(runner.host().listeningPort(), user);
    runner.stop();
    const QString log = lines.join(u'\n');
    for (const QString& entry : {u"Msg クライアント待受"_s, u"Status 127.0.0.1のログイン許可"_s,
                                 u"Box 不正なデ－タが送信されました。"_s})
        EXPECT_TRUE(log.contains(entry)) << entry.toStdString() << "\n" << log.toStdString();
}

}  // namespace
}  // namespace lobbytest
