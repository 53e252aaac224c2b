#include "microrunner.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace bench {

namespace {

// A rate as text with the magnitude in front of the unit ("2.4 M").
QString rate(double perSecond) {
    if (perSecond >= 1e9) return fixed(perSecond / 1e9, 2) + u" G"_s;
    if (perSecond >= 1e6) return fixed(perSecond / 1e6, 2) + u" M"_s;
    if (perSecond >= 1e3) return fixed(perSecond / 1e3, 2) + u" k"_s;
    return fixed(perSecond, 0) + u' ';
}

QString unitText(benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond:
            return u"ns"_s;
        case benchmark::kMicrosecond:
            return u"µs"_s;
        case benchmark::kMillisecond:
            return u"ms"_s;
        case benchmark::kSecond:
            return u"s"_s;
    }
    return {};
}

// Takes each run as a row of the table instead of printing it.
class TableReporter : public benchmark::BenchmarkReporter {
public:
    explicit TableReporter(ResultTable& table) : table_(table) {}

    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const QString name = QString::fromStdString(run.run_name.function_name);
            if (run.error_occurred) {
                table_.add(u"micro"_s, name,
                           u"failed: "_s + QString::fromStdString(run.error_message),
                           u"a right result"_s, false);
                continue;
            }
            // CPU time, not the time on the clock: the machine may be shared,
            // and the rates below count CPU time too.
            QString result = fixed(run.GetAdjustedCPUTime(), 2) + u' ' + unitText(run.time_unit) +
                             u" CPU per run"_s;
            const auto items = run.counters.find("items_per_second");
            if (items != run.counters.end())
                result += u", "_s + rate(items->second.value) +
                          QString::fromStdString(run.report_label) + u"/s"_s;
            const auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end())
                result += u", "_s + fixed(bytes->second.value / (1024.0 * 1024.0), 1) + u" MiB/s"_s;
            table_.add(u"micro"_s, name, result);
            ++count_;
        }
    }

    int count() const { return count_; }

private:
    ResultTable& table_;
    int count_ = 0;
};

}  // namespace

QString runMicroBenchmarks(ResultTable& table, int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TableReporter reporter(table);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.count() == 0 ? u"no micro benchmark ran"_s : QString();
}

}  // namespace bench
