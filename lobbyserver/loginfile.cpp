#include "loginfile.h"

#include <sys/stat.h>
#include <QFile>
#include <utility>

#include "commafields.h"
#include "programfolder.h"
#include "textfile.h"

namespace lobby {

namespace {

qint64 nanoseconds(const timespec& t) {
    return static_cast<qint64>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

UserFile::UserFile(QString folder) : folder_(std::move(folder)) {}

LoginCheck UserFile::check(const QString& id, const QString& pass, const QString& mail) {
    const QString path = platform::fileInFolder(folder_, QString::fromLatin1(kLoginFileName));
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        stamp_.reset();
        return LoginCheck::InvalidData;
    }
    // Taken before the reading, so a change made while it reads is seen next time.
    const Stamp stamp{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino),
                      static_cast<qint64>(info.st_size), nanoseconds(info.st_mtim),
                      nanoseconds(info.st_ctim)};
    if (stamp_ != stamp) {
        stamp_.reset();
        if (!read(path)) return LoginCheck::InvalidData;
        stamp_ = stamp;
    }
    if (!anyRecord_) return LoginCheck::InvalidData;
    for (auto it = users_.constFind(id); it != users_.cend() && it.key() == id; ++it)
        if (it->first == pass && it->second == mail) return LoginCheck::Allowed;
    return LoginCheck::Refused;
}

QList<int> UserFile::takeSkippedLines() {
    return std::exchange(skipped_, {});
}

bool UserFile::read(const QString& path) {
    users_.clear();
    skipped_.clear();
    anyRecord_ = false;
    const auto lines = platform::readTextLines(path);
    if (!lines) return false;
    int number = 0;
    for (const QString& line : *lines) {
        // The reader ends lines at LF and CR LF; a CR alone ends one too.
        for (const QStringView part : QStringView(line).split(u'\r')) {
            ++number;
            if (part.trimmed().isEmpty()) continue;
            anyRecord_ = true;
            const QStringList fields = platform::splitCommaFields(part);
            const QString id = fields.value(1);
            const QString pass = fields.value(2);
            if (id.isEmpty() || pass.isEmpty()) {
                skipped_ << number;
                continue;
            }
            users_.insert(id, {pass, fields.value(3)});
        }
    }
    return true;
}

}  // namespace lobby
