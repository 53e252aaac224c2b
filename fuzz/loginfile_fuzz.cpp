// "LOGIN.TXT" as both its readers take it: the game programs' four fields
// and the lobby client's five. The input is the file's bytes (Shift-JIS as
// written, or anything a damaged or hand-edited file may hold).
//
// What must hold: both readers agree on the fields they share; a file the
// client can read is one the game programs can read; the values read, when
// the file can hold them, are written and read back unchanged.

#include <QDir>
#include <QFile>

#include "clientsettings.h"
#include "fuzzsupport.h"
#include "gamefilelist.h"
#include "loginsettings.h"

namespace {

QString write(const char* name, const std::uint8_t* data, std::size_t size) {
    QString path = QDir(quorfuzz::scratchFolder()).filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    return path;
}

// A value the file can hold as it is: one field of one line.
bool storable(const QString& value) {
    return gamefile::canStorePath(value) && !value.contains(u'"') && value.trimmed() == value;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = write("LOGIN.TXT", data, size);
    const auto game = gamecommon::readLoginSettings(path);
    lobbyclient::LoginRecord client;
    const lobbyclient::SettingsRead read = lobbyclient::readClientSettings(path, client);
    QUORFUZZ_CHECK(read != lobbyclient::SettingsRead::Missing, "a file there is missing");
    if (read == lobbyclient::SettingsRead::Ok) {
        QUORFUZZ_CHECK(game.has_value(), "the client reads it, the game programs do not");
        QUORFUZZ_CHECK(game->id == client.ID && game->password == client.PASS &&
                           game->mail == client.MAIL && game->server == client.Server,
                       "the two readers disagree");
    }
    if (!game) return 0;
    if (storable(game->id) && storable(game->password) && storable(game->mail) &&
        storable(game->server)) {
        const QString copy = QDir(quorfuzz::scratchFolder()).filePath(QStringLiteral("copy.txt"));
        QUORFUZZ_CHECK(gamecommon::writeLoginSettings(copy, *game), "not written");
        QUORFUZZ_CHECK(gamecommon::readLoginSettings(copy) == game, "written and read otherwise");
        if (read == lobbyclient::SettingsRead::Ok) {
            lobbyclient::LoginRecord back;
            QUORFUZZ_CHECK(lobbyclient::writeClientSettings(copy, client), "not written");
            QUORFUZZ_CHECK(
                lobbyclient::readClientSettings(copy, back) == lobbyclient::SettingsRead::Ok &&
                    back == client,
                "the client's file written and read otherwise");
        }
    }
    return 0;
}
