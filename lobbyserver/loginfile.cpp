#include "loginfile.h"

#include "commafields.h"
#include "textfile.h"

namespace lobby {

LoginCheck checkLoginFile(const QString& path, const QString& id, const QString& pass,
                          const QString& mail) {
    const auto lines = platform::readTextLines(path);
    if (!lines) return LoginCheck::InvalidData;
    bool anyRecord = false;
    for (const QString& line : *lines) {
        if (line.trimmed().isEmpty()) continue;
        anyRecord = true;
        const QStringList fields = platform::splitCommaFields(line);
        if (fields.size() < 4) continue;
        if (fields[1] == id && fields[2] == pass && fields[3] == mail) return LoginCheck::Allowed;
    }
    return anyRecord ? LoginCheck::Refused : LoginCheck::InvalidData;
}

}  // namespace lobby
