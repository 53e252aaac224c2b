#include "textfile.h"

#include <QFile>

#include "shiftjis.h"
#include "wholefile.h"

namespace platform {

namespace {

// Settings files are a few lines; anything much larger is not one of ours.
constexpr qint64 kMaxSettingsFileSize = 4 * 1024 * 1024;

}  // namespace

std::optional<QString> readText(const QString& path, qint64 maxSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > maxSize) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;

    QString text = fromShiftJis(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::optional<QStringList> readTextLines(const QString& path) {
    const auto text = readText(path, kMaxSettingsFileSize);
    if (!text) return std::nullopt;
    QStringList lines = text->split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool writeTextLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toShiftJis(line);
        bytes += "\r\n";
    }
    return writeWholeFile(path, bytes);
}

bool appendTextLine(const QString& path, const QString& line) {
    const QByteArray bytes = toShiftJis(line) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const bool written = file.write(bytes) == bytes.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}

}  // namespace platform
