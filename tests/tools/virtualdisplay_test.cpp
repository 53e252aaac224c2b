// The virtual display of `make run` (scripts/virtual-display.sh, which
// scripts/run sources), started twice back to back as two runs in a row
// start it. Each time the display keeps its state when its last client has
// left (one that resets itself then refuses the programs that connect
// meanwhile: "could not connect to display", one run in several), and once
// it has been ended, nothing of it runs any more. The test's Xvfb lingers
// two seconds once asked to end, as one may on a loaded machine, so an end
// that does not wait for it is caught every time.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Run by bash with the library and a folder for the display's files.
const char* const kDriver = R"(set -u
. "$1"
folder=$2
status=0
for round in 1 2; do
  if ! start_display 640 480 "$folder"; then
    echo "round $round: the virtual display did not start"
    exit 1
  fi
  echo "round $round: display $DISPLAY"
  if ! xprop -root -f _QUOR_CHECK 8s -set _QUOR_CHECK "round $round"; then
    echo "round $round: the display refused a client"
    status=1
  fi
  sleep 0.5
  if ! xprop -root _QUOR_CHECK 2>&1 | grep -q "\"round $round\""; then
    echo "round $round: the display was reset when its last client left"
    status=1
  fi
  started=("$xvfb_pid" $(children "$xvfb_pid"))
  end_display
  for pid in "${started[@]}"; do
    if running "$pid"; then
      echo "round $round: process $pid still runs after end_display"
      kill "$pid"
      status=1
    fi
  done
done
exit $status
)";

TEST(VirtualDisplay, TwiceBackToBack) {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    ASSERT_FALSE(xvfb.isEmpty()) << "Xvfb is missing (scripts/setup-deps installs it)";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        << "xprop is missing (x11-utils; scripts/setup-deps installs it)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tools = dir.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(tools));
    // Xvfb as the library finds it on its path: the real one, which it lets
    // go of two seconds after it is asked to end.
    QFile wrapper(tools + QStringLiteral("/Xvfb"));
    ASSERT_TRUE(wrapper.open(QIODevice::WriteOnly));
    wrapper.write(QStringLiteral("#!/bin/bash\n"
                                 "'%1' \"$@\" &\n"
                                 "server=$!\n"
                                 "trap 'sleep 2; kill -TERM $server; wait $server; exit 0' TERM\n"
                                 "wait $server\n")
                      .arg(xvfb)
                      .toUtf8());
    wrapper.close();
    ASSERT_TRUE(wrapper.setPermissions(wrapper.permissions() | QFileDevice::ExeOwner));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("PATH"), tools + u':' + env.value(QStringLiteral("PATH")));
    QProcess driver;
    driver.setProcessEnvironment(env);
    driver.setWorkingDirectory(dir.path());
    driver.setProcessChannelMode(QProcess::MergedChannels);
    driver.start(QStringLiteral("bash"),
                 {QStringLiteral("-c"), QString::fromUtf8(kDriver), QStringLiteral("driver"),
                  QStringLiteral(QUOR_SOURCE_DIR "/scripts/virtual-display.sh"), dir.path()});
    ASSERT_TRUE(driver.waitForStarted(10000));
    const bool ended = driver.waitForFinished(150000);
    const QString output = QString::fromUtf8(driver.readAll());
    if (!ended) {
        driver.kill();
        driver.waitForFinished(10000);
    }
    ASSERT_TRUE(ended) << qPrintable(output);
    EXPECT_EQ(driver.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(driver.exitCode(), 0) << qPrintable(output);
    EXPECT_TRUE(output.contains(QStringLiteral("round 2: display :"))) << qPrintable(output);
}

}  // namespace
