#include "httpresponse.h"

namespace web {

QByteArrayView reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 304:
            return "Not Modified";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 429:
            return "Too Many Requests";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        case 505:
            return "HTTP Version Not Supported";
        default:
            return "Unknown";
    }
}

HttpResponse jsonResponse(QByteArray json, int status) {
    HttpResponse response;
    response.status = status;
    response.contentType = "application/json; charset=utf-8";
    response.body = std::move(json);
    response.headers.emplaceBack("Cache-Control", "no-cache");
    return response;
}

HttpResponse errorResponse(int status) {
    QByteArray text = reasonPhrase(status).toByteArray().toLower();
    HttpResponse response = jsonResponse("{\"error\":\"" + text + "\"}\n", status);
    if (status == 405) response.headers.emplaceBack("Allow", "GET, HEAD");
    if (status == 429 || status == 503) response.headers.emplaceBack("Retry-After", "1");
    return response;
}

HttpResponse streamResponse(QByteArray key, QByteArray backlog, bool ends) {
    HttpResponse response;
    response.contentType = "text/event-stream; charset=utf-8";
    response.body = std::move(backlog);
    response.stream = true;
    response.streamKey = std::move(key);
    response.streamEnds = ends;
    return response;
}

namespace {

bool framingSafe(QByteArrayView text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t') || u == 0x7F) return false;
    }
    return true;
}

bool isNamed(QByteArrayView name, QByteArrayView wanted) {
    return name.compare(wanted, Qt::CaseInsensitive) == 0;
}

}  // namespace

QByteArray responseHead(const HttpResponse& response, qsizetype bodyLength, bool keepAlive) {
    QByteArray head;
    head.reserve(256);
    head += "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
            reasonPhrase(response.status).toByteArray() + "\r\n";
    if (!response.contentType.isEmpty() && framingSafe(response.contentType))
        head += "Content-Type: " + response.contentType + "\r\n";
    if (response.stream) {
        head += "Cache-Control: no-cache\r\n";
    } else if (response.status != 304) {
        head += "Content-Length: " + QByteArray::number(bodyLength) + "\r\n";
    }
    head += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    head += "X-Content-Type-Options: nosniff\r\n";
    for (const auto& [name, value] : response.headers) {
        if (name.isEmpty() || !framingSafe(name) || name.contains(':') || name.contains(' ') ||
            !framingSafe(value))
            continue;
        // The server alone frames the answer.
        if (isNamed(name, "content-length") || isNamed(name, "connection") ||
            isNamed(name, "transfer-encoding") || isNamed(name, "content-type"))
            continue;
        if (response.stream && isNamed(name, "cache-control")) continue;
        head += name + ": " + value + "\r\n";
    }
    head += "\r\n";
    return head;
}

}  // namespace web
