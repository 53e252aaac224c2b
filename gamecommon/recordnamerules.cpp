#include "recordnamerules.h"

#include <algorithm>

namespace gamecommon {

namespace {

QStringView lastPart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return QStringView(path).sliced(cut + 1);
}

}  // namespace

QString savedRecordName(const QString& answer, const RecordNames& names) {
    if (lastPart(answer).contains(u'.')) return answer;
    return answer + names.extension;
}

QString memoSaveName(const QString& answer, const RecordNames& names) {
    const QStringView name = lastPart(answer);
    if (name.contains(u'.') && name.contains(names.extension)) return answer;
    return answer + names.extension;
}

}  // namespace gamecommon
