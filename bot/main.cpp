#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTranslator>
#include <csignal>
#include <cstdio>
#include <variant>

#include "botoptions.h"
#include "engineprogram.h"
#include "programfolder.h"
#include "quorbot.h"
#include "serverport.h"
#include "signalwatcher.h"
#include "socketerrortext.h"

namespace {

void writeLine(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), to);
    std::fflush(to);
}

}  // namespace

// A computer opponent in the lobby, without a window: what it does goes to
// standard output, one line each with a time stamp. SIGINT and SIGTERM end it
// as its last game does: its engines are ended and its files removed.
int main(int argc, char** argv) {
    platform::SignalWatcher::block({SIGINT, SIGTERM});
    QCoreApplication app(argc, argv);
    // It speaks English in every language: its own messages are written so,
    // and the socket layer's sentences come from the English translation.
    QTranslator english;
    if (english.load(QStringLiteral("quor_en"),
                     QDir(platform::programFolders(platform::programFolder()).assets)
                         .filePath(QStringLiteral("translations"))))
        QCoreApplication::installTranslator(&english);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.contains(QStringLiteral("--help"))) {
        std::fputs(bot::usageText().toUtf8().constData(), stdout);
        return 0;
    }
    const auto parsed = bot::parseBotOptions(arguments);
    if (const auto* error = std::get_if<QString>(&parsed)) {
        writeLine(stderr, QStringLiteral("QuorBot: ") + *error);
        std::fputs(bot::usageText().toUtf8().constData(), stderr);
        return 2;
    }
    const bot::BotOptions options = std::get<bot::BotOptions>(parsed);
    if (const net::PortSetting port = net::serverPort(); !port.ok()) {
        writeLine(stderr, QStringLiteral("QuorBot: ") + net::shownSocketText(port.error));
        return 1;
    }
    const QString engine = bot::engineProgram(options.game, options.engine);
    if (engine.isEmpty()) {
        writeLine(stderr, QStringLiteral("QuorBot: %1 is not installed (run scripts/setup-deps)")
                              .arg(options.engine.isEmpty() ? bot::engineName(options.game)
                                                            : options.engine));
        return 1;
    }

    bot::QuorBot quorBot(options, engine, [](const QString& line) {
        writeLine(
            stdout,
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) + line);
    });
    QObject::connect(&quorBot, &bot::QuorBot::finished, &app, &QCoreApplication::exit);
    platform::SignalWatcher watcher({SIGINT, SIGTERM});
    QObject::connect(&watcher, &platform::SignalWatcher::received, &app, &QCoreApplication::quit);
    quorBot.start();
    return app.exec();
}
