#include "headlessbrowser.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

namespace testsupport {

namespace {

// The background services a fresh profile would call on (updates, sync,
// safe browsing, metrics) are turned off, and every host name but the
// loopback address fails, so the tests stay on this machine. The sandbox is
// off because tests may run as root or in a container without user
// namespaces; the pages are the tests' own. Its shared memory is kept in
// /tmp, as a container's /dev/shm may be too small for it.
QStringList browserArguments(const QString& profile, int width, int height) {
    return {QStringLiteral("--headless=new"),
            QStringLiteral("--remote-debugging-port=0"),
            QStringLiteral("--user-data-dir=") + profile,
            QStringLiteral("--no-sandbox"),
            QStringLiteral("--disable-dev-shm-usage"),
            QStringLiteral("--no-first-run"),
            QStringLiteral("--no-default-browser-check"),
            QStringLiteral("--disable-gpu"),
            QStringLiteral("--disable-extensions"),
            QStringLiteral("--disable-background-networking"),
            QStringLiteral("--disable-component-update"),
            QStringLiteral("--disable-sync"),
            QStringLiteral("--disable-default-apps"),
            QStringLiteral("--disable-breakpad"),
            QStringLiteral("--disable-domain-reliability"),
            QStringLiteral("--disable-client-side-phishing-detection"),
            QStringLiteral("--disable-features=Translate,MediaRouter,OptimizationHints"),
            QStringLiteral("--no-pings"),
            QStringLiteral("--metrics-recording-only"),
            QStringLiteral("--mute-audio"),
            QStringLiteral("--hide-scrollbars"),
            QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"),
            QStringLiteral("--window-size=%1,%2").arg(width).arg(height),
            QStringLiteral("about:blank")};
}

// The key codes the pages are driven with.
std::optional<int> windowsKeyCode(const QString& key) {
    static const std::map<QString, int> codes = {{"End", 35},        {"Home", 36},
                                                 {"ArrowLeft", 37},  {"ArrowUp", 38},
                                                 {"ArrowRight", 39}, {"ArrowDown", 40}};
    const auto it = codes.find(key);
    if (it == codes.end()) return std::nullopt;
    return it->second;
}

}  // namespace

HeadlessBrowser::~HeadlessBrowser() {
    close();
}

QString HeadlessBrowser::program() {
    const QString chosen = qEnvironmentVariable("QUOR_CHROMIUM");
    if (!chosen.isEmpty()) return QStandardPaths::findExecutable(chosen);
    return QStandardPaths::findExecutable(QStringLiteral("chromium"));
}

bool HeadlessBrowser::fail(const QString& why) {
    error_ = why;
    return false;
}

bool HeadlessBrowser::start(int width, int height) {
    const QString chromium = program();
    if (chromium.isEmpty()) return fail(QStringLiteral("chromium is not installed"));
    if (!profile_.isValid()) return fail(QStringLiteral("no temporary folder for the profile"));

    QObject::connect(&socket_, &QWebSocket::textMessageReceived, [this](const QString& message) {
        take(message);
        if (wake_) wake_();
    });
    for (auto signal : {&QWebSocket::connected, &QWebSocket::disconnected})
        QObject::connect(&socket_, signal, [this] {
            if (wake_) wake_();
        });
    QObject::connect(&process_, &QProcess::readyReadStandardError, [this] {
        errorOutput_ += QString::fromUtf8(process_.readAllStandardError());
        if (wake_) wake_();
    });
    QObject::connect(&process_, &QProcess::finished, [this] {
        if (wake_) wake_();
    });

    // The browser's caches and settings stay inside the profile folder too.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), profile_.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), profile_.filePath(QStringLiteral("cache")));
    process_.setProcessEnvironment(env);
    process_.start(chromium, browserArguments(profile_.path(), width, height));
    if (!process_.waitForStarted(10000)) return fail(QStringLiteral("chromium did not start"));

    // "DevTools listening on ws://127.0.0.1:PORT/devtools/browser/ID"
    static const QRegularExpression listening(
        QStringLiteral(R"(DevTools listening on (ws://127\.0\.0\.1:\d+/\S+))"));
    QString address;
    waitUntil(
        [&] {
            const auto m = listening.match(errorOutput_);
            if (m.hasMatch()) address = m.captured(1);
            return !address.isEmpty() || process_.state() == QProcess::NotRunning;
        },
        30000);
    if (address.isEmpty())
        return fail(QStringLiteral("chromium told no DevTools address: ") + errorOutput_);

    socket_.open(QUrl(address));
    if (!waitUntil([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, 10000))
        return fail(QStringLiteral("no DevTools connection: ") + socket_.errorString());

    const auto target =
        command(QStringLiteral("Target.createTarget"),
                {{QStringLiteral("url"), QStringLiteral("about:blank")}}, 10000, false);
    if (!target) return false;
    const auto session = command(QStringLiteral("Target.attachToTarget"),
                                 {{QStringLiteral("targetId"), target->value("targetId")},
                                  {QStringLiteral("flatten"), true}},
                                 10000, false);
    if (!session) return false;
    sessionId_ = session->value(QStringLiteral("sessionId")).toString();
    return command(QStringLiteral("Page.enable"), {}) &&
           command(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                   {{QStringLiteral("width"), width},
                    {QStringLiteral("height"), height},
                    {QStringLiteral("deviceScaleFactor"), 1},
                    {QStringLiteral("mobile"), false}}) &&
           command(QStringLiteral("Emulation.setFocusEmulationEnabled"),
                   {{QStringLiteral("enabled"), true}});
}

bool HeadlessBrowser::open(const QUrl& url, int ms) {
    events_.clear();
    const auto reply =
        command(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url.toString()}}, ms);
    if (!reply) return false;
    if (reply->contains(QStringLiteral("errorText")))
        return fail(url.toString() + QStringLiteral(": ") +
                    reply->value(QStringLiteral("errorText")).toString());
    if (!waitUntil([this] { return events_.contains(QStringLiteral("Page.loadEventFired")); }, ms))
        return fail(url.toString() + QStringLiteral(" did not load"));
    return true;
}

std::optional<QJsonValue> HeadlessBrowser::evaluate(const QString& expression, int ms) {
    const auto reply = command(QStringLiteral("Runtime.evaluate"),
                               {{QStringLiteral("expression"), expression},
                                {QStringLiteral("returnByValue"), true},
                                {QStringLiteral("awaitPromise"), true}},
                               ms);
    if (!reply) return std::nullopt;
    if (reply->contains(QStringLiteral("exceptionDetails"))) {
        const QJsonObject details = reply->value(QStringLiteral("exceptionDetails")).toObject();
        const QString description = details.value(QStringLiteral("exception"))
                                        .toObject()
                                        .value(QStringLiteral("description"))
                                        .toString();
        fail(expression + QStringLiteral(": ") +
             (description.isEmpty() ? details.value(QStringLiteral("text")).toString()
                                    : description));
        return std::nullopt;
    }
    return reply->value(QStringLiteral("result")).toObject().value(QStringLiteral("value"));
}

bool HeadlessBrowser::waitFor(const QString& expression, int ms) {
    // The page polls, so a wait costs one round trip rather than one per try.
    const QString poll = QStringLiteral(
                             "new Promise((done) => { const end = Date.now() + %1;"
                             " const check = () => { let ok = false;"
                             " try { ok = !!(%2); } catch (e) { ok = false; }"
                             " if (ok || Date.now() > end) done(ok); else setTimeout(check, 5); };"
                             " check(); })")
                             .arg(ms)
                             .arg(expression);
    const auto value = evaluate(poll, ms + 5000);
    if (value && value->toBool()) return true;
    if (value) fail(QStringLiteral("never true: ") + expression);
    return false;
}

bool HeadlessBrowser::pressKey(const QString& key) {
    const auto code = windowsKeyCode(key);
    if (!code) return fail(QStringLiteral("no key code for ") + key);
    for (const char* type : {"rawKeyDown", "keyUp"}) {
        if (!command(QStringLiteral("Input.dispatchKeyEvent"),
                     {{QStringLiteral("type"), QString::fromLatin1(type)},
                      {QStringLiteral("key"), key},
                      {QStringLiteral("code"), key},
                      {QStringLiteral("windowsVirtualKeyCode"), *code},
                      {QStringLiteral("nativeVirtualKeyCode"), *code}}))
            return false;
    }
    return true;
}

bool HeadlessBrowser::screenshot(const QString& file, int ms) {
    const auto reply = command(QStringLiteral("Page.captureScreenshot"),
                               {{QStringLiteral("format"), QStringLiteral("png")}}, ms);
    if (!reply) return false;
    const QByteArray png =
        QByteArray::fromBase64(reply->value(QStringLiteral("data")).toString().toLatin1());
    QFile out(file);
    if (png.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(png) != png.size())
        return fail(QStringLiteral("cannot write ") + file);
    return true;
}

void HeadlessBrowser::close() {
    if (socket_.state() == QAbstractSocket::ConnectedState) {
        // The browser may go before it answers; its ending is what counts.
        QJsonObject message{{QStringLiteral("id"), nextId_++},
                            {QStringLiteral("method"), QStringLiteral("Browser.close")}};
        socket_.sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson()));
        waitUntil([this] { return process_.state() == QProcess::NotRunning; }, 5000);
    }
    socket_.abort();
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    wake_ = nullptr;
}

std::optional<QJsonObject> HeadlessBrowser::command(const QString& method,
                                                    const QJsonObject& params, int ms,
                                                    bool toPage) {
    const int id = nextId_++;
    QJsonObject message{{QStringLiteral("id"), id},
                        {QStringLiteral("method"), method},
                        {QStringLiteral("params"), params}};
    if (toPage) message.insert(QStringLiteral("sessionId"), sessionId_);
    if (socket_.state() != QAbstractSocket::ConnectedState) {
        fail(method + QStringLiteral(": the browser is not connected"));
        return std::nullopt;
    }
    socket_.sendTextMessage(
        QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    if (!waitUntil([&] { return replies_.count(id) != 0; }, ms)) {
        fail(method + QStringLiteral(": no answer in time"));
        return std::nullopt;
    }
    const QJsonObject reply = replies_[id];
    replies_.erase(id);
    if (reply.contains(QStringLiteral("error"))) {
        fail(method + QStringLiteral(": ") +
             reply.value(QStringLiteral("error"))
                 .toObject()
                 .value(QStringLiteral("message"))
                 .toString());
        return std::nullopt;
    }
    return reply.value(QStringLiteral("result")).toObject();
}

void HeadlessBrowser::take(const QString& message) {
    const QJsonObject object = QJsonDocument::fromJson(message.toUtf8()).object();
    if (object.contains(QStringLiteral("id"))) {
        replies_[object.value(QStringLiteral("id")).toInt()] = object;
    } else if (object.value(QStringLiteral("sessionId")).toString() == sessionId_ &&
               !sessionId_.isEmpty()) {
        events_.append(object.value(QStringLiteral("method")).toString());
    }
}

bool HeadlessBrowser::waitUntil(const std::function<bool()>& done, int ms) {
    if (done()) return true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto previous = wake_;
    wake_ = [&] {
        if (done()) loop.quit();
    };
    deadline.start(ms);
    loop.exec();
    wake_ = previous;
    return done();
}

}  // namespace testsupport
