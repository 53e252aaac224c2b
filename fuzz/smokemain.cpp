// A fuzz target as a test, without libFuzzer (the compiler of the ordinary
// builds has none): every input of the corpus folders given, then variations
// of them made at random for QUOR_FUZZ_SECONDS seconds (seeded by
// QUOR_FUZZ_SEED, else by the clock; the seed is printed so that a run can be
// repeated). The variations have no coverage to steer them, so this is a
// smoke, not a search: `make fuzz` searches.
//
//   fuzz_target [-dict=FILE] [-crashes=DIR] CORPUS_DIR_OR_FILE...
//
// An input that breaks a promise of the target, crashes, trips a sanitizer or
// runs longer than kInputSeconds is written to the crashes folder and the run
// fails.

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" __attribute__((weak)) void __sanitizer_set_death_callback(void (*callback)());

extern "C" {
__attribute__((used, visibility("default"))) const char* __lsan_default_options() {
    return "suppressions=" QUOR_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
__attribute__((used, visibility("default"))) const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
}

namespace {

constexpr unsigned kInputSeconds = 20;
constexpr qsizetype kMaxInput = 8192;

// The input being run, kept where a signal handler can reach it.
QByteArray current;
char crashPath[4096] = "";

void saveCurrent() {
    if (crashPath[0] == '\0') return;
    const int fd = ::open(crashPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    qsizetype done = 0;
    while (done < current.size()) {
        const ssize_t n = ::write(fd, current.constData() + done,
                                  static_cast<std::size_t>(current.size() - done));
        if (n <= 0) break;
        done += n;
    }
    ::close(fd);
    static const char kSaid[] = "\nthe input is in ";
    (void)!::write(2, kSaid, sizeof kSaid - 1);
    (void)!::write(2, crashPath, std::strlen(crashPath));
    (void)!::write(2, "\n", 1);
}

void onFatalSignal(int signal) {
    if (signal == SIGALRM) {
        static const char kSlow[] = "\nan input ran for more than the time allowed\n";
        (void)!::write(2, kSlow, sizeof kSlow - 1);
    }
    saveCurrent();
    ::signal(SIGABRT, SIG_DFL);
    ::signal(signal, SIG_DFL);
    ::raise(signal == SIGALRM ? SIGABRT : signal);
}

// libFuzzer's dictionary format: one `name="value"` (or `"value"`) a line,
// with \\, \" and \xNN escapes; # starts a comment.
QList<QByteArray> readDictionary(const QString& path) {
    QList<QByteArray> words;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the dictionary %s\n", qPrintable(path));
        std::exit(2);
    }
    for (QByteArray line : file.readAll().split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const qsizetype open = line.indexOf('"');
        if (open < 0 || !line.endsWith('"') || line.size() - open < 2) continue;
        const QByteArray body = line.mid(open + 1, line.size() - open - 2);
        QByteArray word;
        for (qsizetype i = 0; i < body.size(); ++i) {
            if (body[i] != '\\' || i + 1 >= body.size()) {
                word += body[i];
            } else if (body[i + 1] == 'x' && i + 3 < body.size()) {
                word += static_cast<char>(body.mid(i + 2, 2).toInt(nullptr, 16));
                i += 3;
            } else {
                word += body[++i];
            }
        }
        if (!word.isEmpty()) words << word;
    }
    return words;
}

class Mutator {
public:
    Mutator(std::uint64_t seed, QList<QByteArray> words)
        : random_(seed), words_(std::move(words)) {}

    QByteArray vary(QByteArray input, const QList<QByteArray>& pool) {
        const int rounds = 1 + below(4);
        for (int i = 0; i < rounds; ++i)
            once(input, pool);
        if (input.size() > kMaxInput) input.truncate(kMaxInput);
        return input;
    }

private:
    int below(qsizetype n) {
        return n <= 0 ? 0 : static_cast<int>(random_() % static_cast<std::uint64_t>(n));
    }

    void once(QByteArray& s, const QList<QByteArray>& pool) {
        static const char kInteresting[] = {0,   1,   '\x7f', '\x80', '\xff', '|', ':',
                                            ',', '"', ' ',    '\r',   '\n',   '0', '9'};
        const qsizetype at = below(s.size() + 1);
        switch (below(8)) {
            case 0:
                if (!s.isEmpty()) s[below(s.size())] ^= static_cast<char>(1 << below(8));
                return;
            case 1:
                if (!s.isEmpty()) s[below(s.size())] = kInteresting[below(sizeof kInteresting)];
                return;
            case 2:
                s.insert(at, static_cast<char>(below(256)));
                return;
            case 3:
                if (!s.isEmpty()) s.remove(at, 1 + below(std::min<qsizetype>(16, s.size() - at)));
                return;
            case 4: {  // a piece of the input again, elsewhere
                if (s.isEmpty()) return;
                const qsizetype from = below(s.size());
                s.insert(at, s.mid(from, 1 + below(std::min<qsizetype>(64, s.size() - from))));
                return;
            }
            case 5:
            case 6:
                if (!words_.isEmpty()) s.insert(at, words_[below(words_.size())]);
                return;
            default: {  // the start of this input and the end of another
                const QByteArray& other = pool[below(pool.size())];
                s = s.left(at) + other.mid(below(other.size() + 1));
                return;
            }
        }
    }

    std::mt19937_64 random_;
    QList<QByteArray> words_;
};

void runOne(const QByteArray& input) {
    current = input;
    ::alarm(kInputSeconds);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(current.constData()),
                           static_cast<std::size_t>(current.size()));
    ::alarm(0);
}

}  // namespace

int main(int argc, char** argv) {
    QString dictionary;
    QString crashes = QStringLiteral(".");
    QStringList folders;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(u"-dict="))
            dictionary = arg.mid(6);
        else if (arg.startsWith(u"-crashes="))
            crashes = arg.mid(9);
        else
            folders << arg;
    }
    const QString name = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    QDir().mkpath(crashes);

    for (const int s : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGALRM})
        ::signal(s, onFatalSignal);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(saveCurrent);
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);

    QList<QByteArray> pool;
    // A file given by itself is one input, as with libFuzzer: that is how a
    // saved crash is run again.
    for (const QString& given : folders) {
        const QFileInfo info(given);
        const QStringList files =
            info.isDir() ? QDir(given).entryList(QDir::Files, QDir::Name) : QStringList{given};
        if (!info.exists()) {
            std::fprintf(stderr, "%s: no input %s\n", qPrintable(name), qPrintable(given));
            return 2;
        }
        for (const QString& file : files) {
            QFile f(info.isDir() ? QDir(given).filePath(file) : file);
            if (!f.open(QIODevice::ReadOnly)) continue;
            pool << f.readAll();
        }
    }
    if (pool.isEmpty()) pool << QByteArray();

    const QByteArray seedText = qgetenv("QUOR_FUZZ_SEED");
    const std::uint64_t seed = seedText.isEmpty()
                                   ? static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch())
                                   : seedText.toULongLong();
    const int seconds = qEnvironmentVariableIsSet("QUOR_FUZZ_SECONDS")
                            ? qEnvironmentVariableIntValue("QUOR_FUZZ_SECONDS")
                            : 3;
    const std::string path =
        QDir(crashes).filePath(QStringLiteral("crash-%1-%2").arg(name).arg(seed)).toStdString();
    std::snprintf(crashPath, sizeof crashPath, "%s", path.c_str());

    std::printf("%s: %lld corpus inputs, then %d s of variations, QUOR_FUZZ_SEED=%llu\n",
                qPrintable(name), static_cast<long long>(pool.size()), seconds,
                static_cast<unsigned long long>(seed));
    std::fflush(stdout);
    for (const QByteArray& input : std::as_const(pool))
        runOne(input);

    Mutator mutator(seed, dictionary.isEmpty() ? QList<QByteArray>{} : readDictionary(dictionary));
    QElapsedTimer clock;
    clock.start();
    const qsizetype seeds = pool.size();
    long long runs = 0;
    while (clock.elapsed() < seconds * 1000LL) {
        const QByteArray input = mutator.vary(pool[runs % pool.size()], pool);
        runOne(input);
        ++runs;
        // Some variations become starting points of their own, so the
        // changes pile up; the corpus itself always stays.
        if (runs % 8 == 0 && pool.size() < seeds + 256) pool << input;
    }
    std::printf("%s: %lld variations in %.1f s, no fault\n", qPrintable(name), runs,
                clock.elapsed() / 1000.0);
    return 0;
}
