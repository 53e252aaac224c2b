#pragma once

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "brellowprocess.h"
#include "clientlogindialog.h"
#include "gamefilelist.h"
#include "gamefolder.h"
#include "gamewindow.h"
#include "lobbywindow.h"
#include "scripteddialogs.h"
#include "textfile.h"
#include "widgetdriver.h"

// Whole programs together: the real lobby server as a process of its own,
// and lobby clients with their game programs in the test's process.
namespace test {

// The real lobby server, as a process of its own without a window; every
// user's password is "pw". Once it has told the port the system gave it, the
// programs of this process reach it there through QUOR_PORT.
class LobbyServerProcess {
public:
    explicit LobbyServerProcess(const QStringList& users, const QStringList& options = {})
        : process_(userLines(users)) {
        started_ = process_.start(options);
        if (started_) qputenv("QUOR_PORT", QByteArray::number(process_.port));
    }
    bool started() const { return started_; }

    // Waits until the server has linked the game program of user `id`.
    bool gameLinked(const QString& id) {
        return process_.waitForLine(
            QStringLiteral(" Status ") + id + QStringLiteral("のゲ－ムがつながりました。"), 10000);
    }

private:
    static QStringList userLines(const QStringList& users) {
        QStringList lines;
        for (int i = 0; i < users.size(); ++i)
            lines << QStringLiteral("%1,%2,pw,%2@example.jp,").arg(i + 1).arg(users[i]);
        return lines;
    }

    testsupport::BrellowProcess process_;
    bool started_ = false;
};

// One user at one machine: a lobby client in a folder of its own that also
// holds the game program's images, "LOGIN.TXT" and "GameFile.txt", logging in
// for game kind `kind`. Pressing "起　動" opens that user's game window (of
// type Window) in this process, in the same folder.
template <typename Window>
struct LobbyUser {
    LobbyUser(const QString& id, int kind) : id(id), kind(kind) {
        gamefile::GameFileList list;
        list.paths[static_cast<std::size_t>(kind)] = folder.file(QStringLiteral("GameProgram"));
        EXPECT_TRUE(gamefile::writeGameFile(folder.file(QStringLiteral("GameFile.txt")), list));
        lobby = std::make_unique<lobbyclient::LobbyWindow>(lobbyclient::LobbyWindowOptions{
            folder.path(), &lobbyDialogs, [this](const QString&, const QString& programFolder) {
                game = std::make_unique<Window>(
                    gamecommon::GameWindowOptions{programFolder, &gameDialogs});
                game->show();
                game->board()->grab();
                game->activated();
                return true;
            }});
        lobby->show();
    }

    void logIn() {
        lobby->showLoginDialog();
        auto* d = lobby->loginDialog();
        testsupport::child<QLineEdit>(*d, "TxtID")->setText(id);
        testsupport::child<QLineEdit>(*d, "TxtPASS")->setText(QStringLiteral("pw"));
        testsupport::child<QLineEdit>(*d, "TxtMAIL")->setText(id + QStringLiteral("@example.jp"));
        testsupport::child<QLineEdit>(*d, "TxtSV")->setText(QStringLiteral("127.0.0.1"));
        testsupport::child<QComboBox>(*d, "GM")->setCurrentIndex(kind);
        // The game program logs in with the same file.
        testsupport::child<QPushButton>(*d, "BtnSave")->click();
        testsupport::child<QPushButton>(*d, "BtnSend")->click();
    }

    QListWidget* list() const { return testsupport::child<QListWidget>(*lobby, "List1"); }
    QString log() const { return testsupport::child<QPlainTextEdit>(*lobby, "Msg")->toPlainText(); }
    QStringList lines() const {
        QStringList l;
        for (int i = 0; i < list()->count(); ++i)
            l << list()->item(i)->text();
        return l;
    }
    void select(int index) {
        for (int i = 0; i < list()->count(); ++i) {
            if (list()->item(i)->text().startsWith(u' ' + QString::number(index) + u' ')) {
                list()->setCurrentRow(i);
                return;
            }
        }
        ADD_FAILURE() << "no line for " << index;
    }
    // Double-clicks the user with `index` in the list: a challenge.
    void challenge(int index) {
        select(index);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {},
                           list()->visualItemRect(list()->currentItem()).center());
    }

    QString id;
    int kind;
    testsupport::ProgramFolder folder;
    testsupport::ScriptedDialogs lobbyDialogs;
    testsupport::ScriptedDialogs gameDialogs;
    std::unique_ptr<lobbyclient::LobbyWindow> lobby;
    std::unique_ptr<Window> game;
};

// The two log in, the first sees both in the list and challenges the second
// (who logged in second: number 2). True once they are paired.
template <typename Window>
bool logInAndPair(LobbyUser<Window>& challenger, LobbyUser<Window>& challenged) {
    for (LobbyUser<Window>* u : {&challenger, &challenged}) {
        u->logIn();
        if (!QTest::qWaitFor([u] { return !u->lobby->client().fLog(); })) return false;
    }
    challenger.lobby->client().pollUsers();
    if (!QTest::qWaitFor([&] { return challenger.lines().size() == 2; })) return false;
    challenger.challenge(2);
    return QTest::qWaitFor([&] { return challenged.lobby->client().InBattle(); });
}

}  // namespace test
