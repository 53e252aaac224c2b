#include <gtest/gtest.h>

#include "diagram.h"
#include "shogirules/position.h"

namespace shogi {
namespace {

using test::boardFromDiagram;

QString text(const Board& b, int x, int y) {
    return cellText(b.at({x, y}));
}

TEST(PositionString, InitialStringLoadsTheStartingArray) {
    const Board b = Board::initial();
    const Board expected = boardFromDiagram({
        "Ky2 Ke2 Gi2 Ki2 Ou2 Ki2 Gi2 Ke2 Ky2",
        " .  Hi2  .   .   .   .   .  Ka2  . ",
        "Fu2 Fu2 Fu2 Fu2 Fu2 Fu2 Fu2 Fu2 Fu2",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        " .   .   .   .   .   .   .   .   . ",
        "Fu1 Fu1 Fu1 Fu1 Fu1 Fu1 Fu1 Fu1 Fu1",
        " .  Ka1  .   .   .   .   .  Hi1  . ",
        "Ky1 Ke1 Gi1 Ki1 Gy1 Ki1 Gi1 Ke1 Ky1",
    });
    EXPECT_EQ(b, expected) << test::diagramOf(b).toStdString();
    for (int y = 3; y <= 5; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(text(b, x, y), u"Dummy1");
}

TEST(PositionString, ItemsDecodeWithOneOrTwoDigits) {
    Board b;
    QString s = QStringLiteral("F,0F,10,0E,1E,0,00,8,18");
    for (int i = 9; i < 81; ++i)
        s += QStringLiteral(",0F");
    ASSERT_FALSE(b.load(s));
    EXPECT_EQ(text(b, 0, 0), u"Dummy1");
    EXPECT_EQ(text(b, 1, 0), u"Dummy1");
    EXPECT_EQ(text(b, 2, 0), u"Fu2");
    EXPECT_EQ(text(b, 3, 0), u"Ry1");
    EXPECT_EQ(text(b, 4, 0), u"Ry2");
    EXPECT_EQ(text(b, 5, 0), u"Fu1");
    EXPECT_EQ(text(b, 6, 0), u"Fu1");
    EXPECT_EQ(text(b, 7, 0), u"Ka1");
    EXPECT_EQ(text(b, 8, 0), u"Ka2");
}

TEST(PositionString, WriterUsesTwoUpperCaseDigitsAndReadsBack) {
    const Board b = Board::initial();
    const QString written = b.positionString();
    EXPECT_TRUE(written.startsWith(u"11,12,13,14,15,14,13,12,11,0F,17,0F"));
    EXPECT_TRUE(written.endsWith(u"0F,08,0F,0F,0F,0F,0F,07,0F,01,02,03,04,06,04,03,02,01"));
    EXPECT_EQ(written.size(), 81 * 3 - 1);
    Board again;
    ASSERT_FALSE(again.load(written));
    EXPECT_EQ(again, b);

    // Every piece value survives the round trip, including the dragon of side 2 ("1E").
    Board all;
    QStringList items;
    for (int v = 0; v < 81; ++v)
        items << QString::number(v % 31, 16).toUpper();
    ASSERT_FALSE(all.load(items.join(u',')));
    Board reread;
    ASSERT_FALSE(reread.load(all.positionString()));
    EXPECT_EQ(reread, all);
}

TEST(PositionString, MalformedStringLeavesThePositionUnchanged) {
    Board b = boardFromDiagram({
        ". . . . Ou2 . . . .",
        ". . . . . . . . .",
        ". . . . . . . . .",
        ". . . . . . . . .",
        ". . . . Hi1 . . . .",
        ". . . . . . . . .",
        ". . . . . . . . .",
        ". . . . . . . . .",
        ". . . . Gy1 . . . .",
    });
    const Board before = b;
    const QString good = Board::initial().positionString();
    const QStringList goodItems = good.split(u',');

    auto withItem = [&](int index, const QString& item) {
        QStringList items = goodItems;
        items[index] = item;
        return items.join(u',');
    };
    const struct {
        QString text;
        PositionError error;
    } bad[] = {
        {QStringList(goodItems.mid(0, 80)).join(u','), PositionError::ItemCount},
        {good + QStringLiteral(",0F"), PositionError::ItemCount},
        {good + QStringLiteral(","), PositionError::ItemCount},
        {QString(), PositionError::BadItem},
        {withItem(40, QStringLiteral("1F")), PositionError::BadItem},
        {withItem(40, QStringLiteral("G")), PositionError::BadItem},
        {withItem(40, QString()), PositionError::BadItem},
        {withItem(40, QStringLiteral("00F")), PositionError::BadItem},
        {withItem(40, QStringLiteral(" 1")), PositionError::BadItem},
        {withItem(80, QStringLiteral("-1")), PositionError::BadItem},
        {withItem(0, QStringLiteral("ＦＦ")), PositionError::BadItem},
    };
    for (const auto& c : bad) {
        const auto error = b.load(c.text);
        ASSERT_TRUE(error) << c.text.toStdString();
        EXPECT_EQ(*error, c.error) << c.text.toStdString();
        EXPECT_EQ(b, before) << c.text.toStdString();
    }
}

TEST(CellText, TextsAndTheirTests) {
    EXPECT_EQ(cellText(Cell::empty()), u"Dummy1");
    EXPECT_EQ(cellText(Cell::own(Kind::Gy)), u"Gy1");
    EXPECT_EQ(cellText(Cell::opp(Kind::NC)), u"NC2");
    EXPECT_FALSE(Cell::empty().isOwnPiece());
    EXPECT_FALSE(Cell::empty().isOppPiece());
    EXPECT_EQ(Cell(Kind::Dummy, Side::Opp), Cell::empty());
    for (int k = 0; k < kPieceKindCount; ++k) {
        for (Side s : {Side::Own, Side::Opp}) {
            const Cell c(static_cast<Kind>(k), s);
            EXPECT_EQ(cellFromText(cellText(c)), c);
        }
    }
    EXPECT_FALSE(cellFromText(u"Dummy2"));
    EXPECT_FALSE(cellFromText(u"Fu3"));
    EXPECT_FALSE(cellFromText(u"Xx1"));
    EXPECT_FALSE(cellFromText(u""));
}

TEST(PromotedCode, OnlyTheSixPromotingKinds) {
    EXPECT_EQ(PromotedCode(Cell::own(Kind::Hi)), Cell::own(Kind::Ry));
    EXPECT_EQ(PromotedCode(Cell::own(Kind::Ka)), Cell::own(Kind::Um));
    EXPECT_EQ(PromotedCode(Cell::own(Kind::Fu)), Cell::own(Kind::To));
    EXPECT_EQ(PromotedCode(Cell::own(Kind::Ky)), Cell::own(Kind::NC));
    EXPECT_EQ(PromotedCode(Cell::own(Kind::Ke)), Cell::own(Kind::NK));
    EXPECT_EQ(PromotedCode(Cell::own(Kind::Gi)), Cell::own(Kind::NG));
    EXPECT_FALSE(PromotedCode(Cell::own(Kind::Ki)));
    EXPECT_FALSE(PromotedCode(Cell::own(Kind::To)));
    EXPECT_FALSE(PromotedCode(Cell::own(Kind::Gy)));
    EXPECT_FALSE(PromotedCode(Cell::empty()));
}

TEST(CapturePiece, PromotedPiecesReturnUnpromotedAndKingsEndTheGame) {
    ShogiPosition p;
    EXPECT_FALSE(p.CapturePiece(Cell::opp(Kind::NG)));
    EXPECT_EQ(p.MyHand.count(Kind::Gi), 1);
    EXPECT_FALSE(p.CapturePiece(Cell::opp(Kind::Ki)));
    EXPECT_EQ(p.MyHand.count(Kind::Ki), 1);
    EXPECT_FALSE(p.CapturePiece(Cell::opp(Kind::Ry)));
    EXPECT_FALSE(p.CapturePiece(Cell::opp(Kind::Um)));
    EXPECT_FALSE(p.CapturePiece(Cell::opp(Kind::To)));
    EXPECT_FALSE(p.CapturePiece(Cell::opp(Kind::Fu)));
    EXPECT_EQ(p.MyHand.count(Kind::Hi), 1);
    EXPECT_EQ(p.MyHand.count(Kind::Ka), 1);
    EXPECT_EQ(p.MyHand.count(Kind::Fu), 2);

    const Hand before = p.MyHand;
    EXPECT_TRUE(p.CapturePiece(Cell::opp(Kind::Ou)));
    EXPECT_TRUE(p.CapturePiece(Cell::opp(Kind::Gy)));
    EXPECT_EQ(p.MyHand, before);
    EXPECT_EQ(p.OppHand, Hand{});
}

TEST(ShogiPosition, ResetRestoresTheInitialPositionAndEmptiesBothHands) {
    ShogiPosition p;
    p.Ban.set({4, 4}, Cell::own(Kind::Ry));
    p.MyHand.find(Kind::Ka)->count = 2;
    p.OppHand.find(Kind::Fu)->count = 3;
    p.reset();
    EXPECT_EQ(p, ShogiPosition{});
    for (const auto& e : p.MyHand.entries)
        EXPECT_EQ(e.count, 0);
    EXPECT_EQ(p.Ban, Board::initial());
}

TEST(FindOwnKing, EitherKingCodeAndTheFallback) {
    EXPECT_EQ(FindOwnKing(Board::initial()), (Square{4, 8}));
    EXPECT_EQ(FindOwnKing(Board::initial().rotated()), (Square{4, 8}));  // now Ou1
    EXPECT_EQ(cellText(Board::initial().rotated().at({4, 8})), u"Ou1");
    EXPECT_EQ(FindOwnKing(Board{}), (Square{0, 0}));
    EXPECT_FALSE(ownKingSquare(Board{}));
    EXPECT_EQ(ownKingSquare(Board::initial()), (Square{4, 8}));
}

TEST(RotatePosition, OddMoveNumberChangesNothing) {
    QString s = Board::initial().positionString();
    const QString before = s;
    Hand my, opp;
    my.find(Kind::Fu)->count = 1;
    const Hand myBefore = my;
    EXPECT_FALSE(RotatePosition(3, s, my, opp));
    EXPECT_EQ(s, before);
    EXPECT_EQ(my, myBefore);
}

TEST(RotatePosition, EvenMoveNumberTurnsTheBoardAndExchangesTheHands) {
    QStringList items(81, QStringLiteral("0F"));
    items[4 + 9 * 8] = QStringLiteral("06");  // Gy1 at (4, 8)
    items[4] = QStringLiteral("15");          // Ou2 at (4, 0)
    items[0 + 9 * 6] = QStringLiteral("07");  // Hi1 at (0, 6)
    QString s = items.join(u',');
    Hand my, opp;
    my.find(Kind::Ka)->count = 1;
    opp.find(Kind::Fu)->count = 2;

    ASSERT_FALSE(RotatePosition(2, s, my, opp));

    QStringList expected(81, QStringLiteral("0F"));
    expected[4 + 9 * 8] = QStringLiteral("05");  // Ou1
    expected[4] = QStringLiteral("16");          // Gy2
    expected[8 + 9 * 2] = QStringLiteral("17");  // Hi2 at (8, 2)
    EXPECT_EQ(s, expected.join(u','));
    EXPECT_EQ(my.count(Kind::Fu), 2);
    EXPECT_EQ(my.count(Kind::Ka), 0);
    EXPECT_EQ(opp.count(Kind::Ka), 1);
}

TEST(RotatePosition, OneDigitItemsAndMalformedStrings) {
    // The initial string has one-digit items; turned, it is the same array
    // seen from the other side, which is again the initial array.
    QString s = kInitialPositionString.toString();
    Hand my, opp;
    ASSERT_FALSE(RotatePosition(0, s, my, opp));
    Board turned;
    ASSERT_FALSE(turned.load(s));
    EXPECT_EQ(turned.rotated(), Board::initial());
    EXPECT_EQ(cellText(turned.at({4, 8})), u"Ou1");
    EXPECT_EQ(cellText(turned.at({4, 0})), u"Gy2");

    QString bad = QStringLiteral("0F,0F");
    my.find(Kind::Hi)->count = 1;
    const Hand myBefore = my;
    EXPECT_TRUE(RotatePosition(4, bad, my, opp));
    EXPECT_EQ(bad, u"0F,0F");
    EXPECT_EQ(my, myBefore);
}

}  // namespace
}  // namespace shogi
