#include "botoptions.h"

#include <map>

namespace bot {

namespace {

// The options that take a value, and where the value goes.
using Setter = QString (*)(BotOptions&, const QString&);

QString setGame(BotOptions& o, const QString& value) {
    if (value == u"shogi") {
        o.game = GameKind::Shogi;
    } else if (value == u"go") {
        o.game = GameKind::Go;
    } else {
        return QStringLiteral("--game must be shogi or go, not \"%1\"").arg(value);
    }
    return {};
}

QString setSeconds(BotOptions& o, const QString& value) {
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < BotOptions::kMinSeconds || n > BotOptions::kMaxSeconds) {
        return QStringLiteral("--seconds must be a whole number from %1 to %2, not \"%3\"")
            .arg(BotOptions::kMinSeconds)
            .arg(BotOptions::kMaxSeconds)
            .arg(value);
    }
    o.seconds = n;
    return {};
}

// Text fields of the lobby messages are sent as they are: a "|" or "," would
// shift the fields for the server, so such a value cannot log in.
QString setText(QString& field, const char* name, const QString& value) {
    if (value.contains(u'|') || value.contains(u',')) {
        return QStringLiteral("%1 cannot hold \"|\" or \",\"").arg(QLatin1String(name));
    }
    field = value;
    return {};
}

const std::map<QString, Setter>& setters() {
    static const std::map<QString, Setter> table = {
        {QStringLiteral("--game"), setGame},
        {QStringLiteral("--seconds"), setSeconds},
        {QStringLiteral("--id"),
         [](BotOptions& o, const QString& v) { return setText(o.id, "--id", v); }},
        {QStringLiteral("--password"),
         [](BotOptions& o, const QString& v) { return setText(o.password, "--password", v); }},
        {QStringLiteral("--mail"),
         [](BotOptions& o, const QString& v) { return setText(o.mail, "--mail", v); }},
        {QStringLiteral("--server"),
         [](BotOptions& o, const QString& v) {
             o.server = v;
             return QString();
         }},
        {QStringLiteral("--challenge"),
         [](BotOptions& o, const QString& v) { return setText(o.challenge, "--challenge", v); }},
        {QStringLiteral("--engine"),
         [](BotOptions& o, const QString& v) {
             o.engine = v;
             return QString();
         }},
    };
    return table;
}

}  // namespace

std::variant<BotOptions, QString> parseBotOptions(const QStringList& arguments) {
    BotOptions options;
    bool hasGame = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        const auto setter = setters().find(name);
        if (setter == setters().end()) return QStringLiteral("unknown option \"%1\"").arg(name);
        if (i + 1 >= arguments.size()) return QStringLiteral("%1 needs a value").arg(name);
        const QString error = setter->second(options, arguments[++i]);
        if (!error.isEmpty()) return error;
        hasGame = hasGame || name == u"--game";
    }
    if (!hasGame) return QStringLiteral("--game is missing");
    if (options.id.isEmpty()) return QStringLiteral("--id is missing");
    if (options.password.isEmpty()) return QStringLiteral("--password is missing");
    if (options.server.isEmpty()) return QStringLiteral("--server is empty");
    if (options.challenge == options.id) return QStringLiteral("a bot cannot challenge itself");
    return options;
}

QString usageText() {
    return QStringLiteral(
        "usage: QuorBot --game shogi|go --id ID --password PASS [--mail MAIL]\n"
        "               [--server HOST] [--seconds N] [--challenge ID] [--engine PROGRAM]\n"
        "The port is 8000, or QUOR_PORT.\n");
}

}  // namespace bot
