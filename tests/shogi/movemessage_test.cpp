#include <gtest/gtest.h>

#include "diagram.h"
#include "shogirules/movemessage.h"

namespace shogi {
namespace {

const QString kNoCaptures = QStringLiteral(
    "Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,");

TEST(MoveMessage, ExactTextOfAMoveFromTheInitialPosition) {
    ShogiPosition p;
    p.Ban.set({2, 5}, p.Ban.at({2, 6}));
    p.Ban.set({2, 6}, Cell::empty());
    const QString text = BuildMoveMsg(p, 1);
    // The board arrives turned: the mover's pawn on (2, 5) is the receiver's
    // opponent pawn on (6, 3); every item has two upper-case digits.
    const char* rows[] = {
        "11 12 13 14 16 14 13 12 11", "0F 17 0F 0F 0F 0F 0F 18 0F", "10 10 10 10 10 10 0F 10 10",
        "0F 0F 0F 0F 0F 0F 10 0F 0F", "0F 0F 0F 0F 0F 0F 0F 0F 0F", "0F 0F 0F 0F 0F 0F 0F 0F 0F",
        "00 00 00 00 00 00 00 00 00", "0F 08 0F 0F 0F 0F 0F 07 0F", "01 02 03 04 05 04 03 02 01"};
    QStringList expectedBoard;
    for (const char* row : rows)
        expectedBoard += QString::fromLatin1(row).split(u' ');
    EXPECT_EQ(text, QStringLiteral("SYOUGI_MSG2:") + expectedBoard.join(u',') + u':' + kNoCaptures +
                        QStringLiteral(" 1: 1:END"));
}

TEST(MoveMessage, HandsGoReceiverFirst) {
    ShogiPosition p;
    p.MyHand.find(Kind::Ka)->count = 1;
    p.OppHand.find(Kind::Fu)->count = 12;
    const QString text = BuildMoveMsg(p, 23);
    EXPECT_TRUE(
        text.contains(QStringLiteral(":Fu, 12,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 0,"
                                     "Fu, 0,Ky, 0,Ke, 0,Gi, 0,Ki, 0,Hi, 0,Ka, 1, 23: 23:END")));
    const auto back = parseMoveMsg(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->myHand.count(Kind::Fu), 12);  // what the sender's opponent holds
    EXPECT_EQ(back->oppHand.count(Kind::Ka), 1);
    EXPECT_EQ(back->moveNo, 23);
    Board received;
    ASSERT_FALSE(received.load(back->positionString));
    EXPECT_EQ(received, p.Ban.rotated());
}

TEST(MoveMessage, OneDigitItemsReadTheSame) {
    const QString oneDigit = QStringLiteral("SYOUGI_MSG2:") + kInitialPositionString.toString() +
                             u':' + kNoCaptures + QStringLiteral(" 7: 7:END");
    const auto move = parseMoveMsg(oneDigit);
    ASSERT_TRUE(move);
    Board b;
    ASSERT_FALSE(b.load(move->positionString));
    EXPECT_EQ(b, Board::initial());
    EXPECT_EQ(move->moveNo, 7);
}

TEST(MoveMessage, MalformedMovesAreRefused) {
    const QString board = Board::initial().positionString();
    const QString good =
        QStringLiteral("SYOUGI_MSG2:") + board + u':' + kNoCaptures + QStringLiteral(" 3: 3:END");
    ASSERT_TRUE(parseMoveMsg(good));
    // Blanks around a number are no part of it.
    QString blanks = good;
    EXPECT_EQ(
        parseMoveMsg(blanks.replace(QStringLiteral(" 3: 3:END"), QStringLiteral("\t3 : 3:END")))
            ->moveNo,
        3);
    QString shortHands = kNoCaptures;
    shortHands.chop(5);  // "Ka, 0," gone
    const QString bad[] = {
        QStringLiteral("SYOUGI_MSG2"),
        QStringLiteral("SYOUGI_MSG2:") + board,
        QStringLiteral("SYOUGI_MSG2:") + board + QStringLiteral(": 3"),
        QStringLiteral("SYOUGI_MSG2:") + board + u':' + shortHands + QStringLiteral(" 3: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + board.left(board.size() - 3) + u':' + kNoCaptures +
            QStringLiteral(" 3: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + QString(board).replace(0, 2, QStringLiteral("1F")) + u':' +
            kNoCaptures + QStringLiteral(" 3: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + board + u':' +
            QString(kNoCaptures).replace(QStringLiteral("Ky, 0"), QStringLiteral("Ou, 0")) +
            QStringLiteral(" 3: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + board + u':' +
            QString(kNoCaptures).replace(QStringLiteral("Ky, 0"), QStringLiteral("Ky,-1")) +
            QStringLiteral(" 3: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + board + u':' +
            QString(kNoCaptures).replace(QStringLiteral("Ky, 0"), QStringLiteral("Ky,41")) +
            QStringLiteral(" 3: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + board + u':' + kNoCaptures + QStringLiteral("x: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + board + u':' + kNoCaptures + QStringLiteral(" 1 2: 3:END"),
        QStringLiteral("SYOUGI_MSG2:") + board + u':' + kNoCaptures +
            QStringLiteral(" 1234567890: 3:END"),
        QStringLiteral("SYOUGI_MSG4:") + board + u':' + kNoCaptures + QStringLiteral(" 3: 3:END"),
    };
    for (const QString& text : bad)
        EXPECT_FALSE(parseMoveMsg(text)) << text.toStdString();
}

}  // namespace
}  // namespace shogi
