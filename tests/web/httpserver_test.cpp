#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>
#include <vector>

#include "webtestsupport.h"

namespace web {
namespace {

using test::Answer;
using test::Client;
using test::ServerForTest;
using test::testLimits;

TEST(HttpServer, AnswersPipelinedRequestsOnOneConnectionUpToItsCap) {
    HttpLimits limits = testLimits();
    limits.maxRequestsPerConnection = 3;
    ServerForTest s(limits);
    ASSERT_TRUE(s.listening);
    ASSERT_NE(s.port(), 0);
    Client client(s.port());
    ASSERT_TRUE(client.get("/hello", "GET", "X-Name: a\r\n") && client.get("/hello", "HEAD") &&
                client.get("/nothing"));

    const Answer first = client.answer();
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(first.body, "hello a");
    EXPECT_TRUE(first.hasHeader("Connection: keep-alive"));
    EXPECT_FALSE(first.head.contains("Injected")) << "a header that breaks the framing is left out";
    const Answer head = client.answer(true);
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.hasHeader("Content-Length: 6"));
    const Answer last = client.answer();
    EXPECT_EQ(last.status, 404);
    EXPECT_TRUE(last.hasHeader("Connection: close"));
    EXPECT_TRUE(client.waitClosed());
    EXPECT_TRUE(client.received.isEmpty()) << "nothing follows the HEAD answer's head";
}

TEST(HttpServer, RefusesWhatItDoesNotServeAndCloses) {
    struct Case {
        const char* what;
        QByteArray bytes;
        int status;
    };
    const Case cases[] = {
        {"oversized", "GET /" + QByteArray(9000, 'a') + " HTTP/1.1\r\nHost: t\r\n\r\n", 431},
        {"no end in sight", QByteArray(20000, 'a'), 431},
        {"POST", "POST / HTTP/1.1\r\nHost: t\r\nContent-Length: 3\r\n\r\nabc", 405},
        {"a body", "GET / HTTP/1.1\r\nHost: t\r\nContent-Length: 3\r\n\r\nabc", 413},
        {"malformed", "GET / HTTP/1.1\r\nHost t\r\n\r\n", 400},
        {"client says close", "GET /hello HTTP/1.1\r\nHost: t\r\nConnection: close\r\n\r\n", 200},
        {"HTTP/1.0", "GET /hello HTTP/1.0\r\n\r\n", 200},
    };
    ServerForTest s;
    for (const Case& c : cases) {
        Client client(s.port());
        ASSERT_TRUE(client.send(c.bytes)) << c.what;
        EXPECT_EQ(client.answer().status, c.status) << c.what;
        EXPECT_TRUE(client.waitClosed()) << c.what;
    }
    // Each went, once its client had closed too.
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.server.connections() == 0; }));
}

TEST(HttpServer, ClosesAConnectionThatDoesNotCompleteARequestInTime) {
    // testLimits: a request must be whole within 1.5 s, an idle connection
    // goes after 1.5 s.
    enum class Behaviour { Silent, OneByteASecond, IdleAfterAnAnswer };
    for (const Behaviour kind :
         {Behaviour::Silent, Behaviour::OneByteASecond, Behaviour::IdleAfterAnAnswer}) {
        ServerForTest s;
        Client client(s.port());
        QElapsedTimer clock;
        clock.start();
        if (kind == Behaviour::IdleAfterAnAnswer) {
            client.get("/hello");
            EXPECT_EQ(client.answer().status, 200);
            clock.start();
        }
        const QByteArray request = "GET /hello HTTP/1.1\r\nHost: t\r\n\r\n";
        for (int i = 0; !client.closed() && clock.elapsed() < 5000; ++i) {
            if (kind == Behaviour::OneByteASecond && i < request.size())
                client.send(request.mid(i, 1));
            client.waitFor([&] { return client.closed(); }, 1000);
        }
        EXPECT_TRUE(client.closed());
        EXPECT_GE(clock.elapsed(), 1400);
        EXPECT_LT(clock.elapsed(), 2500);
        EXPECT_EQ(s.routes.asked, kind == Behaviour::IdleAfterAnAnswer ? 1 : 0);
    }
}

TEST(HttpServer, ServesManyAtOnceAndCapsConnectionsPerAddressAndInAll) {
    struct Case {
        int perAddress;
        int inAll;
        int refusedWith;
    };
    for (const Case c : {Case{200, 1000, 429}, Case{1000, 200, 503}}) {
        HttpLimits limits = testLimits();
        limits.idleTimeoutMs = 60'000;
        limits.maxConnectionsPerAddress = c.perAddress;
        limits.maxConnections = c.inAll;
        ServerForTest s(limits);
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < 200; ++i) {
            clients.push_back(std::make_unique<Client>(s.port()));
            clients.back()->get("/hello");
        }
        for (const auto& client : clients)
            EXPECT_EQ(client->answer().status, 200);
        Client extra(s.port());
        extra.get("/hello");
        EXPECT_EQ(extra.answer().status, c.refusedWith);
        EXPECT_TRUE(extra.waitClosed());
        // One goes, and the next is served.
        clients.front().reset();
        ASSERT_TRUE(QTest::qWaitFor([&] { return s.server.connections() == 199; }));
        Client next(s.port());
        next.get("/hello");
        EXPECT_EQ(next.answer().status, 200);
    }
}

TEST(HttpServer, LimitsTheRateOfRequestsPerAddress) {
    HttpLimits limits = testLimits();
    limits.requestBurst = 3;
    limits.requestsPerSecond = 0.01;
    ServerForTest s(limits);
    Client client(s.port());
    for (int i = 0; i < 4; ++i)
        client.get("/hello");
    for (const int status : {200, 200, 200, 429})
        EXPECT_EQ(client.answer().status, status);
    EXPECT_TRUE(client.waitClosed());
    Client again(s.port());
    again.get("/hello");
    const Answer refused = again.answer();
    EXPECT_EQ(refused.status, 429);
    EXPECT_TRUE(refused.hasHeader("Retry-After: 1"));
    EXPECT_EQ(s.routes.asked, 3);
}

// Behind a trusted reverse proxy every client arrives from the proxy's
// address: the proxy is not held to the per-address cap, and each request is
// counted against the client the proxy names last in X-Forwarded-For. A
// server that trusts no proxy (or another one) takes the header for nothing.
TEST(HttpServer, BehindATrustedProxyLimitsEachClientItNames) {
    HttpLimits limits = testLimits();
    limits.idleTimeoutMs = 60'000;
    limits.maxConnectionsPerAddress = 2;
    limits.requestBurst = 2;
    limits.requestsPerSecond = 0.01;
    const auto from = [](const char* client) {
        return "X-Forwarded-For: 198.51.100.7, " + QByteArray(client) + "\r\n";
    };
    for (const char* proxy : {"127.0.0.1", "", "192.0.2.1"}) {
        SCOPED_TRACE(proxy);
        const bool trusted = QByteArrayView(proxy) == "127.0.0.1";
        ServerForTest s(limits);
        s.server.setTrustedProxy(QHostAddress(QString::fromLatin1(proxy)));
        // Three connections at once, each for a client of its own.
        std::vector<std::unique_ptr<Client>> open;
        for (int i = 0; i < 3; ++i) {
            open.push_back(std::make_unique<Client>(s.port()));
            open.back()->get("/hello", "GET",
                             from(i == 0   ? "203.0.113.10"
                                  : i == 1 ? "203.0.113.11"
                                           : "203.0.113.12"));
            EXPECT_EQ(open.back()->answer().status, trusted || i < 2 ? 200 : 429) << i;
        }
        open.clear();
        ASSERT_TRUE(QTest::qWaitFor([&] { return s.server.connections() == 0; }));
        // Each client its own allowance; without the proxy trusted, the
        // proxy's allowance is gone already.
        const std::pair<const char*, int> requests[] = {
            {"203.0.113.1", 200}, {"203.0.113.1", 200}, {"203.0.113.1", 429}, {"203.0.113.2", 200}};
        for (const auto& [client, status] : requests) {
            Client c(s.port());
            c.get("/hello", "GET", from(client));
            EXPECT_EQ(c.answer().status, trusted ? status : 429) << client;
        }
    }
}

}  // namespace
}  // namespace web
