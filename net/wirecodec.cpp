#include "wirecodec.h"

namespace net {

QByteArray encodeMessage(QStringView text) {
    QByteArray bytes;
    bytes.resize(text.size() * 2);
    char* out = bytes.data();
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        *out++ = static_cast<char>(unit & 0xFF);
        *out++ = static_cast<char>(unit >> 8);
    }
    return bytes;
}

QString decodeMessage(QByteArrayView bytes) {
    const qsizetype units = bytes.size() / 2;
    QString text(units, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype k = 0; k < units; ++k) {
        const auto low = static_cast<unsigned char>(bytes[2 * k]);
        const auto high = static_cast<unsigned char>(bytes[2 * k + 1]);
        out[k] = QChar(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

}  // namespace net
