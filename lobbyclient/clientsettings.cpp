#include "clientsettings.h"

#include <QFileInfo>

#include "commafields.h"
#include "lobbynumbers.h"
#include "textfile.h"

namespace lobbyclient {

SettingsRead readClientSettings(const QString& path, LoginRecord& record) {
    if (!QFileInfo::exists(path)) return SettingsRead::Missing;
    const auto lines = platform::readTextLines(path);
    if (!lines) return SettingsRead::Unreadable;
    QStringList fields;
    for (const QString& line : *lines) {
        fields += platform::splitCommaFields(line);
        if (fields.size() >= 5) {
            record = {fields[0], fields[1], fields[2], fields[3], lobby::lenientNumber(fields[4])};
            return SettingsRead::Ok;
        }
    }
    return SettingsRead::Unreadable;
}

bool writeClientSettings(const QString& path, const LoginRecord& r) {
    const QString line =
        r.ID + u',' + r.PASS + u',' + r.MAIL + u',' + r.Server + u',' + lobby::plainNumber(r.Kind);
    return platform::writeTextLines(path, {line});
}

}  // namespace lobbyclient
