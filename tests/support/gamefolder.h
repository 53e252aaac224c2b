#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace testsupport {

// A program folder for a test: the built images and sounds, as a game
// program has them beside it, and room for "LOGIN.TXT" and the records.
// QUOR_BIN_DIR is the folder the build puts them in.
class ProgramFolder {
public:
    ProgramFolder() {
        const QDir bin(QStringLiteral(QUOR_BIN_DIR));
        for (const QString& name :
             bin.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.wav")})) {
            QFile::copy(bin.filePath(name), dir_.filePath(name));
        }
    }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

}  // namespace testsupport
