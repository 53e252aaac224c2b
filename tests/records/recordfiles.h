#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "recordconversion.h"
#include "shiftjis.h"

// A folder of record files for one test, written and read as bytes, and the
// conversion run on them as the tool runs it.

namespace records::test {

class RecordFolder {
public:
    RecordFolder() { EXPECT_TRUE(dir_.isValid()); }

    QString path(const QString& name) const { return dir_.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Lines with CR LF, in Shift-JIS, as the programs write them.
    void writeLines(const QString& name, const QStringList& lines) const {
        QByteArray bytes;
        for (const QString& line : lines)
            bytes += platform::toShiftJis(line) + "\r\n";
        write(name, bytes);
    }

    bool exists(const QString& name) const { return QFileInfo::exists(path(name)); }
    QByteArray read(const QString& name) const {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return f.readAll();
    }
    // The Shift-JIS lines of a file, each ended by CR LF.
    QStringList lines(const QString& name) const {
        QString text = platform::fromShiftJis(read(name));
        EXPECT_TRUE(text.isEmpty() || text.endsWith(QStringLiteral("\r\n"))) << name.toStdString();
        QStringList lines = text.split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }

    ConversionResult convert(const QString& from, const QString& to,
                             const ConversionOptions& options = {}) const {
        return convertRecord(path(from), path(to), options);
    }

private:
    QTemporaryDir dir_;
};

inline std::string joined(const QStringList& lines) {
    return lines.join(u'\n').toStdString();
}

}  // namespace records::test
