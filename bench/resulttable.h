#pragma once

#include <QString>
#include <vector>

namespace bench {

// The one table `make bench` prints and writes: a row per measure, with the
// target it is held to, where it has one.
class ResultTable {
public:
    enum class Verdict { Info, Met, Missed };

    struct Row {
        QString part;  // "relay", "turn-taking", "capacity", "micro"
        QString measure;
        QString result;
        QString target;  // empty for a measure that is only shown
        Verdict verdict = Verdict::Info;
    };

    void add(Row row) { rows_.push_back(std::move(row)); }
    // A measure held to a target.
    void add(const QString& part, const QString& measure, const QString& result,
             const QString& target, bool met);
    // A measure only shown.
    void add(const QString& part, const QString& measure, const QString& result);

    // True when no measure missed its target.
    bool allMet() const;

    // The table in Markdown, under a heading and the machine it ran on.
    QString markdown(const QString& machine) const;

private:
    std::vector<Row> rows_;
};

// The machine a run is on, in one line: processor, cores, kernel, the load
// average (the other work on it while the run went on) and the build.
QString machineDescription(const QString& loadAtStart, const QString& loadAtEnd);

// The system's one-minute load average now, as text.
QString loadAverage();

// Fixed-point text of a number ("1.23").
QString fixed(double value, int decimals);

}  // namespace bench
