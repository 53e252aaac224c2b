#include "shiftjis.h"

#include <iconv.h>
#include <QList>

#include <algorithm>
#include <cerrno>

namespace platform {

namespace {

// One conversion with iconv that skips what cannot be converted: an input
// sequence it cannot read or a character it cannot write is replaced by
// `replacement` (already in the target encoding) and the input moves on by
// `unitSize` bytes.
QByteArray convert(const char* to, const char* from, QByteArrayView input,
                   QByteArrayView replacement, std::size_t unitSize) {
    QByteArray out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;

    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = static_cast<std::size_t>(input.size());
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - outLeft));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: an unconvertible or cut-off sequence.
        out.append(replacement.data(), replacement.size());
        const std::size_t skip = std::min(unitSize, inLeft);
        in += skip;
        inLeft -= skip;
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<qsizetype>(sizeof buffer - outLeft));
    iconv_close(cd);
    return out;
}

}  // namespace

QByteArray toShiftJis(QStringView text) {
    // UTF-32 input makes "one character" one fixed-size unit to skip.
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArrayView input(reinterpret_cast<const char*>(ucs4.constData()),
                               ucs4.size() * static_cast<qsizetype>(sizeof(uint)));
    return convert("CP932", "UTF-32LE", input, "?", sizeof(uint));
}

QString fromShiftJis(QByteArrayView bytes) {
    // Code page 932 keeps the bytes below 0x80 as ASCII. Game records are
    // nothing else and can hold many megabytes, which iconv takes its time
    // over.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return QString::fromLatin1(bytes);
    static const char kReplacement[] = "\xFD\xFF";  // U+FFFD in UTF-16LE
    const QByteArray utf16 =
        convert("UTF-16LE", "CP932", bytes, QByteArrayView(kReplacement, 2), 1);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

}  // namespace platform
