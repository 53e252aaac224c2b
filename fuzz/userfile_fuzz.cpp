// The server's user file, "BrellowLogIn.txt", as every login reads it. The
// input is the file's bytes.
//
// What must hold: every line with an ID and a password lets exactly its own
// login in, whatever line ends the file uses; an ID that no line holds never
// gets in; a file without a line is invalid data; the lines told as skipped
// are lines without an ID or a password.

#include <QDir>
#include <QFile>

#include "commafields.h"
#include "fuzzsupport.h"
#include "loginfile.h"
#include "shiftjis.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(
            QDir(quorfuzz::scratchFolder()).filePath(QString::fromLatin1(lobby::kLoginFileName)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(bytes);
    }
    lobby::UserFile users(quorfuzz::scratchFolder());

    // The lines as a person reading the file sees them: CR LF, LF and CR
    // each end one.
    QString text = platform::fromShiftJis(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();

    bool anyLine = false;
    QSet<QString> ids;
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty()) continue;
        anyLine = true;
        const QStringList fields = platform::splitCommaFields(line);
        ids << fields.value(1);
    }
    const lobby::LoginCheck stranger =
        users.check(QStringLiteral("nobody\u0001"), QStringLiteral("x"), QString());
    const QList<int> skipped = users.takeSkippedLines();
    if (!anyLine) {
        QUORFUZZ_CHECK(stranger == lobby::LoginCheck::InvalidData, "a file of no line is usable");
        return 0;
    }
    QUORFUZZ_CHECK(stranger == lobby::LoginCheck::Refused, "an unknown ID let in");
    for (const int number : skipped) {
        QUORFUZZ_CHECK(number >= 1 && number <= lines.size(),
                       QStringLiteral("skipped line %1 of %2").arg(number).arg(lines.size()));
        const QStringList fields = platform::splitCommaFields(lines[number - 1]);
        QUORFUZZ_CHECK(fields.value(1).isEmpty() || fields.value(2).isEmpty(),
                       QStringLiteral("a good line told as skipped: ") + lines[number - 1]);
    }
    for (const QString& line : lines) {
        const QStringList fields = platform::splitCommaFields(line);
        const QString id = fields.value(1);
        const QString pass = fields.value(2);
        if (line.trimmed().isEmpty() || id.isEmpty() || pass.isEmpty()) continue;
        QUORFUZZ_CHECK(users.check(id, pass, fields.value(3)) == lobby::LoginCheck::Allowed,
                       QStringLiteral("the user of this line is not let in: ") + line);
        if (!ids.contains(id + u'x'))
            QUORFUZZ_CHECK(
                users.check(id + u'x', pass, fields.value(3)) == lobby::LoginCheck::Refused,
                QStringLiteral("another ID let in by: ") + line);
    }
    return 0;
}
