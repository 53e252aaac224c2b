#include "headlessrunner.h"

#include <QDateTime>
#include <utility>

#include "logtext.h"
#include "serverport.h"

using namespace Qt::StringLiterals;

namespace lobby {

HeadlessRunner::HeadlessRunner(QString loginFolder, LineWriter writeLine, bool verbose,
                               QObject* parent)
    : QObject(parent),
      writeLine_(std::move(writeLine)),
      verbose_(verbose),
      host_(std::move(loginFolder)) {
    auto logged = [this](const char* place) {
        return [this, place](const QString& t, Report kind) {
            if (kind == Report::Event || verbose_) report(place, t);
        };
    };
    host_.server().setMessageReports(verbose_);
    connect(&host_, &ServerHost::statusChanged, this, logged("Status"));
    connect(&host_, &ServerHost::msgChanged, this, logged("Msg"));
    connect(&host_, &ServerHost::addressChanged, this,
            [this](const QString& t) { report("GetTXT", t); });
    connect(&host_, &ServerHost::minuteCountChanged, this,
            [this](int m) { report("LFtime", QString::number(m)); });
    connect(&host_, &ServerHost::invalidData, this, [this](const QString& t) { report("Box", t); });
    connect(&host_, &ServerHost::errorBox, this, [this](const QString& t) { report("Box", t); });
    repeatTimer_.setSingleShot(true);
    repeatTimer_.setInterval(kRepeatMs);
    connect(&repeatTimer_, &QTimer::timeout, this, &HeadlessRunner::writeRepeats);
}

bool HeadlessRunner::start() {
    host_.start();
    if (!host_.StartListening()) return false;
    // With QUOR_PORT=0 the system picked the port: whoever started this server
    // (a script, a test) learns it here.
    report(net::kPortPlace, QString::number(host_.listeningPort()));
    return true;
}

void HeadlessRunner::stop() {
    host_.ThisExit();
    writeRepeats();
}

void HeadlessRunner::report(const char* place, const QString& text) {
    const QString entry = QString::fromLatin1(place) + u' ' + escapeControls(text);
    if (entry == lastEntry_ && repeatTimer_.isActive()) {
        ++repeats_;
        return;
    }
    writeRepeats();
    write(entry);
    lastEntry_ = entry;
    repeatTimer_.start();
}

void HeadlessRunner::write(const QString& entry) {
    writeLine_(QDateTime::currentDateTime().toString(u"yyyy-MM-dd hh:mm:ss"_s) + u' ' + entry);
}

// The repeats of the last line so far, as one line with their count.
void HeadlessRunner::writeRepeats() {
    if (repeats_ == 0) return;
    write(lastEntry_ + u"（"_s + QString::number(std::exchange(repeats_, 0)) + u"回）"_s);
    repeatTimer_.start();
}

}  // namespace lobby
