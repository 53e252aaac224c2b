#include <gtest/gtest.h>

#include <QStringList>

#include "diagram.h"
#include "gorules/positionstring.h"

namespace go {
namespace {

using test::boardFromDiagram;
using test::diagramOf;

// 361 items, all "2" but the given ones.
QString positionWith(std::initializer_list<std::pair<int, const char*>> items) {
    QStringList list(kPointCount, QStringLiteral("2"));
    for (const auto& [k, code] : items)
        list[k] = QString::fromLatin1(code);
    return list.join(u',');
}

TEST(GoPositionString, EmptyBoardText) {
    const QString empty = emptyBoardText();
    EXPECT_EQ(empty, QStringLiteral("2,").repeated(kPointCount).chopped(1));
    const auto read = readPosition(empty);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->ban, Ban());
    EXPECT_FALSE(read->lastMove);
    EXPECT_EQ(Ban().at(0, 0), Stone::Empty);
    EXPECT_EQ(stoneName(Ban().at(0, 19)), u"");  // the wall is neither a stone nor "Dummy"
    EXPECT_EQ(stoneName(Ban().at(19, 0)), u"");
}

TEST(GoPositionString, MarkedStoneIsTheLastMove) {
    // Code 9 at point 40: a black stone at (2, 2), played last.
    const auto black = readPosition(positionWith({{40, "9"}, {0, "1"}}));
    ASSERT_TRUE(black);
    EXPECT_EQ(black->ban, boardFromDiagram({"O..", "...", "..X"})) << diagramOf(black->ban);
    EXPECT_EQ(black->lastMove, (Point{2, 2}));
    // Code 8 is a white stone played last.
    const auto white = readPosition(positionWith({{360, "8"}}));
    ASSERT_TRUE(white);
    EXPECT_EQ(white->ban.at(18, 18), Stone::White);
    EXPECT_EQ(white->lastMove, (Point{18, 18}));
}

TEST(GoPositionString, WrittenBoardsReadBack) {
    const Ban ban = boardFromDiagram({"XO.X", "..O.", "X..."}, {15, 16});
    const QString plain = positionString(ban);
    EXPECT_EQ(plain.size(), 2 * kPointCount - 1);
    const QStringList items = plain.split(u',');
    EXPECT_EQ(items[(Point{15, 16}).number()], u"0");
    EXPECT_EQ(items[(Point{16, 16}).number()], u"1");
    const auto read = readPosition(plain);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->ban, ban) << diagramOf(read->ban);
    EXPECT_FALSE(read->lastMove);

    const struct {
        Point last;
        const char* code;
        std::optional<Point> readLast;
    } marks[] = {
        {{15, 16}, "9", Point{15, 16}},
        {{16, 16}, "8", Point{16, 16}},
        {{17, 16}, "2", std::nullopt},  // an empty point has no stone to mark
    };
    for (const auto& m : marks) {
        const QString marked = positionString(ban, m.last);
        EXPECT_EQ(marked.split(u',')[m.last.number()], QString::fromLatin1(m.code));
        const auto back = readPosition(marked);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->ban, ban);
        EXPECT_EQ(back->lastMove, m.readLast);
    }
}

// What an own move leaves in a game record reads as the same board.
TEST(GoPositionString, RecordLinesHaveTwoDigitCodesAndReadBack) {
    const Ban ban = boardFromDiagram({"XO.X", "..O."}, {0, 0});
    const QString line = recordLine(ban);
    EXPECT_TRUE(line.startsWith(u"00,01,02,00,02"));
    EXPECT_EQ(line.size(), 3 * kPointCount - 1);
    const auto read = readPosition(line);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->ban, ban);
    EXPECT_FALSE(read->lastMove);
}

TEST(GoPositionString, MalformedStringsAreRefused) {
    const QString good = positionWith({{5, "9"}});
    ASSERT_TRUE(readPosition(good));
    const QString bad[] = {
        QString(),
        good.chopped(2),              // 360 items
        good + QStringLiteral(",2"),  // 362 items
        good + u',',                  // an empty last item
        positionWith({{7, "3"}}),     // no such code
        positionWith({{7, "7"}}),
        positionWith({{7, "12"}}),  // two digits only with a leading 0
        positionWith({{7, "002"}}),
        positionWith({{7, " 2"}}),
        positionWith({{7, ""}}),
        positionWith({{7, "a"}}),
        positionWith({{5, "9"}, {6, "8"}}),  // two stones played last
        positionWith({{5, "9"}, {300, "9"}}),
        QString(good).replace(u',', u';'),
        QString(good).replace(0, 1, QStringLiteral("\uFF12")),  // a full-width digit
    };
    for (const QString& text : bad)
        EXPECT_FALSE(readPosition(text)) << text.left(40).toStdString();
}

TEST(GoPositionString, TurnGivesPointKTheCodeOfPoint360MinusK) {
    const QString position = positionWith({{0, "0"}, {288, "9"}, {30, "1"}});
    const auto turned = turnPosition(position);
    ASSERT_TRUE(turned);
    EXPECT_EQ(*turned, positionWith({{360, "0"}, {72, "9"}, {330, "1"}}));
    EXPECT_EQ(turnPosition(*turned), position);
    EXPECT_FALSE(turnPosition(position.chopped(2)));
    EXPECT_FALSE(turnPosition(positionWith({{3, "5"}})));
}

}  // namespace
}  // namespace go
