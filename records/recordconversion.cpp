#include "recordconversion.h"

#include <QFileInfo>

#include "chslines.h"
#include "csa.h"
#include "kif.h"
#include "recordtext.h"
#include "sgf.h"
#include "sholines.h"
#include "wholefile.h"

namespace records {

namespace {

using Outcome = ConversionResult::Outcome;

bool isShogiRecordFormat(RecordFormat f) {
    return f == RecordFormat::Kif || f == RecordFormat::Kifu || f == RecordFormat::Csa;
}

TextEncoding encodingOf(RecordFormat f) {
    return f == RecordFormat::Kifu || f == RecordFormat::Sgf ? TextEncoding::Utf8
                                                             : TextEncoding::ShiftJis;
}

// Lines as the programs write them: CR LF after each.
QString joinedLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

class Conversion {
public:
    Conversion(const QString& input, const QString& output, const ConversionOptions& options)
        : input_(input), output_(output), options_(options) {}

    ConversionResult run() {
        const auto from = formatOfPath(input_);
        const auto to = formatOfPath(output_);
        if (!from || !to) {
            return failed(QStringLiteral("%1: not a record name (.sho, .chs, .kif, .kifu, .csa, "
                                         ".sgf)")
                              .arg(!from ? input_ : output_));
        }
        const bool writesProgramRecord = *to == RecordFormat::Sho || *to == RecordFormat::Chs;
        if (options_.view && !writesProgramRecord)
            return failed(
                QStringLiteral("the view applies only when a .sho or .chs record is "
                               "written"));
        if (*from == RecordFormat::Sho && isShogiRecordFormat(*to)) return fromSho(*to);
        if (isShogiRecordFormat(*from) && *to == RecordFormat::Sho) return toSho(*from);
        if (*from == RecordFormat::Chs && *to == RecordFormat::Sgf) return fromChs();
        if (*from == RecordFormat::Sgf && *to == RecordFormat::Chs) return toChs();
        return failed(QStringLiteral("cannot convert %1 to %2: a .sho record converts to and "
                                     "from KIF and CSA, a .chs record to and from SGF")
                          .arg(input_, output_));
    }

private:
    ConversionResult failed(const QString& message) {
        result_.outcome = Outcome::Failed;
        result_.messages.append(message);
        return result_;
    }

    ConversionResult failedAt(const LineProblems& problems) {
        for (const LineProblem& p : problems)
            result_.messages.append(problemText(input_, p));
        if (utf8Suspect_ && !result_.messages.isEmpty())
            result_.messages.back() += QStringLiteral(
                " (the file looks like UTF-8: a KIF in UTF-8 is read when it is named .kifu)");
        result_.outcome = Outcome::Failed;
        return result_;
    }

    std::optional<TextLines> readLines(TextEncoding encoding, bool kif = false) {
        FileBytes file = readFileBytes(input_);
        if (!file.problems.empty()) {
            failedAt(file.problems);
            return std::nullopt;
        }
        utf8Suspect_ = kif && encoding == TextEncoding::ShiftJis && looksLikeUtf8(file.bytes);
        TextLines text = decodeLines(file.bytes, encoding);
        if (!text.problems.empty()) {
            failedAt(text.problems);
            return std::nullopt;
        }
        return text;
    }

    ConversionResult write(const QString& text, TextEncoding encoding,
                           const LineProblems& problems) {
        if (!platform::writeWholeFile(output_, encodeText(text, encoding)))
            return failed(QStringLiteral("%1: cannot be written").arg(output_));
        for (const LineProblem& p : problems)
            result_.messages.append(problemText(input_, p));
        result_.outcome = problems.empty() ? Outcome::Converted : Outcome::Partial;
        return result_;
    }

    ConversionResult fromSho(RecordFormat to) {
        const auto text = readLines(TextEncoding::ShiftJis);
        if (!text) return result_;
        const ShoRead read = readSho(text->lines);
        if (read.game.moves().empty() && !read.game.isSetUp()) return failedAt(read.problems);
        const QString out = to == RecordFormat::Csa ? csaText(read.game, read.recorder)
                                                    : kifText(read.game, read.recorder);
        return write(out, encodingOf(to), read.problems);
    }

    ConversionResult toSho(RecordFormat from) {
        const auto text = readLines(encodingOf(from), from == RecordFormat::Kif);
        if (!text) return result_;
        const ShogiImport read =
            from == RecordFormat::Csa ? readCsa(text->lines) : readKif(text->lines);
        if (!read.problems.empty()) return failedAt(read.problems);
        const Player view = options_.view.value_or(read.view.value_or(Player::First));
        return write(joinedLines(shoLines(read.game, view)), TextEncoding::ShiftJis, {});
    }

    ConversionResult fromChs() {
        const auto text = readLines(TextEncoding::ShiftJis);
        if (!text) return result_;
        const ChsRead read = readChs(text->lines);
        if (read.game.nodes().empty()) return failedAt(read.problems);
        return write(sgfText(read.game, read.recorder), TextEncoding::Utf8, read.problems);
    }

    ConversionResult toChs() {
        FileBytes file = readFileBytes(input_);
        if (!file.problems.empty()) return failedAt(file.problems);
        const SgfImport read = readSgf(file.bytes);
        if (!read.problems.empty()) return failedAt(read.problems);
        go::Stone recorder = read.recorder.value_or(go::Stone::Black);
        if (options_.view)
            recorder = *options_.view == Player::First ? go::Stone::Black : go::Stone::White;
        return write(joinedLines(chsLines(read.game, recorder)), TextEncoding::ShiftJis, {});
    }

    QString input_;
    QString output_;
    ConversionOptions options_;
    // A Shift-JIS file that does not read may have been saved as UTF-8.
    bool utf8Suspect_ = false;
    ConversionResult result_;
};

}  // namespace

std::optional<RecordFormat> formatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"sho") return RecordFormat::Sho;
    if (suffix == u"kif") return RecordFormat::Kif;
    if (suffix == u"kifu") return RecordFormat::Kifu;
    if (suffix == u"csa") return RecordFormat::Csa;
    if (suffix == u"chs") return RecordFormat::Chs;
    if (suffix == u"sgf") return RecordFormat::Sgf;
    return std::nullopt;
}

ConversionResult convertRecord(const QString& input, const QString& output,
                               const ConversionOptions& options) {
    return Conversion(input, output, options).run();
}

}  // namespace records
