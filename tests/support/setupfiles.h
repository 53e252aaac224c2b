#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

// Files for the tests: list files written byte by byte, and small programs
// made on the spot.
namespace setuptest {

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(bytes) == bytes.size();
}

// A shell script at `path` that the user may run; it writes its working
// directory into "started.txt" there.
inline bool makeProgram(const QString& path) {
    if (!writeBytes(path, "#!/bin/sh\npwd -P > started.txt\n")) return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// What the program made by makeProgram in `folder` wrote once it ran: its
// working directory, or an empty text when it did not run within ten seconds.
inline QString startedIn(const QString& folder) {
    const QString mark = QDir(folder).filePath(QStringLiteral("started.txt"));
    static_cast<void>(QTest::qWaitFor([&] { return !fileBytes(mark).trimmed().isEmpty(); }, 10000));
    return QString::fromLocal8Bit(fileBytes(mark).trimmed());
}

// A file the user may not run.
inline bool makePlainFile(const QString& path) {
    return writeBytes(path, "not a program\n");
}

}  // namespace setuptest
