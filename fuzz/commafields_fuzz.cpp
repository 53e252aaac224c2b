// The comma-field reader of every settings file, on one line of text (the
// input, UTF-8).
//
// What must hold: a line always has at least one field, and no more fields
// than commas plus one; a line without quotes has exactly that many, and
// none holds a comma or starts or ends with a blank; fields that need no
// quotes, joined by commas, read back as themselves.

#include "commafields.h"
#include "fuzzsupport.h"

namespace {

bool plain(const QString& field) {
    if (field.contains(u',') || field.contains(u'"')) return false;
    return field.isEmpty() || (field.front() != u' ' && field.front() != u'\t' &&
                               field.back() != u' ' && field.back() != u'\t');
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString line =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList fields = platform::splitCommaFields(line);
    const qsizetype commas = line.count(u',');
    QUORFUZZ_CHECK(!fields.isEmpty(), "a line without a field");
    QUORFUZZ_CHECK(fields.size() <= commas + 1,
                   QStringLiteral("%1 fields from %2 commas").arg(fields.size()).arg(commas));
    if (!line.contains(u'"')) {
        QUORFUZZ_CHECK(fields.size() == commas + 1, "a comma lost");
        for (const QString& field : fields)
            QUORFUZZ_CHECK(plain(field), QStringLiteral("an untrimmed field: ") + field);
    }
    if (std::all_of(fields.begin(), fields.end(), plain))
        QUORFUZZ_CHECK(platform::splitCommaFields(fields.join(u',')) == fields,
                       "the joined fields read otherwise");
    return 0;
}
