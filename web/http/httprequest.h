#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <utility>

namespace web {

// One request as the handler sees it: the method (GET or HEAD), the path and
// the query parameters percent-decoded and known to be UTF-8, and the header
// lines with their names in lower case.
struct HttpRequest {
    bool head = false;  // HEAD: the answer's body is left out
    QString path;       // "/api/games/12"
    QList<std::pair<QString, QString>> query;
    QList<std::pair<QByteArray, QByteArray>> headers;
    bool http10 = false;
    bool wantsClose = false;  // the client asked to close after this answer

    // The first value of a query parameter, or a null string.
    QString queryValue(QStringView name) const;
    // The first header of that name (lower case), or a null array.
    QByteArray header(QByteArrayView lowerName) const;
};

// Reading one request head from the bytes a connection received so far.
struct RequestHead {
    enum class State {
        Incomplete,  // wait for more bytes
        Complete,    // `request` holds it; `size` bytes were its head
        Refused,     // answer `status` and close
    };
    State state = State::Incomplete;
    HttpRequest request;
    qsizetype size = 0;
    int status = 0;  // 400, 405, 413, 431 or 505 when refused
};

// Reads strictly: CRLF line ends, a request line "METHOD /target HTTP/1.x",
// well-formed header lines, a Host header for HTTP/1.1, no body (a
// Content-Length other than 0 or any Transfer-Encoding is refused with 413),
// only GET and HEAD (405). Empty lines before the request line are skipped.
RequestHead readRequestHead(QByteArrayView bytes, int maxHeadBytes, int maxHeaders);

// Percent-decodes `text`; a '+' becomes a space when `plusIsSpace` (a query).
// Null when a '%' is not followed by two hex digits, when the result holds a
// NUL or a control character, or is not UTF-8.
QString percentDecoded(QByteArrayView text, bool plusIsSpace);

}  // namespace web
