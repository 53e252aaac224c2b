#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <variant>

#include "dialogs.h"
#include "epolldispatcher.h"
#include "headlessrunner.h"
#include "programfolder.h"
#include "programtexts.h"
#include "quorwindow.h"
#include "serverport.h"
#include "signalwatcher.h"
#include "webfront.h"
#include "weboptions.h"

namespace {

bool hasOption(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

// The user file is read from the working folder; an installed server reads
// it from its per-user data folder (the service's state folder when run by
// the unit file, which points XDG_DATA_HOME there).
QString userFileFolder() {
    return platform::programFolders(QDir::currentPath()).data;
}

// How long a match waits for a player whose game program's connection was
// lost: "--rejoin-wait SECONDS", 0 to end such a match at once.
constexpr qint64 kDefaultRejoinWaitSeconds = 120;
constexpr qint64 kMaxRejoinWaitSeconds = 24 * 3600;

// The wait in milliseconds, or nothing when the option is malformed.
std::optional<qint64> rejoinWaitMs(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--rejoin-wait"));
    if (at < 0) return kDefaultRejoinWaitSeconds * 1000;
    bool ok = false;
    const qint64 seconds = at + 1 < arguments.size() ? arguments[at + 1].toLongLong(&ok) : 0;
    if (!ok || seconds < 0 || seconds > kMaxRejoinWaitSeconds) return std::nullopt;
    return seconds * 1000;
}

void writeError(const QString& text) {
    const QByteArray bytes = QStringLiteral("Brellow: %1\n").arg(text).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

// The web front asked for on the command line, serving beside `server`;
// nothing when it was not asked for or cannot start (said on stderr, and
// `failed` is set).
std::unique_ptr<webfront::WebFront> startWebFront(lobby::LobbyServer& server,
                                                  const webfront::WebOptions& options,
                                                  bool& failed) {
    failed = false;
    if (!options.enabled) return nullptr;
    const platform::ProgramFolders folders = platform::programFolders(QDir::currentPath());
    webfront::WebSettings settings;
    settings.address = options.address;
    settings.port = options.port;
    settings.proxy = options.proxy;
    settings.archiveFolder = options.archiveFolder.isEmpty()
                                 ? webfront::defaultArchiveFolder(folders.data)
                                 : QDir(options.archiveFolder).absolutePath();
    settings.siteFolder = webfront::siteFolder(folders.assets);
    auto front = std::make_unique<webfront::WebFront>(server, settings);
    if (const QString error = front->start(); !error.isEmpty()) {
        writeError(error);
        failed = true;
        return nullptr;
    }
    return front;
}

// A server machine without a desktop: no widget is made, the window's texts
// go to standard output (every message received too with --verbose), and
// SIGINT or SIGTERM end the server cleanly.
int runHeadless(int argc, char** argv, const webfront::WebOptions& web, qint64 rejoinWait) {
    platform::SignalWatcher::block({SIGINT, SIGTERM});
    // Every message the server relays passes the event loop: a loop that
    // waits with epoll costs the same per message however many users are on,
    // where Qt's own hands the kernel every connection again each time (and
    // GLib's takes another pass besides).
    QCoreApplication::setEventDispatcher(new platform::EpollDispatcher);
    QCoreApplication app(argc, argv);
    lobby::HeadlessRunner runner(
        userFileFolder(),
        [](const QString& line) {
            const QByteArray bytes = line.toUtf8() + '\n';
            std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
            std::fflush(stdout);
        },
        hasOption(argc, argv, "--verbose"));
    platform::SignalWatcher watcher({SIGINT, SIGTERM});
    QObject::connect(&watcher, &platform::SignalWatcher::received, &app, [&] {
        runner.stop();
        app.quit();
    });
    runner.host().server().setRejoinWaitMs(rejoinWait);
    if (!runner.start()) return 1;
    bool failed = false;
    const auto front = startWebFront(runner.host().server(), web, failed);
    if (failed) return 1;
    if (front) runner.tell(net::kWebPlace, QString::number(front->port()));
    return app.exec();
}

int runWithWindow(int argc, char** argv, const webfront::WebOptions& web, qint64 rejoinWait) {
    QApplication app(argc, argv);
    platform::installProgramTexts(app, platform::programFolders(QDir::currentPath()).assets);
    // Hidden in the tray the window is not visible, and a message box closing
    // then must not end the server.
    app.setQuitOnLastWindowClosed(false);
    platform::WidgetDialogs dialogs;
    brellow::Quor window(userFileFolder(), dialogs);
    QObject::connect(&window, &brellow::Quor::finished, &app, &QCoreApplication::quit);
    window.host().server().setRejoinWaitMs(rejoinWait);
    bool failed = false;
    const auto front = startWebFront(window.host().server(), web, failed);
    if (failed) return 1;
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const auto web = webfront::parseWebOptions(arguments);
    if (const auto* error = std::get_if<QString>(&web)) {
        writeError(*error);
        return 2;
    }
    const auto& options = std::get<webfront::WebOptions>(web);
    const std::optional<qint64> rejoinWait = rejoinWaitMs(arguments);
    if (!rejoinWait) {
        writeError(
            QStringLiteral("--rejoin-wait needs seconds from 0 to %1").arg(kMaxRejoinWaitSeconds));
        return 2;
    }
    if (hasOption(argc, argv, "--headless")) return runHeadless(argc, argv, options, *rejoinWait);
    return runWithWindow(argc, argv, options, *rejoinWait);
}
