#include <gtest/gtest.h>

#include "httprequest.h"

namespace web {
namespace {

using State = RequestHead::State;

struct HeadCase {
    const char* what;
    QByteArray bytes;
    State state;
    int status;  // when refused
};

TEST(RequestHead, IsReadStrictly) {
    const QByteArray host = "Host: x\r\n";
    const HeadCase cases[] = {
        {"plain GET", "GET / HTTP/1.1\r\n" + host + "\r\n", State::Complete, 0},
        {"HTTP/1.0 needs no host", "GET / HTTP/1.0\r\n\r\n", State::Complete, 0},
        {"stray empty lines first", "\r\n\r\nGET / HTTP/1.1\r\n" + host + "\r\n", State::Complete,
         0},
        {"Content-Length 0", "GET / HTTP/1.1\r\n" + host + "Content-Length: 0\r\n\r\n",
         State::Complete, 0},
        {"not yet whole", "GET / HTTP/1.1\r\nHo", State::Incomplete, 0},
        {"POST", "POST / HTTP/1.1\r\n" + host + "\r\n", State::Refused, 405},
        {"a body", "GET / HTTP/1.1\r\n" + host + "Content-Length: 5\r\n\r\nhello", State::Refused,
         413},
        {"chunked body", "GET / HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\n",
         State::Refused, 413},
        {"bad length", "GET / HTTP/1.1\r\n" + host + "Content-Length: -1\r\n\r\n", State::Refused,
         400},
        {"no host", "GET / HTTP/1.1\r\n\r\n", State::Refused, 400},
        {"two hosts", "GET / HTTP/1.1\r\n" + host + host + "\r\n", State::Refused, 400},
        {"bare LF", "GET / HTTP/1.1\n" + host + "\r\n", State::Refused, 400},
        {"folded header", "GET / HTTP/1.1\r\n" + host + " more\r\n\r\n", State::Refused, 400},
        {"space before colon", "GET / HTTP/1.1\r\nHost : x\r\n\r\n", State::Refused, 400},
        {"control in value", "GET / HTTP/1.1\r\n" + host + "X: a\x01z\r\n\r\n", State::Refused,
         400},
        {"absolute URL", "GET http://x/ HTTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"fragment", "GET /a#b HTTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"two spaces", "GET  / HTTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"bad escape", "GET /a%2 HTTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"escaped NUL", "GET /a%00b HTTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"escaped line break", "GET /?a=%0d%0a HTTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"not UTF-8", "GET /%ff HTTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"raw byte above 0x7F", "GET /\xe3\x81\x82 HTTP/1.1\r\n" + host + "\r\n", State::Refused,
         400},
        {"HTTP/2.0", "GET / HTTP/2.0\r\n" + host + "\r\n", State::Refused, 505},
        {"not HTTP", "GET / FTP/1.1\r\n" + host + "\r\n", State::Refused, 400},
        {"too long, whole", "GET /" + QByteArray(9000, 'a') + " HTTP/1.1\r\n" + host + "\r\n",
         State::Refused, 431},
        {"too long, not whole", "GET /" + QByteArray(9000, 'a'), State::Refused, 431},
        {"too many headers", "GET / HTTP/1.1\r\n" + host.repeated(101) + "\r\n", State::Refused,
         431},
    };
    for (const HeadCase& c : cases) {
        const RequestHead head = readRequestHead(c.bytes, 8 * 1024, 100);
        EXPECT_EQ(head.state, c.state) << c.what;
        if (c.state == State::Refused) {
            EXPECT_EQ(head.status, c.status) << c.what;
        }
    }
}

TEST(RequestHead, GivesThePathQueryAndHeadersDecoded) {
    const QByteArray bytes =
        "HEAD /games/%E5%AF%BE%E5%B1%80?before=12&q=a+b%21&flag HTTP/1.1\r\n"
        "Host: x\r\nLast-Event-ID:  7 \r\nConnection: Close\r\n\r\nGET ";
    const RequestHead head = readRequestHead(bytes, 8 * 1024, 100);
    ASSERT_EQ(head.state, State::Complete);
    EXPECT_EQ(head.size, bytes.size() - 4);
    const HttpRequest& r = head.request;
    EXPECT_TRUE(r.head);
    EXPECT_EQ(r.path, QStringLiteral("/games/対局"));
    EXPECT_EQ(r.queryValue(u"before"), QStringLiteral("12"));
    EXPECT_EQ(r.queryValue(u"q"), QStringLiteral("a b!"));
    EXPECT_TRUE(r.queryValue(u"flag").isEmpty() && !r.queryValue(u"flag").isNull());
    EXPECT_TRUE(r.queryValue(u"none").isNull());
    EXPECT_EQ(r.header("last-event-id"), "7");
    EXPECT_TRUE(r.wantsClose);
}

}  // namespace
}  // namespace web
