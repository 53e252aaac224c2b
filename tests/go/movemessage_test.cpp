#include <gtest/gtest.h>

#include <QStringList>

#include "diagram.h"
#include "gorules/movemessage.h"
#include "gorules/positionstring.h"

namespace go {
namespace {

using test::boardFromDiagram;
using test::diagramOf;

const QString kKeyword = QStringLiteral("SYOUGI_MSG2:");

TEST(GoMoveMessage, FirstStoneOfTheGame) {
    Ban sender;
    sender.set({3, 15}, Stone::Black);  // point 288
    const QString text = BuildMoveMsg(sender, {3, 15}, 1, 0);
    // Point 288 is character 361 - 288 = 73 of field 1, counting from 1.
    EXPECT_EQ(text,
              kKeyword + QString(72, u'2') + u'9' + QString(288, u'2') + QStringLiteral(": 1:0"));

    // The receiver sees the black stone, marked, at (15, 3): its point 72.
    const auto move = parseMoveMsg(text);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->moveNo, 1);
    EXPECT_EQ(move->captured, 0);
    const auto received = readPosition(move->positionString);
    ASSERT_TRUE(received);
    Ban expected;
    expected.set({15, 3}, Stone::Black);
    EXPECT_EQ(received->ban, expected) << diagramOf(received->ban);
    EXPECT_EQ(received->lastMove, (Point{15, 3}));
    EXPECT_EQ(received->lastMove->number(), 72);
}

TEST(GoMoveMessage, ReceiverSeesTheSendersBoardTurned) {
    const Ban sender = boardFromDiagram({"X.O", ".OX", "..X"}, {4, 6});
    const QString text = BuildMoveMsg(sender, {5, 7}, 12, 34);  // white just played
    EXPECT_TRUE(text.endsWith(QStringLiteral(": 12:34")));
    const auto move = parseMoveMsg(text);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->moveNo, 12);
    EXPECT_EQ(move->captured, 34);
    // Field 1's characters joined by "," in the order received.
    QStringList digits;
    for (QChar c : text.mid(kKeyword.size(), kPointCount))
        digits << QString(c);
    EXPECT_EQ(move->positionString, digits.join(u','));
    const auto received = readPosition(move->positionString);
    ASSERT_TRUE(received);
    for (int k = 0; k < kPointCount; ++k)
        EXPECT_EQ(received->ban.at(Point::fromNumber(k)), sender.at(Point::fromNumber(360 - k)))
            << k;
    EXPECT_EQ(received->lastMove, (Point{13, 11}));
    EXPECT_EQ(received->ban.at(13, 11), Stone::White);
}

TEST(GoMoveMessage, NumbersAfterLeadingBlanks) {
    const QString points = QString(kPointCount, u'2');
    const struct {
        const char* tail;
        qint32 moveNo;
        qint32 captured;
    } cases[] = {
        {"1:0", 1, 0},
        {"   7: 5", 7, 5},
        {" 1000000:10000000", 1000000, 10000000},
        {" 3:362", 3, 362},
    };
    for (const auto& c : cases) {
        const auto move = parseMoveMsg(kKeyword + points + u':' + QString::fromLatin1(c.tail));
        ASSERT_TRUE(move) << c.tail;
        EXPECT_EQ(move->moveNo, c.moveNo);
        EXPECT_EQ(move->captured, c.captured);
    }
}

TEST(GoMoveMessage, MalformedMessagesAreRefused) {
    const QString points = QString(100, u'2') + u'9' + QString(260, u'2');
    const QString good = kKeyword + points + QStringLiteral(": 5:3");
    ASSERT_TRUE(parseMoveMsg(good));
    const QString bad[] = {
        QStringLiteral("SYOUGI_MSG2"),
        kKeyword + points,
        kKeyword + points + QStringLiteral(": 5"),
        good + QStringLiteral(":END"),  // nothing after field 3
        good + u':',
        QStringLiteral("SYOUGI_MSG4:") + points + QStringLiteral(": 5:3"),
        QStringLiteral(" SYOUGI_MSG2:") + points + QStringLiteral(": 5:3"),
        kKeyword + points.chopped(1) + QStringLiteral(": 5:3"),  // 360 digits
        kKeyword + points + u'2' + QStringLiteral(": 5:3"),      // 362 digits
        kKeyword + QString(points).replace(0, 1, u'3') + QStringLiteral(": 5:3"),
        kKeyword + QString(points).replace(0, 1, u'8') + QStringLiteral(": 5:3"),  // two marks
        kKeyword + emptyBoardText() + QStringLiteral(": 5:3"),  // the position string form
        kKeyword + points + QStringLiteral(": 0:3"),            // moves count from 1
        kKeyword + points + QStringLiteral(":-1:3"),
        kKeyword + points + QStringLiteral(": 1000001:3"),
        kKeyword + points + QStringLiteral(":99999999999:3"),
        kKeyword + points + QStringLiteral(":  :3"),
        kKeyword + points + QStringLiteral(": 5x:3"),
        kKeyword + points + QStringLiteral(": 5 :3"),
        kKeyword + points + QStringLiteral(": 5:"),
        kKeyword + points + QStringLiteral(": 5:-1"),
        kKeyword + points + QStringLiteral(": 5:10000001"),
        kKeyword + points + QStringLiteral(": 5:3|END"),
    };
    for (const QString& text : bad)
        EXPECT_FALSE(parseMoveMsg(text)) << text.right(30).toStdString();
}

}  // namespace
}  // namespace go
