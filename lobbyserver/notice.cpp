#include "notice.h"

#include <QCoreApplication>
#include <utility>

#include "socketerrortext.h"

namespace lobby {

Notice Notice::sentence(const char* source, QStringList values) {
    Notice n;
    n.kind_ = Kind::Sentence;
    n.source_ = source;
    n.text_ = net::filledIn(QString::fromUtf8(source), values);
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
            return net::filledIn(QCoreApplication::translate("lobby", source_), values_);
        case Kind::SocketText:
            return net::shownSocketText(text_);
        case Kind::AsIs:
            break;
    }
    return text_;
}

}  // namespace lobby
