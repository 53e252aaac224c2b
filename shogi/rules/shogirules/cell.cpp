#include "shogirules/cell.h"

namespace shogi {

QString cellText(Cell cell) {
    const std::string_view code = kindCode(cell.kind());
    QString text = QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size()));
    text += cell.side() == Side::Own ? QLatin1Char('1') : QLatin1Char('2');
    return text;
}

std::optional<Cell> cellFromText(QStringView text) {
    if (text == u"Dummy1") return Cell::empty();
    if (text.size() != 3) return std::nullopt;
    const QByteArray code = text.first(2).toLatin1();
    const auto kind = kindFromCode(std::string_view(code.constData(), 2));
    if (!kind) return std::nullopt;
    if (text[2] == u'1') return Cell::own(*kind);
    if (text[2] == u'2') return Cell::opp(*kind);
    return std::nullopt;
}

std::optional<Cell> PromotedCode(Cell cell) {
    const auto promoted = promotedKind(cell.kind());
    if (!promoted) return std::nullopt;
    return Cell::own(*promoted);
}

}  // namespace shogi
