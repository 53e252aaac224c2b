#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebSocket>
#include <functional>
#include <map>
#include <optional>

namespace testsupport {

// Debian's chromium without a window, driven over its DevTools protocol, for
// the tests of the web pages: open a page, evaluate JavaScript in it, wait
// until something shows, press keys, take its picture. The browser has a
// profile of its own in a temporary folder and reaches no host but
// 127.0.0.1 (every host name fails to resolve, the background services are
// off). Each call waits for its answer with the event loop running, so a
// server of the test on this thread keeps answering the page meanwhile.
class HeadlessBrowser {
public:
    HeadlessBrowser() = default;
    ~HeadlessBrowser();
    HeadlessBrowser(const HeadlessBrowser&) = delete;
    HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

    // The browser program: $QUOR_CHROMIUM, else chromium on the PATH; empty
    // when there is none.
    static QString program();

    // Starts the browser with one page of width x height pixels; false, with
    // error() saying why, when it cannot.
    bool start(int width = 1024, int height = 768);
    // Opens `url` in the page and waits for its load event.
    bool open(const QUrl& url, int ms = 10000);
    // The value of a JavaScript expression in the page, a promise's value
    // once it settles; nullopt when it throws or no answer comes in time.
    std::optional<QJsonValue> evaluate(const QString& expression, int ms = 5000);
    // Waits until `expression` is true in the page (the page itself checks
    // it every few milliseconds), for at most `ms`.
    bool waitFor(const QString& expression, int ms = 5000);
    // Presses and lets go of a key ("ArrowLeft", "ArrowRight", "Home", "End")
    // as the keyboard does.
    bool pressKey(const QString& key);
    // Writes a PNG picture of the page to `file`.
    bool screenshot(const QString& file, int ms = 10000);
    // Ends the browser and everything it started.
    void close();

    QString error() const { return error_; }

private:
    std::optional<QJsonObject> command(const QString& method, const QJsonObject& params,
                                       int ms = 5000, bool toPage = true);
    bool waitUntil(const std::function<bool()>& done, int ms);
    void take(const QString& message);
    bool fail(const QString& why);

    QTemporaryDir profile_;
    QProcess process_;
    QWebSocket socket_;
    QString errorOutput_;
    QString sessionId_;
    int nextId_ = 1;
    std::map<int, QJsonObject> replies_;
    QStringList events_;  // the page's events since the last open()
    std::function<void()> wake_;
    QString error_;
};

}  // namespace testsupport
