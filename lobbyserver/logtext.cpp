#include "logtext.h"

#include "lobbyclassify.h"

using namespace Qt::StringLiterals;

namespace lobby {

namespace {

const QString kMask = u"***"_s;

// Marks that turn the direction of the text around, so that a line may read
// otherwise than it is written.
bool isDirectionMark(char16_t c) {
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

QString maskPasswords(const QString& message) {
    // Only these requests carry a password; every other message (every move
    // the server relays among them) goes back as it is, not taken apart.
    switch (classifyServerMessage(message)) {
        case ServerRequest::Login: {
            // ID, PASS, MAIL and KIND share field 1.
            QStringList fields = splitFields(message);
            if (fields.size() < 2) return message;
            QStringList parts = fields[1].split(u',');
            if (parts.size() < 2) return message;
            parts[1] = kMask;
            fields[1] = parts.join(u',');
            return fields.join(u'|');
        }
        case ServerRequest::GetGameData:
        case ServerRequest::GameStart:
        case ServerRequest::GameLogin: {
            QStringList fields = splitFields(message);
            if (fields.size() < 3) return message;
            fields[2] = kMask;
            return fields.join(u'|');
        }
        default:
            return message;
    }
}

QString escapeControls(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += u"\\n"_s;
        } else if (c < 0x20 || c == 0x7F) {
            out += u"\\x"_s + QString::number(c, 16).toUpper().rightJustified(2, u'0');
        } else if ((c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029 || isDirectionMark(c)) {
            // C1 controls, the line and paragraph separators, direction marks.
            out += u"\\u"_s + QString::number(c, 16).toUpper().rightJustified(4, u'0');
        } else {
            out += QChar(c);
        }
    }
    return out;
}

}  // namespace lobby
