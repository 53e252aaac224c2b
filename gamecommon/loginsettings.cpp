#include "loginsettings.h"

#include "commafields.h"
#include "programfolder.h"
#include "textfile.h"

namespace gamecommon {

std::optional<LoginSettings> readLoginSettings(const QString& path) {
    const auto lines = platform::readTextLines(path);
    if (!lines) return std::nullopt;
    // Fields are read one after another; a line that ends early goes on with
    // the next one, and whatever follows the fourth field is ignored.
    QStringList fields;
    for (const QString& line : *lines) {
        fields += platform::splitCommaFields(line);
        if (fields.size() >= 4) return LoginSettings{fields[0], fields[1], fields[2], fields[3]};
    }
    return std::nullopt;
}

bool writeLoginSettings(const QString& path, const LoginSettings& s) {
    const QString line = s.id + u',' + s.password + u',' + s.mail + u',' + s.server;
    return platform::writeTextLines(path, {line});
}

QString loginFileIn(const QString& folder) {
    return platform::fileInFolder(folder, QString::fromLatin1(kLoginFileName));
}

}  // namespace gamecommon
