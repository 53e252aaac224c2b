// The soak's own checks: a soak in which nobody can log in fails at once,
// rather than measure an idle server and call it the start.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SoakCheck, FailsWhenNobodyCanLogIn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The soak's users u1, u2, ... each with a password that is not his.
    const QString users = dir.filePath(QStringLiteral("BrellowLogIn.txt"));
    QFile file(users);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int n = 1; n <= 51; ++n)
        file.write(QStringLiteral("%1,u%1,not-pw%1,u%1@example.jp,\r\n").arg(n).toLatin1());
    file.close();

    QProcess soak;
    soak.setWorkingDirectory(dir.path());
    QElapsedTimer clock;
    clock.start();
    soak.start(
        QStringLiteral(SOAK_PATH),
        {QStringLiteral("--brellow"), QStringLiteral(BRELLOW_PATH), QStringLiteral("--seconds"),
         QStringLiteral("150"), QStringLiteral("--users"), users});
    ASSERT_TRUE(soak.waitForStarted(10000));
    // The first round ends within 15 s of the server's start whatever
    // happens; the whole soak would take 150.
    const bool ended = soak.waitForFinished(120000);
    const QString out = QString::fromUtf8(soak.readAllStandardOutput());
    const QString err = QString::fromUtf8(soak.readAllStandardError());
    if (!ended) {
        soak.kill();
        soak.waitForFinished(5000);
    }
    ASSERT_TRUE(ended) << "the soak ran on although nobody could log in";
    EXPECT_EQ(soak.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(soak.exitCode(), 1) << qPrintable(out + err);
    EXPECT_TRUE(err.contains(QStringLiteral("no login succeeded in the first round")))
        << qPrintable(err);
    // No figures: nothing was measured.
    EXPECT_FALSE(out.contains(QStringLiteral("server RSS"))) << qPrintable(out);
    EXPECT_LT(clock.elapsed(), 100000);
}

}  // namespace
