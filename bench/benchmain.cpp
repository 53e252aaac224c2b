// `make bench`: the relay against a bare relay, turn-taking play, a lobby at
// its capacity, the web front's event streams to many watchers of one game
// (fan-out) and the micro benchmarks, in one table printed at the end and
// written to a Markdown file.
//
//   quor_bench [--out FILE] [--only relay,capacity,micro,fanout] [--round-trips N]
//              [--turns N] [--capacity-seconds N] [--watchers N] [--relay-watchers N]
//              [--watched-move-ms N]
//              [--brellow PROGRAM]
//              [--bare-relay PROGRAM] [--benchmark_filter=...]
//
// --brellow and --bare-relay run other programs in their place: another
// build to compare, or one under a profiler (a script that starts it with the
// arguments it is given).

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <vector>

#include "capacitybench.h"
#include "fanoutbench.h"
#include "microrunner.h"
#include "relaybench.h"
#include "resulttable.h"
#include "shallowidle.h"

using namespace Qt::StringLiterals;

namespace {

using bench::fixed;
using bench::ResultTable;

struct Options {
    QString out;
    QStringList parts = {u"micro"_s, u"relay"_s, u"capacity"_s, u"fanout"_s};
    bench::RelayOptions relay;
    bench::FanoutOptions fanout;
    bench::CapacityOptions capacity;
    std::vector<char*> microArguments;  // the program name and Google Benchmark's options
};

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

std::optional<Options> parse(int argc, char** argv) {
    Options o;
    o.relay.brellowPath = o.capacity.brellowPath = o.fanout.brellowPath =
        QStringLiteral(QUOR_BENCH_BRELLOW);
    o.relay.bareRelayPath = QStringLiteral(QUOR_BENCH_BARE_RELAY);
    o.microArguments.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const QString option = QString::fromLocal8Bit(argv[i]);
        const bool hasValue = i + 1 < argc;
        auto number = [&](int& into) {
            bool ok = false;
            into = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            return ok && into > 0;
        };
        if (option.startsWith(u"--benchmark_"_s)) {
            o.microArguments.push_back(argv[i]);
        } else if (option == u"--brellow"_s && hasValue) {
            o.relay.brellowPath = o.capacity.brellowPath = o.fanout.brellowPath =
                QString::fromLocal8Bit(argv[++i]);
        } else if (option == u"--bare-relay"_s && hasValue) {
            o.relay.bareRelayPath = QString::fromLocal8Bit(argv[++i]);
        } else if (option == u"--out"_s && hasValue) {
            o.out = QString::fromLocal8Bit(argv[++i]);
        } else if (option == u"--only"_s && hasValue) {
            o.parts = QString::fromLocal8Bit(argv[++i]).split(u',');
        } else if (option == u"--round-trips"_s && hasValue) {
            if (!number(o.relay.roundTrips)) return std::nullopt;
        } else if (option == u"--turns"_s && hasValue) {
            if (!number(o.relay.turns)) return std::nullopt;
        } else if (option == u"--capacity-seconds"_s && hasValue) {
            if (!number(o.capacity.seconds)) return std::nullopt;
        } else if (option == u"--watchers"_s && hasValue) {
            if (!number(o.fanout.watchers)) return std::nullopt;
        } else if (option == u"--watched-move-ms"_s && hasValue) {
            bool ok = false;
            o.relay.watchedMoveMs = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            if (!ok || o.relay.watchedMoveMs < 1) return std::nullopt;
        } else if (option == u"--relay-watchers"_s && hasValue) {
            bool ok = false;
            o.relay.webWatchers = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
            if (!ok || o.relay.webWatchers < 0) return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

QString us(double microseconds) {
    return microseconds >= 1000 ? fixed(microseconds / 1000, 2) + u" ms"_s
                                : fixed(microseconds, 1) + u" µs"_s;
}

QString ratio(double a, double b) {
    return b > 0 ? fixed(a / b, 2) + u"×"_s : u"?"_s;
}

void addRelayRows(ResultTable& table, const bench::RelayResult& r) {
    const QString part = u"relay"_s;
    struct Point {
        const char* name;
        double p;
        double limit;  // the most the ratio may be; 0: shown only
    };
    const Point points[] = {{"p50", 50, 1.10}, {"p99", 99, 1.3}, {"p99.9", 99.9, 0}};
    const QString web = r.webWatchers > 0
                            ? u", web front on, %1 watchers of another game"_s.arg(r.webWatchers)
                            : QString();
    for (const Point& point : points) {
        const double through = r.brellowRoundTrips.percentile(point.p);
        const double bare = r.bareRoundTrips.percentile(point.p);
        const QString measure = u"move → acknowledgement round trip %1 (%2 each%3)"_s.arg(
            QString::fromLatin1(point.name), QString::number(r.brellowRoundTrips.count()), web);
        const QString result = u"Brellow "_s + us(through) + u", bare relay "_s + us(bare) +
                               u": "_s + ratio(through, bare);
        if (point.limit > 0)
            table.add(part, measure, result, u"≤ "_s + fixed(point.limit, 2) + u"×"_s,
                      through <= point.limit * bare);
        else
            table.add(part, measure, result);
    }
    if (r.messages > 0) {
        const double perMessage = 1e6 / static_cast<double>(r.messages);
        table.add(part, u"CPU time per relayed message"_s,
                  u"Brellow "_s + us(r.brellowCpuSeconds * perMessage) + u", bare relay "_s +
                      us(r.bareCpuSeconds * perMessage));
    }
    if (r.webWatchers > 0)
        table.add(
            part,
            u"web watchers that saw every move of the watched game (%1 moves, one every %2 ms)"_s
                .arg(r.watchedMoves)
                .arg(r.watchedMoveMs),
            u"%1 of %2"_s.arg(r.webWatchersAtEnd).arg(r.webWatchers), u"all"_s,
            r.webWatchersAtEnd == r.webWatchers);
    const QString turns = u"turn-taking"_s;
    const QString moves = QString::number(r.brellowTurns.count());
    const double p50 = r.brellowTurns.percentile(50);
    table.add(turns,
              u"one-way move latency p50 (%1 moves: move, acknowledgement, answer)"_s.arg(moves),
              u"Brellow "_s + us(p50) + u", bare relay "_s + us(r.bareTurns.percentile(50)),
              u"Brellow < 2 ms"_s, p50 < 2000);
    table.add(turns, u"one-way move latency p99"_s,
              u"Brellow "_s + us(r.brellowTurns.percentile(99)) + u", bare relay "_s +
                  us(r.bareTurns.percentile(99)));
}

void addCapacityRows(ResultTable& table, const bench::CapacityResult& r,
                     const bench::CapacityOptions& o) {
    const QString part = u"capacity"_s;
    const QString load =
        u"%1 users, %2 linked pairs: a move every %3 ms per pair, a poll every %4 ms per client, %5 s"_s
            .arg(o.pairs * 2)
            .arg(o.pairs)
            .arg(o.moveEveryMs)
            .arg(o.pollEveryMs)
            .arg(fixed(r.seconds, 1));
    const long long lost = r.movesSent - r.movesInOrder;
    table.add(
        part, u"moves lost, repeated or out of order"_s,
        u"%1 of %2 (%3 arrived where another was due; %4 acknowledgements missing)"_s.arg(lost)
            .arg(r.movesSent)
            .arg(r.movesWrong)
            .arg(r.acksMissing),
        u"0"_s, lost == 0 && r.movesWrong == 0 && r.acksMissing == 0);
    const double share = r.seconds > 0 ? 100.0 * r.serverCpuSeconds / r.seconds : 0;
    const double perThousand = r.messages > 0 ? 1000.0 * r.serverCpuSeconds / r.messages : 0;
    table.add(part, u"server CPU under the load ("_s + load + u')',
              fixed(share, 2) + u" % of one core; "_s + fixed(perThousand, 4) +
                  u" CPU s per 1 000 messages received ("_s + QString::number(r.messages) + u')',
              u"< 5 % of one core"_s, share < 5.0);
    table.add(part, u"server resident memory at the end (peak)"_s,
              fixed(r.residentKib / 1024.0, 1) + u" MiB ("_s +
                  fixed(r.peakResidentKib / 1024.0, 1) + u" MiB)"_s);
    table.add(part, u"user-list reply p99 (p50)"_s,
              us(r.userListReplies.percentile(99)) + u" ("_s +
                  us(r.userListReplies.percentile(50)) + u"), "_s +
                  QString::number(r.userListReplies.count()) + u" lists"_s);
    table.add(part, u"user lists that miss a user"_s, QString::number(r.listsShort), u"0"_s,
              r.listsShort == 0);
}

void addFanoutRows(ResultTable& table, const bench::FanoutResult& r, int moves) {
    const QString part = u"fanout"_s;
    const QString who =
        u"%1 watchers (event streams) of one game, %2 moves"_s.arg(r.watchers).arg(moves);
    table.add(part, u"a move at every watcher, p99 (p50), "_s + who,
              us(r.delivery.percentile(99)) + u" ("_s + us(r.delivery.percentile(50)) + u")"_s,
              u"≤ 200 ms"_s, r.delivery.percentile(99) <= 200000);
    table.add(
        part, u"a move at the last of the watchers, worst (p50)"_s,
        us(r.lastArrival.percentile(100)) + u" ("_s + us(r.lastArrival.percentile(50)) + u")"_s);
    table.add(part, u"server memory per watcher"_s, fixed(r.kibPerWatcher, 1) + u" KiB"_s,
              u"≤ 64 KiB"_s, r.kibPerWatcher <= 64);
    table.add(part, u"watchers dropped"_s, QString::number(r.dropped), u"0"_s, r.dropped == 0);
}

}  // namespace

int main(int argc, char** argv) {
    // The web front's micro benchmark runs its service here, sockets and
    // timers included.
    QCoreApplication app(argc, argv);
    std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(
            stderr,
            "usage: %s [--out FILE] [--only relay,capacity,micro,fanout] [--round-trips N] "
            "[--turns N] [--capacity-seconds N] [--watchers N] [--relay-watchers N] "
            "[--watched-move-ms N] "
            "[--brellow PROGRAM] "
            "[--bare-relay PROGRAM] "
            "[--benchmark_filter=...]\n",
            argv[0]);
        return 2;
    }
    const Options& o = *options;
    const bench::ShallowIdle shallowIdle;
    if (!shallowIdle.held()) say(shallowIdle.description());
    const QString loadAtStart = bench::loadAverage();
    ResultTable table;
    QStringList failures;

    if (o.parts.contains(u"micro"_s)) {
        say(u"micro benchmarks..."_s);
        std::vector<char*> arguments = o.microArguments;
        int count = static_cast<int>(arguments.size());
        const QString error = bench::runMicroBenchmarks(table, count, arguments.data());
        if (!error.isEmpty()) failures << u"micro: "_s + error;
    }
    if (o.parts.contains(u"relay"_s)) {
        say(u"relay: %1 round trips and %2 turn-taking moves through Brellow and the bare relay..."_s
                .arg(o.relay.roundTrips)
                .arg(o.relay.turns));
        const bench::RelayResult result = bench::runRelayBench(o.relay);
        if (result.error.isEmpty())
            addRelayRows(table, result);
        else
            failures << u"relay: "_s + result.error;
    }
    if (o.parts.contains(u"capacity"_s)) {
        say(u"capacity: %1 s of a full lobby..."_s.arg(o.capacity.seconds));
        const bench::CapacityResult result = bench::runCapacityBench(o.capacity);
        if (result.error.isEmpty())
            addCapacityRows(table, result, o.capacity);
        else
            failures << u"capacity: "_s + result.error;
    }

    if (o.parts.contains(u"fanout"_s)) {
        say(u"fanout: %1 watchers of one game..."_s.arg(o.fanout.watchers));
        const bench::FanoutResult result = bench::runFanoutBench(o.fanout);
        if (result.error.isEmpty())
            addFanoutRows(table, result, o.fanout.moves);
        else
            failures << u"fanout: "_s + result.error;
    }

    QString text = table.markdown(bench::machineDescription(loadAtStart, bench::loadAverage()) +
                                  u' ' + shallowIdle.description());
    for (const QString& failure : failures)
        text += u"\nFailed: "_s + failure + u'\n';
    std::printf("\n%s", text.toUtf8().constData());
    if (!o.out.isEmpty()) {
        QFile file(o.out);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(text.toUtf8()) < 0) {
            say(u"cannot write "_s + o.out);
            return 1;
        }
        say(u"written to "_s + o.out);
    }
    return failures.isEmpty() ? 0 : 1;
}
