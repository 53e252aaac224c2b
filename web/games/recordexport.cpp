#include "recordexport.h"

#include <array>

#include "chslines.h"
#include "csa.h"
#include "kif.h"
#include "recordlines.h"
#include "recordtext.h"
#include "sgf.h"
#include "sholines.h"

namespace web {

namespace {

constexpr std::array<QStringView, 5> kExtensions{u"kif", u"csa", u"sgf", u"sho", u"chs"};

bool isShogiFormat(RecordFileFormat f) {
    return f == RecordFileFormat::Kif || f == RecordFileFormat::Csa || f == RecordFileFormat::Sho;
}

// Lines as the programs write them: CR LF after each.
QString joinedLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

// The players as a shared record names them; none while it is not known who
// moved first.
records::RecordPlayers playersOf(const GameSummary& game) {
    if (!game.sidesKnown) return {};
    return {game.black, game.white};
}

std::optional<QByteArray> shogiRecord(const QStringList& lines, RecordFileFormat format,
                                      const records::RecordPlayers& players) {
    const records::ShoRead read = records::readSho(lines);
    if (read.game.moves().empty() && !read.game.isSetUp()) return std::nullopt;
    const QString text = format == RecordFileFormat::Csa
                             ? records::csaText(read.game, read.recorder, players)
                             : records::kifText(read.game, read.recorder, players);
    return records::encodeText(text, records::TextEncoding::ShiftJis);
}

std::optional<QByteArray> goRecord(const QStringList& lines,
                                   const records::RecordPlayers& players) {
    const records::ChsRead read = records::readChs(lines);
    if (read.game.nodes().empty()) return std::nullopt;
    return records::encodeText(records::sgfText(read.game, read.recorder, players),
                               records::TextEncoding::Utf8);
}

}  // namespace

std::optional<RecordFileFormat> recordFormatOfExtension(QStringView extension) {
    for (std::size_t i = 0; i < kExtensions.size(); ++i)
        if (kExtensions[i] == extension) return static_cast<RecordFileFormat>(i);
    return std::nullopt;
}

std::optional<QByteArray> recordFile(const GameRecord& game, RecordFileFormat format) {
    if (isShogiFormat(format) != (game.summary.kind == GameKind::Shogi)) return std::nullopt;
    const QStringList lines = recordLines(game);
    if (lines.isEmpty()) return std::nullopt;
    switch (format) {
        case RecordFileFormat::Sho:
        case RecordFileFormat::Chs:
            return records::encodeText(joinedLines(lines), records::TextEncoding::ShiftJis);
        case RecordFileFormat::Sgf:
            return goRecord(lines, playersOf(game.summary));
        case RecordFileFormat::Kif:
        case RecordFileFormat::Csa:
            break;
    }
    return shogiRecord(lines, format, playersOf(game.summary));
}

QString recordFileName(quint64 id, RecordFileFormat format) {
    return QStringLiteral("quor-%1.%2").arg(id).arg(kExtensions[static_cast<std::size_t>(format)]);
}

QByteArray recordContentType(RecordFileFormat format) {
    if (format == RecordFileFormat::Sgf) return "application/x-go-sgf; charset=UTF-8";
    return "text/plain; charset=Shift_JIS";
}

}  // namespace web
