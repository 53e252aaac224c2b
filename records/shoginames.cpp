#include "shoginames.h"

#include <QList>
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

// The hand kinds in the order KIF and CSA write a hand.
constexpr std::array<Kind, 7> kHandOrder{Kind::Hi, Kind::Ka, Kind::Ki, Kind::Gi,
                                         Kind::Ke, Kind::Ky, Kind::Fu};

// The most pieces of one kind a hand can hold: all eighteen pawns.
constexpr int kMaxHandCount = 18;

// "一" .. "十八".
QString kanjiCount(int n) {
    QString text;
    if (n >= 10) text += u'十';
    if (n % 10 != 0) text += kKanjiDigits[n % 10 - 1];
    return text;
}

// A count as a hand line writes it: kanji up to 十八, or digits; 0 for
// anything else.
int countOf(QStringView text) {
    if (text.isEmpty()) return 1;
    bool digits = false;
    const int n = text.toInt(&digits);
    if (digits) return n >= 1 && n <= kMaxHandCount ? n : 0;
    for (int i = 1; i <= kMaxHandCount; ++i)
        if (text == kanjiCount(i)) return i;
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

QString kifBoardName(Kind kind) {
    switch (kind) {
        case Kind::NC:
            return QStringLiteral("杏");
        case Kind::NK:
            return QStringLiteral("圭");
        case Kind::NG:
            return QStringLiteral("全");
        default:
            return kifPieceName(kind);
    }
}

QString kifHandText(const shogi::Hand& hand) {
    QString text;
    for (Kind kind : kHandOrder) {
        const int n = hand.count(kind);
        if (n <= 0) continue;
        text += kifPieceName(kind) + (n > 1 ? kanjiCount(n) : QString()) + u'\u3000';
    }
    return text.isEmpty() ? QStringLiteral("なし") : text;
}

std::optional<shogi::Hand> handOfKifText(QStringView text) {
    shogi::Hand hand;
    for (QStringView part : text.split(u'\u3000')) {
        for (QStringView piece : part.split(u' ', Qt::SkipEmptyParts)) {
            if (piece == u"なし") continue;
            const auto name = kifPieceAt(piece);
            shogi::HandEntry* entry = name ? hand.find(name->kind) : nullptr;
            const int n = entry ? countOf(piece.sliced(name->length)) : 0;
            if (n == 0 || entry->count + n > kMaxHandCount) return std::nullopt;
            entry->count += n;
        }
    }
    return hand;
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
