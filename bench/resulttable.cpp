#include "resulttable.h"

#include <sys/utsname.h>

#include <QDateTime>
#include <QFile>
#include <QThread>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

QString verdictText(ResultTable::Verdict verdict) {
    switch (verdict) {
        case ResultTable::Verdict::Met:
            return u"met"_s;
        case ResultTable::Verdict::Missed:
            return u"**missed**"_s;
        case ResultTable::Verdict::Info:
            break;
    }
    return {};
}

QString processorName() {
    QFile cpuinfo(u"/proc/cpuinfo"_s);
    if (!cpuinfo.open(QIODevice::ReadOnly)) return u"unknown processor"_s;
    for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
        if (line.startsWith("model name"))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    }
    return u"unknown processor"_s;
}

}  // namespace

void ResultTable::add(const QString& part, const QString& measure, const QString& result,
                      const QString& target, bool met) {
    add(Row{part, measure, result, target, met ? Verdict::Met : Verdict::Missed});
}

void ResultTable::add(const QString& part, const QString& measure, const QString& result) {
    add(Row{part, measure, result, {}, Verdict::Info});
}

bool ResultTable::allMet() const {
    for (const Row& row : rows_)
        if (row.verdict == Verdict::Missed) return false;
    return true;
}

QString ResultTable::markdown(const QString& machine) const {
    QString text = u"## Quor benchmarks, "_s +
                   QDateTime::currentDateTime().toString(u"yyyy-MM-dd hh:mm"_s) + u"\n\n"_s +
                   machine + u"\n\n"_s;
    text += u"| part | measure | result | target | |\n|---|---|---|---|---|\n"_s;
    for (const Row& row : rows_) {
        text += u"| "_s + row.part + u" | "_s + row.measure + u" | "_s + row.result + u" | "_s +
                row.target + u" | "_s + verdictText(row.verdict) + u" |\n"_s;
    }
    return text;
}

QString machineDescription(const QString& loadAtStart, const QString& loadAtEnd) {
    QString kernel = u"Linux"_s;
    utsname names{};
    if (::uname(&names) == 0)
        kernel = QString::fromUtf8(names.sysname) + u' ' + QString::fromUtf8(names.release);
    return u"Machine: "_s + processorName() + u", "_s +
           QString::number(QThread::idealThreadCount()) + u" cores, "_s + kernel +
           u"; load average "_s + loadAtStart + u" at the start, "_s + loadAtEnd +
           u" at the end. Build: " QUOR_BENCH_BUILD_TYPE ", " QUOR_BENCH_COMPILER ", Qt "_s +
           QString::fromLatin1(qVersion()) + u'.';
}

QString loadAverage() {
    QFile loadavg(u"/proc/loadavg"_s);
    if (!loadavg.open(QIODevice::ReadOnly)) return u"?"_s;
    return QString::fromLatin1(loadavg.readAll().split(' ').value(0));
}

QString fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

}  // namespace bench
