#include "httprequest.h"

#include <QStringDecoder>

namespace web {

QString HttpRequest::queryValue(QStringView name) const {
    for (const auto& [key, value] : query)
        if (key == name) return value;
    return {};
}

QByteArray HttpRequest::header(QByteArrayView lowerName) const {
    for (const auto& [key, value] : headers)
        if (key == lowerName) return value;
    return {};
}

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// RFC 9110 token characters, which a method and a header name are made of.
bool isTokenChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text) {
    if (text.isEmpty()) return false;
    for (const char c : text)
        if (!isTokenChar(c)) return false;
    return true;
}

// A header value: visible characters, spaces and tabs, and bytes above 0x7F
// (obs-text), which are kept as they are.
bool isFieldValue(QByteArrayView text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t') || u == 0x7F) return false;
    }
    return true;
}

QByteArrayView trimmedOws(QByteArrayView text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

bool hasToken(QByteArrayView list, QByteArrayView token) {
    for (const QByteArray& item : list.toByteArray().split(','))
        if (trimmedOws(item).compare(token, Qt::CaseInsensitive) == 0) return true;
    return false;
}

RequestHead refused(int status) {
    RequestHead head;
    head.state = RequestHead::State::Refused;
    head.status = status;
    return head;
}

// The target's path and query, decoded; false when either is malformed.
bool readTarget(QByteArrayView target, HttpRequest& request) {
    // Only the origin form ("/path?query"); no fragment, no absolute URL.
    if (target.isEmpty() || target.front() != '/' || target.contains('#')) return false;
    const qsizetype mark = target.indexOf('?');
    const QByteArrayView path = mark < 0 ? target : target.first(mark);
    request.path = percentDecoded(path, false);
    if (request.path.isNull()) return false;
    if (mark < 0) return true;
    const QByteArrayView query = target.sliced(mark + 1);
    for (const QByteArray& pair : query.toByteArray().split('&')) {
        if (pair.isEmpty()) continue;
        const qsizetype equals = pair.indexOf('=');
        const QString name =
            percentDecoded(QByteArrayView(pair).first(equals < 0 ? pair.size() : equals), true);
        const QString value = equals < 0
                                  ? QStringLiteral("")
                                  : percentDecoded(QByteArrayView(pair).sliced(equals + 1), true);
        if (name.isNull() || value.isNull()) return false;
        request.query.emplaceBack(name, value);
    }
    return true;
}

}  // namespace

QString percentDecoded(QByteArrayView text, bool plusIsSpace) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size()) return {};
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) return {};
            c = static_cast<char>(high * 16 + low);
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            c = ' ';
        }
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return {};
        bytes.append(c);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError()) return {};
    if (decoded.isNull()) decoded = QStringLiteral("");
    return decoded;
}

RequestHead readRequestHead(QByteArrayView bytes, int maxHeadBytes, int maxHeaders) {
    // Empty lines before a request are allowed (a client's stray CRLF after
    // the previous one); they count to the bound.
    qsizetype start = 0;
    while (bytes.size() - start >= 2 && bytes[start] == '\r' && bytes[start + 1] == '\n')
        start += 2;
    const qsizetype end = bytes.indexOf(QByteArrayView("\r\n\r\n"), start);
    if (end < 0) {
        if (bytes.size() > maxHeadBytes) return refused(431);
        return {};
    }
    if (end + 4 > maxHeadBytes) return refused(431);

    RequestHead head;
    head.size = end + 4;
    HttpRequest& request = head.request;
    const QList<QByteArray> lines = bytes.sliced(start, end - start).toByteArray().split('\n');
    // Every line ended with CRLF: a bare LF, or a CR inside a line, is refused.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const bool last = i + 1 == lines.size();
        const qsizetype crs = line.count('\r');
        if (last ? crs != 0 : (crs != 1 || !line.endsWith('\r'))) return refused(400);
    }

    const QByteArray requestLine = lines[0].endsWith('\r') ? lines[0].chopped(1) : lines[0];
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || !isToken(parts[0])) return refused(400);
    if (parts[2] == "HTTP/1.1")
        request.http10 = false;
    else if (parts[2] == "HTTP/1.0")
        request.http10 = true;
    else if (parts[2].startsWith("HTTP/") && parts[2].size() == 8)
        return refused(505);
    else
        return refused(400);
    for (const char c : parts[1]) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F) return refused(400);
    }
    if (!readTarget(parts[1], request)) return refused(400);

    if (lines.size() - 1 > maxHeaders) return refused(431);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
        const qsizetype colon = line.indexOf(':');
        // No folded lines (a line starting with white space), no space
        // before the colon.
        if (colon <= 0 || !isToken(QByteArrayView(line).first(colon))) return refused(400);
        const QByteArrayView value = trimmedOws(QByteArrayView(line).sliced(colon + 1));
        if (!isFieldValue(value)) return refused(400);
        request.headers.emplaceBack(line.first(colon).toLower(), value.toByteArray());
    }

    // The method once the request is known to be well-formed: a malformed
    // request is a 400 whatever its method.
    if (parts[0] == "HEAD")
        request.head = true;
    else if (parts[0] != "GET")
        return refused(405);

    int hosts = 0;
    int lengths = 0;
    for (const auto& [name, value] : request.headers) {
        if (name == "host") ++hosts;
        if (name == "transfer-encoding") return refused(413);
        if (name == "content-length") {
            ++lengths;
            bool number = !value.isEmpty();
            for (const char c : value)
                number = number && c >= '0' && c <= '9';
            if (!number) return refused(400);
            if (value.count('0') != value.size()) return refused(413);
        }
    }
    if (hosts > 1 || lengths > 1 || (!request.http10 && hosts == 0)) return refused(400);

    const QByteArray connection = request.header("connection");
    request.wantsClose =
        request.http10 ? !hasToken(connection, "keep-alive") : hasToken(connection, "close");
    head.state = RequestHead::State::Complete;
    return head;
}

}  // namespace web
