#include "commafields.h"

namespace platform {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

QStringList splitCommaFields(QStringView line) {
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && isBlank(line[i]))
            ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            const qsizetype close = line.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            field = line.sliced(i + 1, end - i - 1).toString();
            i = close < 0 ? n : close + 1;
            while (i < n && line[i] != u',')
                ++i;
        } else {
            const qsizetype comma = line.indexOf(u',', i);
            const qsizetype end = comma < 0 ? n : comma;
            // Only blanks go: an ideographic space at the end of an ID is
            // part of it.
            qsizetype last = end;
            while (last > i && isBlank(line[last - 1]))
                --last;
            field = line.sliced(i, last - i).toString();
            i = end;
        }
        fields << field;
        if (i >= n) break;
        ++i;  // past the comma
    }
    return fields;
}

}  // namespace platform
