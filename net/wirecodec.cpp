#include "wirecodec.h"

#include <QSysInfo>
#include <cstring>

namespace net {

QByteArray encodeMessage(QStringView text) {
    QByteArray bytes;
    bytes.resize(text.size() * 2);
    // On a little-endian machine the wire's bytes are the text's own.
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        if (!text.isEmpty()) std::memcpy(bytes.data(), text.utf16(), bytes.size());
        return bytes;
    }
    char* out = bytes.data();
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        *out++ = static_cast<char>(unit & 0xFF);
        *out++ = static_cast<char>(unit >> 8);
    }
    return bytes;
}

QByteArrayView wireBytes(QStringView text, QByteArray& scratch) {
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
        return QByteArrayView(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    scratch = encodeMessage(text);
    return scratch;
}

QString decodeMessage(QByteArrayView bytes) {
    QString text;
    appendDecoded(text, bytes);
    return text;
}

void appendDecoded(QString& text, QByteArrayView bytes) {
    const qsizetype units = bytes.size() / 2;
    if (units == 0) return;
    const qsizetype start = text.size();
    text.resize(start + units);
    QChar* out = text.data() + start;
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(out, bytes.data(), units * 2);
        return;
    }
    for (qsizetype k = 0; k < units; ++k) {
        const auto low = static_cast<unsigned char>(bytes[2 * k]);
        const auto high = static_cast<unsigned char>(bytes[2 * k + 1]);
        out[k] = QChar(static_cast<char16_t>(low | (high << 8)));
    }
}

}  // namespace net
