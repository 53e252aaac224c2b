#include "shoginames.h"

#include <array>

namespace records {

using shogi::Kind;
using shogi::Square;

namespace {

struct Name {
    QStringView text;
    Kind kind;
};

// The writing form first for each kind, then the other forms readers meet.
constexpr std::array<Name, 19> kKifNames{{
    {u"成香", Kind::NC}, {u"成桂", Kind::NK}, {u"成銀", Kind::NG}, {u"歩", Kind::Fu},
    {u"香", Kind::Ky},   {u"桂", Kind::Ke},   {u"銀", Kind::Gi},   {u"金", Kind::Ki},
    {u"王", Kind::Ou},   {u"玉", Kind::Gy},   {u"飛", Kind::Hi},   {u"角", Kind::Ka},
    {u"と", Kind::To},   {u"馬", Kind::Um},   {u"龍", Kind::Ry},   {u"竜", Kind::Ry},
    {u"杏", Kind::NC},   {u"圭", Kind::NK},   {u"全", Kind::NG},
}};

constexpr std::array<QStringView, shogi::kPieceKindCount> kCsaCodes{
    u"FU", u"KY", u"KE", u"GI", u"KI", u"OU", u"OU", u"HI",
    u"KA", u"TO", u"NY", u"NK", u"NG", u"UM", u"RY"};

constexpr QStringView kFullWidthDigits = u"１２３４５６７８９";
constexpr QStringView kKanjiDigits = u"一二三四五六七八九";

// 1..9 from a plain, full-width or kanji digit; 0 for anything else.
int digitValue(QChar c) {
    if (c >= u'1' && c <= u'9') return c.unicode() - u'0';
    for (QStringView digits : {kFullWidthDigits, kKanjiDigits}) {
        const qsizetype i = digits.indexOf(c);
        if (i >= 0) return static_cast<int>(i) + 1;
    }
    return 0;
}

std::optional<Square> squareOf(int file, int rank) {
    if (file == 0 || rank == 0) return std::nullopt;
    return Square{shogi::kBoardSize - file, rank - 1};
}

}  // namespace

QString kifPieceName(Kind kind) {
    for (const Name& name : kKifNames)
        if (name.kind == kind) return name.text.toString();
    return {};
}

std::optional<KifPiece> kifPieceAt(QStringView text) {
    for (const Name& name : kKifNames)
        if (text.startsWith(name.text)) return KifPiece{name.kind, int(name.text.size())};
    return std::nullopt;
}

QString kifSquare(Square s) {
    return QString(kFullWidthDigits[shogi::kBoardSize - 1 - s.x]) + kKanjiDigits[s.y];
}

std::optional<Square> kifSquareOf(QChar file, QChar rank) {
    return squareOf(digitValue(file), digitValue(rank));
}

QString csaCode(Kind kind) {
    return kCsaCodes[static_cast<std::size_t>(shogi::kindIndex(kind))].toString();
}

std::optional<Kind> kindFromCsa(QStringView code) {
    for (std::size_t i = 0; i < kCsaCodes.size(); ++i)
        if (kCsaCodes[i] == code) return static_cast<Kind>(i);
    return std::nullopt;
}

QString digitSquare(Square s) {
    return QString::number(shogi::kBoardSize - s.x) + QString::number(s.y + 1);
}

std::optional<Square> squareOfDigits(QChar file, QChar rank) {
    const auto plain = [](QChar c) { return c >= u'1' && c <= u'9' ? c.unicode() - u'0' : 0; };
    return squareOf(plain(file), plain(rank));
}

}  // namespace records
