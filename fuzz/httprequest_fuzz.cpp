// The web server's request reader, on the bytes a client sent (the input).
//
// What must hold: a head is read whole or not at all, within its bound; a
// refusal carries one of the server's statuses; a request that is read has a
// GET or HEAD method, a path that begins with '/' and, like every query
// name and value, holds no control character; and the head it was read from,
// read alone, gives the same request.

#include "fuzzsupport.h"
#include "httprequest.h"

namespace {

constexpr int kMaxHead = 1024;  // small, so the fuzzer reaches the bound

bool clean(const QString& text) {
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quorfuzz::quietQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const web::RequestHead head = web::readRequestHead(bytes, kMaxHead, 20);
    using State = web::RequestHead::State;
    switch (head.state) {
        case State::Incomplete:
            QUORFUZZ_CHECK(bytes.size() <= kMaxHead, "an unbounded head waits for more");
            break;
        case State::Refused:
            QUORFUZZ_CHECK(head.status == 400 || head.status == 405 || head.status == 413 ||
                               head.status == 431 || head.status == 505,
                           QStringLiteral("status %1").arg(head.status));
            break;
        case State::Complete: {
            QUORFUZZ_CHECK(head.size > 0 && head.size <= kMaxHead && head.size <= bytes.size(),
                           QStringLiteral("head size %1").arg(head.size));
            const web::HttpRequest& r = head.request;
            QUORFUZZ_CHECK(r.path.startsWith(u'/') && clean(r.path), r.path);
            for (const auto& [name, value] : r.query)
                QUORFUZZ_CHECK(clean(name) && clean(value), name + u'=' + value);
            const web::RequestHead alone =
                web::readRequestHead(bytes.first(head.size), kMaxHead, 20);
            QUORFUZZ_CHECK(alone.state == State::Complete && alone.size == head.size &&
                               alone.request.path == r.path && alone.request.head == r.head,
                           "the head alone reads otherwise");
            break;
        }
    }
    return 0;
}
