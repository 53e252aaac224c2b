#pragma once

#include <QString>
#include <QStringList>

namespace lobby {

// A text the server reports, as its log keeps it and as a window shows it.
// The server's own sentences are Japanese with values put in (an address, a
// user ID): the log and the standard output write that Japanese (`text`),
// which is the source of their translation, and a window shows them in the
// user's language (`shown`). What a peer sent is shown as it came.
class Notice {
public:
    Notice() = default;

    // A sentence of the server's (UTF-8, marked QT_TRANSLATE_NOOP("lobby", …))
    // with %1, %2 … standing for `values`, which are put in as they are.
    static Notice sentence(const char* source, QStringList values = {});
    // A text of the socket layer: its Japanese, shown as a window shows the
    // layer's texts (net::shownSocketText).
    static Notice socketText(QString text);
    // A text that reads the same in every language: what a peer sent, or a
    // word of the server's that is no Japanese.
    static Notice asIs(QString text);

    // The text in Japanese, as the log keeps it.
    const QString& text() const { return text_; }
    // The text in the user's language.
    QString shown() const;

private:
    enum class Kind { AsIs, Sentence, SocketText };

    Kind kind_ = Kind::AsIs;
    const char* source_ = nullptr;
    QStringList values_;
    QString text_;
};

}  // namespace lobby
