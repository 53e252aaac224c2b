#include "lobbynumbers.h"

#include <limits>

namespace lobby {

QString plainNumber(int value) {
    return QString::number(value);
}

QString signedNumber(int value) {
    return value >= 0 ? QLatin1Char(' ') + QString::number(value) : QString::number(value);
}

int lenientNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulated as a negative number so that the most negative int fits too.
    constexpr long long kMin = std::numeric_limits<int>::min();
    constexpr long long kMax = std::numeric_limits<int>::max();
    long long value = 0;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > kMax + 1) value = kMax + 1;  // keeps going without overflowing
    }
    if (negative) return static_cast<int>(-value < kMin ? kMin : -value);
    return static_cast<int>(value > kMax ? kMax : value);
}

}  // namespace lobby
