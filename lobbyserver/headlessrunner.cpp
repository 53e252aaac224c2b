#include "headlessrunner.h"

#include <QDateTime>
#include <utility>

using namespace Qt::StringLiterals;

namespace lobby {

HeadlessRunner::HeadlessRunner(QString loginFolder, LineWriter writeLine, QObject* parent)
    : QObject(parent), writeLine_(std::move(writeLine)), host_(std::move(loginFolder)) {
    connect(&host_, &ServerHost::statusChanged, this,
            [this](const QString& t) { report("Status", t); });
    connect(&host_, &ServerHost::msgChanged, this, [this](const QString& t) { report("Msg", t); });
    connect(&host_, &ServerHost::addressChanged, this,
            [this](const QString& t) { report("GetTXT", t); });
    connect(&host_, &ServerHost::minuteCountChanged, this,
            [this](int m) { report("LFtime", QString::number(m)); });
    connect(&host_, &ServerHost::invalidData, this, [this](const QString& t) { report("Box", t); });
    connect(&host_, &ServerHost::errorBox, this, [this](const QString& t) { report("Box", t); });
}

bool HeadlessRunner::start() {
    host_.start();
    return host_.StartListening();
}

void HeadlessRunner::stop() {
    host_.ThisExit();
}

void HeadlessRunner::report(const char* place, const QString& text) {
    QString flat = text;
    flat.replace(u"\r\n"_s, u"\\n"_s).replace(u'\n', u"\\n"_s).replace(u'\r', u"\\n"_s);
    writeLine_(QDateTime::currentDateTime().toString(u"yyyy-MM-dd hh:mm:ss"_s) + u' ' +
               QString::fromLatin1(place) + u' ' + flat);
}

}  // namespace lobby
