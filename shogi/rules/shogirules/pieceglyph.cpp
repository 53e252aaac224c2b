#include "shogirules/pieceglyph.h"

#include <array>

namespace shogi {

QString pieceGlyph(Kind kind) {
    static constexpr std::array<char16_t, kKindCount> kGlyphs = {
        u'歩', u'香', u'桂', u'銀', u'金', u'王', u'玉', u'飛',
        u'角', u'と', u'杏', u'圭', u'全', u'馬', u'龍', u'\0'};
    const char16_t glyph = kGlyphs[static_cast<std::size_t>(kindIndex(kind))];
    return glyph ? QString(QChar(glyph)) : QString();
}

}  // namespace shogi
