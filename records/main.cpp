#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "recordconversion.h"
#include "recordview.h"

// quor-record [--view first|second] INPUT OUTPUT
//
// Converts a shogi program's record (.sho) to KIF (.kif, .kifu) or CSA (.csa)
// and back, and a go program's record (.chs) to SGF (.sgf) and back. Exit
// status: 0 converted, 1 nothing written, 2 written with lines left out or set
// up (each named on standard error).

namespace {

constexpr char kUsage[] =
    "usage: quor-record [--view first|second] INPUT OUTPUT\n"
    "  .sho -> .kif .kifu .csa, and back;  .chs -> .sgf, and back\n"
    "  --view  whose view the written .sho or .chs lines take: the player who\n"
    "          moved first or the other (default: as the file says, else first)\n";

void say(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    records::ConversionOptions options;
    const qsizetype view = args.indexOf(QStringLiteral("--view"));
    if (view >= 0) {
        const auto player = view + 1 < args.size() ? records::viewFromName(args[view + 1])
                                                   : std::optional<records::Player>();
        if (!player) {
            std::fputs(kUsage, stderr);
            return 1;
        }
        options.view = player;
        args.remove(view, 2);
    }
    if (args.size() != 2) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    const records::ConversionResult result = records::convertRecord(args[0], args[1], options);
    for (const QString& message : result.messages)
        say(message);
    switch (result.outcome) {
        case records::ConversionResult::Outcome::Converted:
            return 0;
        case records::ConversionResult::Outcome::Partial:
            return 2;
        case records::ConversionResult::Outcome::Failed:
            break;
    }
    return 1;
}
