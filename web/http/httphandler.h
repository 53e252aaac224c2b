#pragma once

#include "httprequest.h"
#include "httpresponse.h"

namespace web {

// What answers the web server's requests (the routes of the web front). It is
// called in the server's thread, for requests that are well-formed, GET or
// HEAD, and within the client's rate; it returns an answer or an event stream
// (HttpResponse::stream).
class HttpHandler {
public:
    virtual ~HttpHandler() = default;
    virtual HttpResponse answer(const HttpRequest& request) = 0;
};

}  // namespace web
