#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "gamefilelist.h"
#include "programfolder.h"
#include "rawclient.h"
#include "serverport.h"
#include "textfile.h"

// The build installed into a fresh prefix, as a user installs it with
// `cmake --install`, and the installed copy run from there.

namespace {

using lobbytest::waitUntil;

class InstalledCopy : public testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new QTemporaryDir;
        QProcess install;
        install.start(QStringLiteral(QUOR_CMAKE),
                      {"--install", QUOR_BUILD_DIR, "--prefix", prefix()});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
    }
    static void TearDownTestSuite() {
        delete root_;
        root_ = nullptr;
    }
    static QString prefix() { return root_->filePath(QStringLiteral("prefix")); }
    static QString installed(const QString& path) { return prefix() + u'/' + path; }

    static QTemporaryDir* root_;
};

QTemporaryDir* InstalledCopy::root_ = nullptr;

TEST_F(InstalledCopy, HoldsTheProgramsTheirImagesMenuEntriesAndTheServersUnit) {
    QStringList missing;
    QStringList files;
    for (const char* program : {"Varnel", "Ostrim", "Client", "Brellow", "Quenlis"}) {
        const QString lower = QString::fromLatin1(program).toLower();
        files << "bin/" + QString::fromLatin1(program)
              << "share/applications/quor-" + lower + ".desktop"
              << "share/icons/hicolor/scalable/apps/quor-" + lower + ".svg";
    }
    files << "bin/quor-record"
          << "lib/systemd/system/brellow.service"
          << "share/quor/koma.wav"
          << "share/quor/Go.wav"
          << "share/quor/bl1.bmp"
          << "share/quor/wh2.bmp";
    for (const char* code :
         {"Fu", "Ky", "Ke", "Gi", "Ki", "Ou", "Gy", "Hi", "Ka", "To", "NC", "NK", "NG", "Um", "Ry"})
        for (int side : {1, 2})
            files << QStringLiteral("share/quor/%1%2.bmp").arg(QLatin1String(code)).arg(side);
    for (const QString& file : files)
        if (!QFileInfo(installed(file)).isFile()) missing << file;
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u' ').toStdString();
    EXPECT_TRUE(QFileInfo(installed("bin/Varnel")).isExecutable());
    EXPECT_TRUE(QFileInfo(installed("bin/quor-record")).isExecutable());
}

TEST_F(InstalledCopy, FindsItsImagesInTheInstalledDataFolderAndKeepsItsFilesPerUser) {
    platform::FolderFacts facts = platform::folderFactsFor(installed("bin"));
    facts.xdgDataHome = root_->filePath(QStringLiteral("xdg"));
    const platform::ProgramFolders folders = platform::chooseFolders(facts, installed("bin"));
    EXPECT_TRUE(folders.installed);
    EXPECT_EQ(folders.data, root_->filePath(QStringLiteral("xdg/quor")));
    EXPECT_TRUE(
        QFileInfo(platform::fileInFolder(folders.assets, QStringLiteral("Fu1.bmp"))).isFile())
        << folders.assets.toStdString();
}

// The installed game programs, started from the menu, make the per-user
// folder for their logins and records, for their user alone.
TEST_F(InstalledCopy, ItsGameProgramsKeepTheirFilesInThePerUserFolder) {
    for (const char* program : {"Varnel", "Ostrim"}) {
        SCOPED_TRACE(program);
        const QString xdg = root_->filePath(QStringLiteral("xdg-") + QLatin1String(program));
        QProcess game;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", xdg);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        game.setProcessEnvironment(env);
        game.setWorkingDirectory(root_->path());
        game.start(installed("bin/" + QLatin1String(program)), {});
        ASSERT_TRUE(game.waitForStarted(5000));
        const QString folder = xdg + "/quor";
        EXPECT_TRUE(waitUntil([&] { return QFileInfo(folder).isDir(); }, 10000));
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        EXPECT_FALSE(QFileInfo(folder).permissions() & others);
        game.kill();
        game.waitForFinished(5000);
    }
}

// The installed lobby client, started for the first time, knows the
// installed game programs: nobody has to name them before the first game.
TEST_F(InstalledCopy, ItsLobbyClientKnowsTheInstalledGameProgramsFromTheStart) {
    const QString xdg = root_->filePath(QStringLiteral("xdg-Client"));
    QProcess client;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", xdg);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    client.setProcessEnvironment(env);
    client.setWorkingDirectory(root_->path());
    client.start(installed("bin/Client"), {});
    ASSERT_TRUE(client.waitForStarted(5000));
    const QString list = xdg + "/quor/GameFile.txt";
    EXPECT_TRUE(waitUntil([&] { return gamefile::readGameFile(list).lines == 4; }, 10000));
    client.kill();
    client.waitForFinished(5000);
    const gamefile::GameFileRead read = gamefile::readGameFile(list);
    EXPECT_EQ(QFileInfo(read.list.programFor(gamefile::kShogiSlot)).canonicalFilePath(),
              QFileInfo(installed("bin/Varnel")).canonicalFilePath());
    EXPECT_EQ(QFileInfo(read.list.programFor(gamefile::kGoSlot)).canonicalFilePath(),
              QFileInfo(installed("bin/Ostrim")).canonicalFilePath());
}

// The installed server, started as its unit starts it, reads its user file
// from its data folder and lets that user in.
TEST_F(InstalledCopy, TheServerReadsItsUserFileFromItsDataFolder) {
    const QString xdg = root_->filePath(QStringLiteral("state"));
    ASSERT_TRUE(QDir().mkpath(xdg + "/quor"));
    ASSERT_TRUE(platform::writeTextLines(xdg + "/quor/BrellowLogIn.txt",
                                         {QStringLiteral("1,taro,himitsu,taro@example.jp,")}));
    QProcess server;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", xdg);
    env.insert("QUOR_PORT", "0");  // any free port; the server tells which
    server.setProcessEnvironment(env);
    server.setWorkingDirectory(root_->path());  // no user file here
    server.start(installed("bin/Brellow"), {"--headless"});
    ASSERT_TRUE(server.waitForStarted(5000));
    QString out;
    quint16 port = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            out += QString::fromUtf8(server.readAllStandardOutput());
            port = net::announcedPort(out);
            return port != 0;
        },
        10000))
        << out.toStdString();

    lobbytest::RawClient client(port);
    ASSERT_TRUE(client.connected());
    client.send(QStringLiteral("SVMSG_LOGIN|taro,himitsu,taro@example.jp, 0|END"));
    EXPECT_TRUE(client.next(QStringLiteral("LOGIN|OK| 1|END")));
    server.terminate();
    ASSERT_TRUE(server.waitForFinished(10000));
    EXPECT_EQ(server.exitCode(), 0);
}

TEST_F(InstalledCopy, TheUnitFileIsOneSystemdAccepts) {
    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analyze.isEmpty()) GTEST_SKIP() << "systemd-analyze is not installed (package systemd)";
    const QString unit = installed("lib/systemd/system/brellow.service");
    QFile file(unit);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(("ExecStart=" + installed("bin/Brellow")).toUtf8()));
    QProcess verify;
    verify.start(analyze, {"verify", unit});
    ASSERT_TRUE(verify.waitForFinished(60000));
    EXPECT_EQ(verify.exitCode(), 0) << verify.readAllStandardError().toStdString();
}

}  // namespace
