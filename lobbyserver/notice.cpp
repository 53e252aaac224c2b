#include "notice.h"

#include <QCoreApplication>
#include <utility>

#include "socketerrortext.h"

namespace lobby {

namespace {

// `pattern` with each %1…%9 replaced by its value, in one pass: a value that
// holds "%2" itself is put in as it is.
QString filledIn(const QString& pattern, const QStringList& values) {
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size()) {
            const int n = pattern[i + 1].digitValue();
            if (n >= 1 && n <= values.size()) {
                out += values[n - 1];
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace

Notice Notice::sentence(const char* source, QStringList values) {
    Notice n;
    n.kind_ = Kind::Sentence;
    n.source_ = source;
    n.text_ = filledIn(QString::fromUtf8(source), values);
    n.values_ = std::move(values);
    return n;
}

Notice Notice::socketText(QString text) {
    Notice n;
    n.kind_ = Kind::SocketText;
    n.text_ = std::move(text);
    return n;
}

Notice Notice::asIs(QString text) {
    Notice n;
    n.text_ = std::move(text);
    return n;
}

QString Notice::shown() const {
    switch (kind_) {
        case Kind::Sentence:
            return filledIn(QCoreApplication::translate("lobby", source_), values_);
        case Kind::SocketText:
            return net::shownSocketText(text_);
        case Kind::AsIs:
            break;
    }
    return text_;
}

}  // namespace lobby
