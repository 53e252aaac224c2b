#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "webtestsupport.h"

namespace web {
namespace {

using test::Answer;
using test::Client;
using test::ServerForTest;
using test::testLimits;

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A site folder beside a secret file that must never be served.
struct Site {
    Site() {
        const QString site = dir.path() + "/site";
        writeFile(site + "/app.js", "let a = 1;");
        writeFile(site + "/css/s.css", "body{}");
        writeFile(site + "/.hidden.css", "SECRET");
        writeFile(site + "/notes.txt", "SECRET");
        writeFile(site + "/noext", "SECRET");
        writeFile(dir.path() + "/secret.json", "SECRET");
        QFile::link(dir.path() + "/secret.json", site + "/link.json");
        QFile::link(site + "/css/s.css", site + "/inside.css");
    }
    QString root() const { return dir.path() + "/site"; }
    QTemporaryDir dir;
};

TEST(StaticFiles, ServesTheSiteFilesAndNothingElseInAnyEncoding) {
    Site site;
    HttpLimits limits = testLimits();
    ServerForTest s(limits, site.root());
    struct Case {
        QByteArray path;
        int status;
        QByteArray type;  // when served
    };
    const Case cases[] = {
        {"/web/app.js", 200, "text/javascript; charset=utf-8"},
        {"/web/css/s.css", 200, "text/css; charset=utf-8"},
        {"/web/inside.css", 200, "text/css; charset=utf-8"},
        {"/web/%61pp.js", 200, "text/javascript; charset=utf-8"},
        {"/web/../secret.json", 404, {}},
        {"/web/css/../../secret.json", 404, {}},
        {"/web/%2e%2e/secret.json", 404, {}},
        {"/web/%2E%2E%2Fsecret.json", 404, {}},
        {"/web/css/..%2f..%2fsecret.json", 404, {}},
        {"/web/%252e%252e/secret.json", 404, {}},
        {"/web/..%5csecret.json", 404, {}},
        {"/web/%2fetc%2fpasswd", 404, {}},
        {"/web//secret.json", 404, {}},
        {"/web/link.json", 404, {}},
        {"/web/.hidden.css", 404, {}},
        {"/web/notes.txt", 404, {}},
        {"/web/noext", 404, {}},
        {"/web/css", 404, {}},
        {"/web/", 404, {}},
        {"/web/%c0%ae%c0%ae/secret.json", 400, {}},
        {"/web/app.js%00.png", 400, {}},
    };
    auto client = std::make_unique<Client>(s.port());
    for (const Case& c : cases) {
        ASSERT_TRUE(client->get(c.path)) << c.path.constData();
        const Answer a = client->answer();
        EXPECT_EQ(a.status, c.status) << c.path.constData();
        EXPECT_FALSE(a.body.contains("SECRET")) << c.path.constData();
        if (c.status == 200) {
            EXPECT_TRUE(a.hasHeader("Content-Type: " + c.type)) << c.path.constData();
        }
        if (c.status == 400) {
            // A malformed request ends its connection.
            EXPECT_TRUE(client->waitClosed());
            client = std::make_unique<Client>(s.port());
        }
    }
}

TEST(StaticFiles, AnswersAMatchingETagWithNotModified) {
    Site site;
    ServerForTest s(testLimits(), site.root());
    Client client(s.port());
    client.get("/web/app.js");
    const Answer first = client.answer();
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(first.body, "let a = 1;");
    const qsizetype at = first.head.indexOf("ETag: ");
    ASSERT_GE(at, 0);
    const QByteArray etag = first.head.sliced(at + 6).split('\r').first();
    client.get("/web/app.js", "GET", "If-None-Match: " + etag + "\r\n");
    const Answer again = client.answer();
    EXPECT_EQ(again.status, 304);
    EXPECT_TRUE(again.body.isEmpty());
    client.get("/web/app.js", "HEAD");
    const Answer head = client.answer(true);
    EXPECT_TRUE(head.hasHeader("Content-Length: 10"));
    client.get("/web/app.js", "GET", "If-None-Match: \"other\"\r\n");
    EXPECT_EQ(client.answer().status, 200);
}

}  // namespace
}  // namespace web
