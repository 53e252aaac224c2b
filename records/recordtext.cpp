#include "recordtext.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "shiftjis.h"

namespace records {

FileBytes readFileBytes(const QString& path) {
    FileBytes read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.problems.push_back({0, QStringLiteral("cannot be read: ") + file.errorString()});
        return read;
    }
    if (file.size() > kMaxRecordBytes) {
        read.problems.push_back(
            {0, QStringLiteral("too large for a game record (%1 bytes; at most %2)")
                    .arg(file.size())
                    .arg(kMaxRecordBytes)});
        return read;
    }
    // Read one byte past the limit: a file that grows or lies about its size
    // is refused all the same.
    read.bytes = file.read(kMaxRecordBytes + 1);
    if (read.bytes.size() > kMaxRecordBytes || file.error() != QFileDevice::NoError) {
        read.problems.push_back({0, QStringLiteral("cannot be read whole")});
        read.bytes.clear();
    }
    return read;
}

TextLines decodeLines(const QByteArray& bytes, TextEncoding encoding) {
    TextLines text;
    QByteArrayView rest(bytes);
    if (encoding == TextEncoding::Utf8 && rest.startsWith("\xEF\xBB\xBF")) rest = rest.sliced(3);
    int number = 0;
    while (!rest.isEmpty()) {
        ++number;
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.endsWith('\r')) line.chop(1);
        QString decoded;
        bool bad = false;
        if (encoding == TextEncoding::ShiftJis) {
            decoded = platform::fromShiftJis(line);
            bad = decoded.contains(QChar::ReplacementCharacter);
        } else {
            QStringDecoder decoder(QStringDecoder::Utf8);
            decoded = decoder(line);
            bad = decoder.hasError();
        }
        if (bad) {
            text.problems.push_back({number, encoding == TextEncoding::ShiftJis
                                                 ? QStringLiteral("not Shift-JIS text")
                                                 : QStringLiteral("not UTF-8 text")});
            text.lines.clear();
            return text;
        }
        text.lines.append(decoded);
    }
    return text;
}

bool looksLikeUtf8(const QByteArray& bytes) {
    bool beyondAscii = false;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) beyondAscii = true;
    if (!beyondAscii) return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    // The decoder works only when its result is taken.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray encodeText(const QString& text, TextEncoding encoding) {
    return encoding == TextEncoding::ShiftJis ? platform::toShiftJis(text) : text.toUtf8();
}

}  // namespace records
