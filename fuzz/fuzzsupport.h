#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: the check that turns a broken promise into a
// crash the fuzzer keeps, a quiet Qt, and a reader that takes a structured
// script (which connection, what happens to it) out of the fuzzer's bytes.

// A promise of the code under test that does not hold: said on stderr, then
// the process aborts, so libFuzzer (or the smoke driver) keeps the input.
#define QUORFUZZ_CHECK(condition, what)                                           \
    do {                                                                          \
        if (!(condition)) quorfuzz::fail(__FILE__, __LINE__, #condition, (what)); \
    } while (false)

namespace quorfuzz {

[[noreturn]] inline void fail(const char* file, int line, const char* condition,
                              const QString& what) {
    // Control characters spelt out, so that a NUL does not end the report.
    QString shown;
    for (const QChar c : what)
        shown += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'))
                                    : QString(c);
    std::fprintf(stderr, "\n%s:%d: broken: %s\n  %s\n", file, line, condition,
                 shown.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

inline void fail(const char* file, int line, const char* condition, const char* what) {
    fail(file, line, condition, QString::fromUtf8(what));
}

// Qt's warnings for what the code under test rightly refuses would drown the
// fuzzer's own output; a fatal message still ends the run.
inline void quietQt() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtFatalMsg) return;
        std::fprintf(stderr, "Qt fatal: %s\n", text.toUtf8().constData());
        std::abort();
    });
}

// An application object for the targets whose code starts timers or owns
// sockets, made once per process.
inline void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "quorfuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// The folder where a target writes its files. It is removed when the process
// ends, as libFuzzer's own runs and the smoke driver both end through exit.
inline QString scratchFolder() {
    static const QTemporaryDir folder;
    return folder.path();
}

// Reads a fuzzer's bytes as a script: small numbers for the choices, and runs
// of bytes for what a peer sends or a file holds. Past the end everything
// reads as zero and empty, so any input is a whole script.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool atEnd() const { return at_ >= size_; }
    std::size_t left() const { return size_ - at_; }

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    // A choice among `count` (count > 0).
    int choice(int count) { return byte() % count; }

    // A run of at most `most` bytes, its length in the first byte (two when
    // `most` needs more).
    QByteArray run(std::size_t most) {
        std::size_t length = byte();
        if (most > 255) length = length << 8 | byte();
        length = std::min({length, most, left()});
        QByteArray bytes(reinterpret_cast<const char*>(data_ + at_),
                         static_cast<qsizetype>(length));
        at_ += length;
        return bytes;
    }

    // Everything not read yet.
    QByteArray rest() {
        QByteArray bytes(reinterpret_cast<const char*>(data_ + at_),
                         static_cast<qsizetype>(left()));
        at_ = size_;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace quorfuzz
