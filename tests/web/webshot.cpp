// quor_web_shot URL FILE [WIDTHxHEIGHT] [CONDITION]
//
// A picture of a page of the web front, taken by chromium without a window
// once the JavaScript expression CONDITION is true in the page (by default
// once it has loaded): what `make run` uses for its pictures of the web
// pages, so that a page whose data comes after its load is pictured with it.
// Ends with status 1, saying why, when there is no picture.

#include <QCoreApplication>
#include <QRegularExpression>
#include <cstdio>

#include "headlessbrowser.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QRegularExpression sizeForm(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"));
    const auto size = sizeForm.match(args.value(2, QStringLiteral("1024x768")));
    if (args.size() < 2 || args.size() > 4 || !size.hasMatch()) {
        std::fputs("usage: quor_web_shot URL FILE [WIDTHxHEIGHT] [CONDITION]\n", stderr);
        return 2;
    }
    const auto fail = [](const QString& why) {
        std::fprintf(stderr, "quor_web_shot: %s\n", why.toUtf8().constData());
        return 1;
    };
    testsupport::HeadlessBrowser browser;
    if (testsupport::HeadlessBrowser::program().isEmpty())
        return fail(QStringLiteral("chromium is not installed (scripts/setup-deps installs it)"));
    if (!browser.start(size.captured(1).toInt(), size.captured(2).toInt()) ||
        !browser.open(QUrl(args[0])))
        return fail(browser.error());
    const QString condition = args.value(3);
    if (!condition.isEmpty() && !browser.waitFor(condition, 15000))
        return fail(QStringLiteral("%1 never showed %2").arg(args[0], condition));
    if (!browser.screenshot(args[1])) return fail(browser.error());
    return 0;
}
