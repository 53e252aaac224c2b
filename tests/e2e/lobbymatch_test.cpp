#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "clientlogindialog.h"
#include "gamefilelist.h"
#include "lobbywindow.h"
#include "scripteddialogs.h"
#include "textfile.h"
#include "varneldriver.h"

namespace {

using lobbyclient::LobbyWindow;
using shogi::Cell;
using shogi::Kind;
using shogi::Square;

quint16 freePort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

// The real lobby server, as a process of its own without a window.
class BrellowProcess {
public:
    BrellowProcess(quint16 port, const QStringList& users) {
        QStringList lines;
        for (int i = 0; i < users.size(); ++i) {
            lines << QStringLiteral("%1,%2,pw,%2@example.jp,").arg(i + 1).arg(users[i]);
        }
        EXPECT_TRUE(
            platform::writeTextLines(dir_.filePath(QStringLiteral("BrellowLogIn.txt")), lines));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUOR_PORT"), QString::number(port));
        process_.setProcessEnvironment(env);
        process_.setWorkingDirectory(dir_.path());
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(QStringLiteral(QUOR_BIN_DIR "/Brellow"), {QStringLiteral("--headless")});
        started_ = process_.waitForStarted(5000) &&
                   QTest::qWaitFor(
                       [port] {
                           QTcpSocket probe;
                           probe.connectToHost(QHostAddress::LocalHost, port);
                           return probe.waitForConnected(200);
                       },
                       10000);
    }
    ~BrellowProcess() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
    }
    bool started() const { return started_; }

private:
    QTemporaryDir dir_;
    QProcess process_;
    bool started_ = false;
};

// One user at one machine: a lobby client in a folder of its own that also
// holds the game program's images, "LOGIN.TXT" and "GameFile.txt". Pressing
// "起　動" opens that user's Varnel in this process, in the same folder.
struct User {
    explicit User(const QString& id) : id(id) {
        gamefile::GameFileList list;
        list.paths[0] = varnelFolder.file(QStringLiteral("Varnel"));
        EXPECT_TRUE(
            gamefile::writeGameFile(varnelFolder.file(QStringLiteral("GameFile.txt")), list));
        lobby = std::make_unique<LobbyWindow>(lobbyclient::LobbyWindowOptions{
            varnelFolder.path(), &lobbyDialogs, [this](const QString&, const QString& folder) {
                varnel = std::make_unique<shogi::VarnelWindow>(
                    shogi::VarnelOptions{folder, &varnelDialogs});
                varnel->show();
                varnel->board()->grab();
                varnel->activated();
                return true;
            }});
        lobby->show();
    }

    void logIn() {
        lobby->showLoginDialog();
        auto* d = lobby->loginDialog();
        d->TxtID->setText(id);
        d->TxtPASS->setText(QStringLiteral("pw"));
        d->TxtMAIL->setText(id + QStringLiteral("@example.jp"));
        d->TxtSV->setText(QStringLiteral("127.0.0.1"));
        d->GM->setCurrentIndex(0);
        d->BtnSave->click();  // the game program logs in with the same file
        d->BtnSend->click();
    }

    QString log() const { return lobby->Msg->toPlainText(); }
    QStringList lines() const {
        QStringList l;
        for (int i = 0; i < lobby->List1->count(); ++i)
            l << lobby->List1->item(i)->text();
        return l;
    }
    void select(int index) {
        for (int i = 0; i < lobby->List1->count(); ++i) {
            if (lobby->List1->item(i)->text().startsWith(u' ' + QString::number(index) + u' ')) {
                lobby->List1->setCurrentRow(i);
                return;
            }
        }
        ADD_FAILURE() << "no line for " << index;
    }

    // The mouse on this user's board.
    void move(Square from, Square to) {
        auto* board = varnel->board();
        shogi::test::dragOnBoard(board, shogi::test::cellCentre(board, from),
                                 shogi::test::cellCentre(board, to));
    }

    QString id;
    shogi::test::ProgramFolder varnelFolder;
    testsupport::ScriptedDialogs lobbyDialogs;
    testsupport::ScriptedDialogs varnelDialogs;
    std::unique_ptr<LobbyWindow> lobby;
    std::unique_ptr<shogi::VarnelWindow> varnel;
};

TEST(LobbyMatch, TwoPlayersAndAWatcherThroughTheRealServer) {
    const quint16 port = freePort();
    qputenv("QUOR_PORT", QByteArray::number(port));
    BrellowProcess server(port,
                          {QStringLiteral("taro"), QStringLiteral("hana"), QStringLiteral("jiro")});
    ASSERT_TRUE(server.started());

    User taro(QStringLiteral("taro")), hana(QStringLiteral("hana")), jiro(QStringLiteral("jiro"));
    for (User* u : {&taro, &hana, &jiro}) {
        u->logIn();
        ASSERT_TRUE(QTest::qWaitFor([u] { return !u->lobby->client().fLog; }))
            << u->id.toStdString();
    }
    EXPECT_EQ(taro.lobby->client().MyIndex, 1);
    EXPECT_EQ(hana.lobby->client().MyIndex, 2);
    EXPECT_EQ(jiro.lobby->client().MyIndex, 3);

    const auto poll = [&] {
        for (User* u : {&taro, &hana, &jiro})
            u->lobby->client().pollUsers();
    };
    poll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.lines().size() == 3; }));
    EXPECT_EQ(taro.lines(),
              (QStringList{QStringLiteral(" 1 taro 将棋 Me"), QStringLiteral(" 2 hana 将棋 "),
                           QStringLiteral(" 3 jiro 将棋 ")}));

    // taro challenges hana.
    taro.select(2);
    QTest::mouseDClick(
        taro.lobby->List1->viewport(), Qt::LeftButton, {},
        taro.lobby->List1->visualItemRect(taro.lobby->List1->currentItem()).center());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return hana.lobby->client().InBattle && taro.log().startsWith(u"Battle"); }));
    EXPECT_TRUE(hana.log().startsWith(u"Battle"));
    EXPECT_TRUE(taro.lobby->Start->isEnabled());
    EXPECT_TRUE(hana.lobby->Start->isEnabled());
    poll();
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.lines().value(0).endsWith(u" Battle!"); }));
    EXPECT_EQ(jiro.lines(), (QStringList{QStringLiteral(" 1 taro 将棋  Battle!"),
                                         QStringLiteral(" 2 hana 将棋  Battle!"),
                                         QStringLiteral(" 3 jiro 将棋 Me")}));

    // jiro asks to watch taro's game.
    jiro.select(1);
    jiro.lobby->mnu_Watch->trigger();
    EXPECT_TRUE(jiro.lobby->Start->isEnabled());

    // All three start their game programs; each logs in to the server.
    taro.lobby->Start->click();
    ASSERT_TRUE(taro.varnel);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return hana.log().startsWith(u"SERVER:>taroはゲ－ムを起動しました。"); }));
    hana.lobby->Start->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return taro.log().startsWith(u"SERVER:>hanaはゲ－ムを起動しました。"); }));
    jiro.lobby->Start->click();
    ASSERT_TRUE(jiro.varnel);
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.varnel->state().LoginDone; }));
    QTest::qWait(300);  // the watcher's login reaches the server

    // Moves by mouse, through the server.
    taro.move({2, 6}, {2, 5});
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.varnel->state().MoveNo == 1; }));
    EXPECT_EQ(hana.varnel->position().Ban.at({6, 3}), Cell::opp(Kind::Fu));
    EXPECT_EQ(hana.varnel->state().MySide, u"後手");
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.varnel->state().MoveNo == 1; }));
    EXPECT_TRUE(jiro.varnel->state().WatchMode);
    EXPECT_EQ(jiro.varnel->Text3[0]->text(), u"先手：taro");
    EXPECT_EQ(jiro.varnel->Text3[1]->text(), u"後手：hana");
    // The watcher sees the game as hana does.
    EXPECT_EQ(jiro.varnel->position().Ban, hana.varnel->position().Ban);

    hana.move({6, 6}, {6, 5});
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.varnel->state().MoveNo == 2; }));
    EXPECT_EQ(taro.varnel->position().Ban.at({2, 3}), Cell::opp(Kind::Fu));
    ASSERT_TRUE(QTest::qWaitFor([&] { return jiro.varnel->state().MoveNo == 2; }));
    EXPECT_EQ(jiro.varnel->position().Ban, hana.varnel->position().Ban);
    EXPECT_EQ(jiro.varnel->windowTitle(), u"通信将棋:第 2手");

    // Lobby chat both ways, each line acknowledged.
    taro.lobby->Status->setText(QStringLiteral("よろしく"));
    taro.lobby->SendBTN->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.log().startsWith(u"taro>よろしく"); }));
    hana.lobby->Status->setText(QStringLiteral("こちらこそ"));
    hana.lobby->SendBTN->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return taro.log().startsWith(u"hana>こちらこそ"); }));

    // taro closes his Varnel: the match is over for both.
    taro.varnel.reset();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return taro.log().startsWith(u"ShutDown") && hana.log().startsWith(u"ShutDown"); }));
    EXPECT_FALSE(taro.lobby->client().InBattle);
    EXPECT_FALSE(hana.lobby->Start->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return hana.varnel->Text2->toPlainText() == u"CLOSE"; }));
}

}  // namespace
