#include <gtest/gtest.h>

#include "webtestsupport.h"

namespace web {
namespace {

using test::Client;
using test::ServerForTest;
using test::testLimits;

// The body of an event stream: what came after the head.
QByteArray streamBody(const Client& client) {
    const qsizetype end = client.received.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : client.received.sliced(end + 4);
}

TEST(EventStream, SendsTheBacklogThenTheEventsOfItsKeyInOrderThenEnds) {
    ServerForTest s;
    EventHub& hub = s.server.events();
    Client watcher(s.port());
    Client other(s.port());
    watcher.get("/stream/g1?backlog=old");
    other.get("/stream/g2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return hub.streams() == 2; }));
    EXPECT_EQ(hub.streams("g1"), 1);

    QByteArray events;
    for (int n = 1; n <= 3; ++n) {
        const QByteArray event = sseEvent("move", "{\"n\":" + QByteArray::number(n) + "}", n);
        hub.send("g1", event);
        events += event;
    }
    hub.send("g1", sseEvent("end", "line one\r\nline two"));
    hub.close("g1");
    ASSERT_TRUE(watcher.waitClosed());
    EXPECT_TRUE(watcher.received.contains("Content-Type: text/event-stream"));
    EXPECT_TRUE(watcher.received.contains("Cache-Control: no-cache"));
    EXPECT_EQ(streamBody(watcher),
              "old" + events + "event: end\ndata: line one\ndata: line two\n\n");
    EXPECT_TRUE(events.startsWith("id: 1\nevent: move\ndata: {\"n\":1}\n\n"));

    other.pump();
    EXPECT_FALSE(other.closed());
    EXPECT_TRUE(streamBody(other).isEmpty()) << "another key's events stay with it";
    EXPECT_EQ(hub.streams(), 1);
}

TEST(EventStream, AFinishedStreamSendsItsBacklogAndCloses) {
    ServerForTest s;
    Client watcher(s.port());
    watcher.get("/stream/g1?backlog=all&ends=1");
    ASSERT_TRUE(watcher.waitClosed());
    EXPECT_EQ(streamBody(watcher), "all");
    Client headOnly(s.port());
    headOnly.get("/stream/g1", "HEAD");
    ASSERT_TRUE(headOnly.waitClosed());
    EXPECT_TRUE(headOnly.received.startsWith("HTTP/1.1 200"));
    EXPECT_TRUE(streamBody(headOnly).isEmpty());
    EXPECT_EQ(s.server.events().streams(), 0);
}

TEST(EventStream, KeepsIdleStreamsAliveAndForgetsWatchersThatLeave) {
    HttpLimits limits = testLimits();
    limits.keepAliveCommentMs = 50;
    ServerForTest s(limits);
    auto watcher = std::make_unique<Client>(s.port());
    watcher->get("/stream/g1");
    EXPECT_TRUE(
        watcher->waitFor([&] { return streamBody(*watcher).startsWith(": keep-alive\n\n"); }));
    EXPECT_EQ(s.server.events().streams("g1"), 1);
    watcher.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.server.events().streams("g1") == 0; }));
    EXPECT_EQ(s.server.connections(), 0);
}

TEST(EventStream, DropsAWatcherThatFallsBehindAndServesTheOthers) {
    ServerForTest s;
    EventHub& hub = s.server.events();
    Client stuck(s.port(), 4096);  // never reads
    Client reader(s.port());
    stuck.get("/stream/g1");
    reader.get("/stream/g1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return hub.streams("g1") == 2; }));

    // Events until the stuck watcher's backlog passes 64 KiB, on top of
    // what the kernel buffers hold; the reader reads along.
    const QByteArray filler(2000, 'x');
    int sent = 0;
    while (hub.streams("g1") == 2 && sent < 20000) {
        hub.send("g1", sseEvent("move", filler, ++sent));
        if (sent % 20 == 0) {
            reader.pump();
            QTest::qWait(1);
        }
    }
    EXPECT_EQ(hub.streams("g1"), 1);
    EXPECT_TRUE(stuck.waitClosed()) << "its connection was closed";

    hub.send("g1", sseEvent("end", "{}"));
    hub.close("g1");
    ASSERT_TRUE(reader.waitClosed());
    const QByteArray body = streamBody(reader);
    EXPECT_EQ(body.count("event: move"), sent);
    EXPECT_TRUE(body.contains("id: " + QByteArray::number(sent) + "\nevent: move"));
    EXPECT_TRUE(body.endsWith("event: end\ndata: {}\n\n"));
}

}  // namespace
}  // namespace web
