#pragma once

#include <QString>

#include "resulttable.h"

namespace bench {

// Runs the micro benchmarks (Google Benchmark; `arguments` may hold its
// options, --benchmark_filter among them) and adds a row for each to
// `table`. The reason none ran, or empty.
QString runMicroBenchmarks(ResultTable& table, int argc, char** argv);

}  // namespace bench
