#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <utility>

namespace web {

// What the handler answers a request with: an ordinary answer (status, type,
// body, extra header lines), or an event stream. The server adds the length,
// the connection header and the rest of the framing, and leaves the body out
// for HEAD.
struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;  // "Cache-Control", "no-cache"

    // An event stream (text/event-stream) for the watchers of `streamKey`:
    // `body` is sent first (the events the client missed), then what the hub
    // sends to that key. With `streamEnds` the stream ends after `body`.
    bool stream = false;
    QByteArray streamKey;
    bool streamEnds = false;
};

// The reason phrase of a status the server uses, "OK" for 200.
QByteArrayView reasonPhrase(int status);

// A JSON answer; `json` is the document, already serialised.
HttpResponse jsonResponse(QByteArray json, int status = 200);

// An error with a short JSON body {"error": "..."}: 400, 404, 405, 408, 413,
// 429, 431, 500, 503, 505 (any other status gives its reason phrase too).
HttpResponse errorResponse(int status);

// An event stream for the watchers of `key`, beginning with `backlog`.
HttpResponse streamResponse(QByteArray key, QByteArray backlog = {}, bool ends = false);

// The bytes of the status line and header lines of `response`, the blank
// line included. `bodyLength` is the Content-Length to tell (the body's,
// also for HEAD); `keepAlive` chooses the Connection header. Extra headers
// whose name or value would break the framing are left out.
QByteArray responseHead(const HttpResponse& response, qsizetype bodyLength, bool keepAlive);

}  // namespace web
