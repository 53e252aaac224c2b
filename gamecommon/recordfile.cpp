#include "recordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "programfolder.h"
#include "textfile.h"
#include "wholefile.h"

namespace gamecommon {

QString recordFileIn(const QString& folder, const QString& name) {
    if (QDir::isAbsolutePath(name)) return name;
    return platform::fileInFolder(folder, name);
}

bool FileClear(const QString& path) {
    return platform::writeTextLines(path, {});
}

bool AppendRecord(const QString& path, const QString& line) {
    return platform::appendTextLine(path, line);
}

RecordProblem copyRecord(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.exists()) return RecordProblem::Missing;
    if (!QFileInfo(from).isFile() || !source.open(QIODevice::ReadOnly))
        return RecordProblem::Unreadable;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return RecordProblem::Unreadable;
    source.close();

    // A failed copy never leaves half a record in place of a good one.
    return platform::writeWholeFile(to, bytes) ? RecordProblem::None : RecordProblem::NotWritten;
}

}  // namespace gamecommon
